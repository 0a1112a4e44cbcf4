// InfoCommand.cpp — `plughost info`: everything the record and the dispatcher
// tell about a plug-in, in the order a host would ask.
//
//   1. main, then the record as construction left it
//   2. effOpen, sample rate and block size, effIdentify
//   3. program number and name, parameters with value, texts and automatability
//   4. editor rectangle, effClose
#include <cstdio>
#include <string>

#include "tools/plughost/Commands.h"
#include "tools/plughost/HostCallback.h"
#include "tools/plughost/PluginInstance.h"
#include "tools/plughost/Report.h"

namespace plughost {
namespace {

std::string flagNames(std::int32_t flags) {
    static const struct {
        std::int32_t bit;
        const char* name;
    } known[] = {{effFlagsHasEditor, "effFlagsHasEditor"},
                 {effFlagsHasClip, "effFlagsHasClip"},
                 {effFlagsHasVu, "effFlagsHasVu"},
                 {effFlagsCanMono, "effFlagsCanMono"},
                 {effFlagsCanReplacing, "effFlagsCanReplacing"}};
    std::string names;
    std::int32_t rest = flags;
    for (const auto& flag : known) {
        if (flags & flag.bit) {
            names += (names.empty() ? "" : " ") + std::string(flag.name);
            rest &= ~flag.bit;
        }
    }
    if (rest) names += (names.empty() ? "" : " ") + std::string("unknown:") + hex32(rest);
    return names.empty() ? "none" : names;
}

}  // namespace

int runInfo(const Options& options) {
    if (options.positional.size() != 1) {
        std::fprintf(stderr, "plughost: info takes one plug-in path\n");
        return kExitUsage;
    }
    const std::string& path = options.positional[0];
    int status = kExitOk;
    auto instance = openInstance(path, status);
    if (!instance) return status;
    AEffect* e = instance->effect();

    Report report;
    report.text("plugin", path);
    report.integer("host.bits", static_cast<long long>(sizeof(void*) * 8));
    report.integer("host.version", options.hostVersion);
    report.integer("record.size", static_cast<long long>(sizeof(AEffect)));
    report.text("magic", hex32(e->magic));
    report.text("magicText", fourCharText(e->magic));
    report.integer("numPrograms", e->numPrograms);
    report.integer("numParams", e->numParams);
    report.integer("numInputs", e->numInputs);
    report.integer("numOutputs", e->numOutputs);
    report.integer("flags", e->flags);
    report.text("flagNames", flagNames(e->flags));
    report.text("uniqueID", hex32(e->uniqueID));
    report.text("uniqueIDText", fourCharText(e->uniqueID));
    report.integer("version", e->version);
    report.integer("initialDelay", e->initialDelay);
    report.integer("realQualities", e->realQualities);
    report.integer("offQualities", e->offQualities);
    report.number("ioRatio", e->ioRatio);
    report.boolean("objectSet", e->object != nullptr);
    report.boolean("entriesSet", e->dispatcher && e->process && e->setParameter && e->getParameter &&
                                     e->processReplacing);

    instance->dispatch(effOpen);
    instance->dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(options.rate));
    instance->dispatch(effSetBlockSize, 0, options.block);
    VstIntPtr identify = instance->dispatch(effIdentify);
    report.text("identify", hex32(static_cast<std::int32_t>(identify)));
    report.text("identifyText", fourCharText(static_cast<std::int32_t>(identify)));
    report.integer("program", static_cast<long long>(instance->dispatch(effGetProgram)));
    report.text("programName", instance->text(effGetProgramName));
    report.integer("vu", static_cast<long long>(instance->dispatch(effGetVu)));

    for (const ParameterSetting& setting : options.parameters) instance->setParameter(setting.index, setting.value);
    for (std::int32_t i = 0; i < e->numParams && i < 10000; ++i) {
        std::string key = "param." + std::to_string(i);
        report.integer(key + ".index", i);
        report.number(key + ".value", instance->getParameter(i));
        report.text(key + ".name", instance->text(effGetParamName, i));
        report.text(key + ".label", instance->text(effGetParamLabel, i));
        report.text(key + ".display", instance->text(effGetParamDisplay, i));
        report.integer(key + ".automatable", static_cast<long long>(instance->dispatch(effCanBeAutomated, i)));
    }

    ERect* rect = nullptr;
    VstIntPtr rectResult = instance->dispatch(effEditGetRect, 0, 0, &rect);
    report.integer("editor.getRect", static_cast<long long>(rectResult));
    if (rect) {
        report.integer("editor.top", rect->top);
        report.integer("editor.left", rect->left);
        report.integer("editor.bottom", rect->bottom);
        report.integer("editor.right", rect->right);
        report.integer("editor.width", rect->right - rect->left);
        report.integer("editor.height", rect->bottom - rect->top);
    } else {
        report.text("editor.rect", "none");
    }

    report.integer("close", static_cast<long long>(instance->close()));
    report.integer("hostCalls", hostCallCount());
    report.print(options.json);
    return kExitOk;
}

}  // namespace plughost
