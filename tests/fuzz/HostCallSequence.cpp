// HostCallSequence.cpp — the host a fuzzer plays.
//
// Each step of the input picks one host action: any dispatcher opcode from -5
// to 80 with random index (for the parameter questions mostly near the
// parameters), value, opt and a text buffer or null pointer;
// setParameter / getParameter on indices -10 to 200 with hostile values;
// process / processReplacing with 0 to 70000 frames of random, huge, subnormal
// or non-finite samples (sometimes in place); sample-rate and block-size
// changes; effMainsChanged; editor open, idle and close; clock steps. effClose
// ends every sequence.
//
// Rules checked after every step:
//   1. getParameter gives a finite value on every index touched and on the
//      plug-in's own indices.
//   2. Widefield: a switch reads 1.0 exactly when set with 1.0, else 0.0; a
//      continuous setting keeps a value in 0..1 as it is, stays in 0..1 for any
//      other finite value and is left as it was by a non-finite one; unlisted
//      indices and commands read 0.0. Tonemark: a non-finite value leaves the
//      setting as it was; indices other than 0 and 1 read 0.0.
//   3. Outputs are finite whenever the input block was finite and the sequence
//      is at least one non-empty finite block past its last non-finite sample.
//   4. Text requests write no further than the host-text limits, and unknown
//      opcodes leave the buffer alone. A parameter's name, unit and value text
//      ends within 8 characters; an index outside the parameters gets nothing
//      written, and every parameter has a name.
//   5. effCanBeAutomated answers 1 exactly for Widefield's host parameters.
//   6. effSetChunk, given the plug-in's own chunk cut, noised, bit-flipped, with
//      lying counts and sizes or hostile values, answers 0 or 1, reads nothing
//      beyond what it was given (the sanitizers see to that) and leaves rules
//      1 to 3 standing; effGetChunk hands out a whole chunk of its own.
#include "tests/fuzz/HostCallSequence.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "tests/fuzz/ByteReader.h"

namespace hostfuzz {
namespace {

using hardening::ParameterKind;
using hardening::PluginKind;

constexpr std::int32_t kMaxFrames = 70000;
constexpr std::size_t kTextBufferSize = 512;
constexpr unsigned char kUntouched = 0xA5;
constexpr int kMaxSteps = 400;

[[noreturn]] void fail(const PluginKind& plugin, int step, const std::string& what) {
    std::fprintf(stderr, "host-call fuzz: %s, step %d: %s\n", plugin.name, step, what.c_str());
    std::fflush(stderr);
    std::abort();
}

// BRISORA_FUZZ_TRACE=1 prints every call, to read a saved input step by step.
bool tracing() {
    static const bool on = std::getenv("BRISORA_FUZZ_TRACE") != nullptr;
    return on;
}
void trace(const char* format, ...) {
    if (!tracing()) return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
}

float interestingFloat(ByteReader& reader) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    static const float table[] = {0.0f, -0.0f, 1.0f, 0.5f, 2.0f, 0.999f, -1.0f, 1e30f, -1e30f, 1e-40f, -1e-40f,
                                  1.17549435e-38f, nan, inf, -inf, 0.25f, 0.75f, 440.0f, 440.5f, 425.0f, 453.0f,
                                  3.0f, 4.0f, 5.0f, 1000.0f, 750.0f, 1e9f, -1e9f, 2147483648.0f, -2147483904.0f,
                                  0.1f, 1.0000001f};
    const std::uint8_t pick = reader.byte();
    constexpr std::size_t count = sizeof table / sizeof table[0];
    if (pick < 2 * count) return table[pick % count];
    if (pick < 230) return static_cast<float>(reader.u16()) / 65535.0f;  // anywhere in 0..1
    return reader.rawFloat();                                          // any bit pattern
}

float interestingRate(ByteReader& reader) {
    static const float table[] = {44100.0f, 48000.0f, 96000.0f, 192000.0f, 22050.0f, 8000.0f, 11025.0f, 1.0f};
    const std::uint8_t pick = reader.byte();
    if (pick < 160) return table[pick % 8];
    return interestingFloat(reader);
}

struct Buffers {
    hardening::StereoBlock input{kMaxFrames};
    hardening::StereoBlock output{kMaxFrames};
};

Buffers& buffers() {
    static Buffers shared;
    return shared;
}

// Fills the input channels; returns whether every sample is finite.
bool fillInput(ByteReader& reader, float* left, float* right, std::int32_t frames) {
    const std::uint8_t mode = reader.byte() % 6;
    std::uint32_t state = reader.u32() | 1u;
    static const float amplitudes[] = {1.0f, 1e-40f, 1e-30f, 1e10f, 1e30f, 0.001f};
    const float amplitude = amplitudes[reader.byte() % 6];
    for (std::int32_t i = 0; i < frames; ++i) {
        float l = 0.0f;
        float r = 0.0f;
        if (mode != 0) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            l = static_cast<float>((static_cast<double>(state & 0xFFFF) / 32767.5 - 1.0) * amplitude);
            r = mode == 1 ? l : static_cast<float>((static_cast<double>(state >> 16) / 32767.5 - 1.0) * amplitude);
        }
        left[i] = l;
        right[i] = r;
    }
    bool finite = true;
    if (mode >= 4 && frames > 0) {
        // A few hostile samples at chosen places.
        const int count = 1 + reader.byte() % 4;
        for (int k = 0; k < count; ++k) {
            const std::int32_t at = static_cast<std::int32_t>(reader.range(0, frames - 1));
            static const float hostile[] = {std::numeric_limits<float>::quiet_NaN(),
                                            std::numeric_limits<float>::infinity(),
                                            -std::numeric_limits<float>::infinity(),
                                            -std::numeric_limits<float>::quiet_NaN()};
            (reader.byte() & 1 ? left : right)[at] = hostile[reader.byte() % 4];
        }
    }
    for (std::int32_t i = 0; i < frames && finite; ++i) finite = std::isfinite(left[i]) && std::isfinite(right[i]);
    return finite;
}

std::int32_t pickFrames(ByteReader& reader) {
    const std::uint8_t size = reader.byte();
    // Mostly host-sized blocks; the huge ones are rare, as they are slow under the sanitizers.
    if (size < 120) return static_cast<std::int32_t>(reader.range(0, 64));
    if (size < 240) return static_cast<std::int32_t>(reader.range(0, 4096));
    if (size < 252) return static_cast<std::int32_t>(reader.range(0, kMaxFrames));
    return size == 252 ? kMaxFrames : 0;
}

class Player {
public:
    Player(const PluginKind& plugin, const std::uint8_t* data, std::size_t size)
        : plugin(plugin), reader(data, size), instance(plugin, services.get()) {}

    std::uint64_t play() {
        if (!instance.valid()) fail(plugin, 0, "the instance was refused");
        checkAllParameters(-10, 200);
        for (step = 1; step <= kMaxSteps && !reader.empty(); ++step) playStep();
        if (editorOpen && (reader.byte() & 1)) instance.closeEditor();  // sometimes closed by effClose alone
        instance.close();
        return hash;
    }

private:
    void mix(std::uint64_t value) {
        hash ^= value;
        hash *= 1099511628211ull;
    }

    void playStep() {
        const std::uint8_t action = reader.byte() % 16;
        mix(action);
        switch (action) {
            case 0: case 1: dispatchAny(); break;
            case 2: case 3: case 4: setParameter(); break;
            case 5: getParameter(); break;
            case 6: case 7: processBlock(false); break;
            case 8: case 9: processBlock(true); break;
            case 10: {
                const float rate = interestingRate(reader);
                trace("%d: effSetSampleRate %g\n", step, static_cast<double>(rate));
                instance.dispatch(effSetSampleRate, 0, 0, nullptr, rate);
                break;
            }
            case 11: instance.dispatch(effSetBlockSize, 0, static_cast<VstIntPtr>(reader.range(-5, kMaxFrames))); break;
            case 12: instance.dispatch(effMainsChanged, 0, static_cast<VstIntPtr>(reader.range(-1, 2))); break;
            case 13: openEditor(); break;
            case 14: idle(); break;
            case 15: if (editorOpen || (reader.byte() & 1)) closeEditor(); break;
        }
        checkAllParameters(0, 24);
    }

    void dispatchAny() {
        std::int32_t opcode = static_cast<std::int32_t>(reader.range(-5, 80));
        if (opcode == effClose) opcode = effIdentify;  // effClose comes last, once
        if (opcode == effEditOpen) return openEditor();
        if (opcode == effEditClose) return closeEditor();
        if (opcode == effGetChunk || opcode == effSetChunk) return exchangeChunk(opcode == effSetChunk);
        std::int32_t index = static_cast<std::int32_t>(reader.range(-10, 200));
        // Parameter questions mostly about the parameters and their edges.
        if (isParameterQuery(opcode) && index > 100) index = index % (plugin.numParams + 4) - 2;
        const VstIntPtr value = static_cast<VstIntPtr>(static_cast<std::int32_t>(reader.u32()));
        const float opt = interestingFloat(reader);
        const bool withBuffer = reader.byte() % 4 != 0;
        mix(static_cast<std::uint64_t>(opcode) << 8 | static_cast<std::uint64_t>(withBuffer));
        trace("%d: dispatcher(%d, %d, %lld, %s, %g)\n", step, opcode, index, static_cast<long long>(value),
              withBuffer ? "text" : "null", static_cast<double>(opt));
        std::memset(text, kUntouched, sizeof text);
        if (opcode == effSetProgramName && withBuffer) {
            // A host name of any length, possibly longer than any field.
            const std::size_t length = static_cast<std::size_t>(reader.range(0, kTextBufferSize - 1));
            for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<char>(32 + reader.byte() % 200);
            text[length] = '\0';
        }
        const VstIntPtr result = instance.dispatch(opcode, index, value, withBuffer ? text : nullptr, opt);
        const bool ownParameter = index >= 0 && index < plugin.numParams;
        if (opcode == effCanBeAutomated) {
            const VstIntPtr expected = automatable(index) ? 1 : 0;
            if (result != expected)
                fail(plugin, step, "effCanBeAutomated(" + std::to_string(index) + ") answered " +
                                       std::to_string(static_cast<long long>(result)));
        }
        if (!withBuffer) return;
        std::size_t limit = kTextBufferSize;
        if (opcode == effGetProgramName) limit = kMaxProgramNameLength + 1;
        if (isParameterText(opcode)) limit = ownParameter ? kMaxParameterTextLength + 1 : 0;
        if (opcode < 0 || opcode > effIdentify) limit = 0;
        if (opcode == effSetProgramName) return;
        if (opcode == effEditGetRect) limit = sizeof(void*);
        for (std::size_t i = limit; i < kTextBufferSize; ++i)
            if (static_cast<unsigned char>(text[i]) != kUntouched)
                fail(plugin, step, "opcode " + std::to_string(opcode) + " wrote byte " + std::to_string(i) +
                                       " of the host's buffer");
        if (limit > 0 && limit <= kMaxProgramNameLength + 1 && std::memchr(text, '\0', limit) == nullptr)
            fail(plugin, step, "opcode " + std::to_string(opcode) + " left its text without a terminating zero");
        if (opcode == effGetParamName && ownParameter && text[0] == '\0')
            fail(plugin, step, "parameter " + std::to_string(index) + " has no name");
    }

    static bool isParameterText(std::int32_t opcode) {
        return opcode == effGetParamLabel || opcode == effGetParamDisplay || opcode == effGetParamName;
    }
    static bool isParameterQuery(std::int32_t opcode) { return isParameterText(opcode) || opcode == effCanBeAutomated; }
    // Widefield's host parameters carry 0..1 values a host may automate; Tonemark's carry their own units.
    bool automatable(std::int32_t index) const {
        return plugin.uniqueID == fourCharCode('W', 'd', 'F', 'd') && index >= 0 && index < plugin.numParams;
    }

    void setParameter() {
        const std::uint8_t pick = reader.byte();
        std::int32_t index;
        if (pick < 200) {
            index = plugin.settingIndices[pick % plugin.settingIndices.size()];
        } else {
            index = static_cast<std::int32_t>(reader.range(-10, 200));
        }
        const float value = interestingFloat(reader);
        mix(static_cast<std::uint64_t>(index + 10) << 32 | floatBits(value));
        const float before = instance.get(index);
        trace("%d: setParameter(%d, %g)\n", step, index, static_cast<double>(value));
        instance.set(index, value);
        checkSetting(index, value, before);
        if (plugin.kindOf(index) == ParameterKind::command) checkAllParameters(-10, 200);
    }

    // A host that keeps the state as bytes: takes the chunk, and hands back a
    // mutation of it in memory of exactly the size it says.
    void exchangeChunk(bool give) {
        const std::int32_t index = static_cast<std::int32_t>(reader.range(-1, 2));
        void* data = nullptr;
        const VstIntPtr size = instance.dispatch(effGetChunk, index, 0, &data);
        mix(0xC0 | (give ? 1u : 0u));
        if (size < 0 || (size > 0) != (data != nullptr))
            fail(plugin, step, "effGetChunk answered " + std::to_string(static_cast<long long>(size)));
        std::vector<std::uint8_t> bytes;
        if (size > 0) bytes.assign(static_cast<const std::uint8_t*>(data), static_cast<const std::uint8_t*>(data) + size);
        if (bytes.size() >= 16 && std::memcmp(bytes.data(), "BrSt", 4) != 0)
            fail(plugin, step, "effGetChunk handed out bytes of another format");
        if (!give) return;
        const int mutations = reader.byte() % 6;
        for (int m = 0; m < mutations; ++m) {
            const std::uint8_t kind = reader.byte() % 5;
            const std::size_t at = bytes.empty() ? 0 : static_cast<std::size_t>(reader.u16()) % bytes.size();
            if (kind == 0) {
                bytes.resize(static_cast<std::size_t>(reader.range(0, static_cast<std::int64_t>(bytes.size()) + 8)));
            } else if (kind == 1 && !bytes.empty()) {
                bytes[at] ^= static_cast<std::uint8_t>(1u << (reader.byte() % 8));
            } else if (kind == 2 && !bytes.empty()) {
                bytes[at] = reader.byte();
            } else if (kind == 3 && bytes.size() >= 16) {
                // A count or a name length that lies, or a hostile value, in whole words.
                const std::size_t word = 4 * (static_cast<std::size_t>(reader.byte()) % (bytes.size() / 4));
                const float value = interestingFloat(reader);
                const std::uint32_t bits = reader.byte() & 1 ? floatBits(value) : reader.u32();
                std::memcpy(&bytes[word], &bits, 4);
            } else if (kind == 4) {
                bytes.push_back(reader.byte());
            }
        }
        trace("%d: effSetChunk(%d, %zu bytes)\n", step, index, bytes.size());
        // The host's own copy, of the size it gives: a read past it is the plug-in's fault.
        std::vector<std::uint8_t> given(bytes);
        const VstIntPtr answer = instance.dispatch(effSetChunk, index, static_cast<VstIntPtr>(given.size()),
                                                   given.empty() ? nullptr : given.data());
        if (answer != 0 && answer != 1)
            fail(plugin, step, "effSetChunk answered " + std::to_string(static_cast<long long>(answer)));
        checkAllParameters(-10, 200);
    }

    void getParameter() {
        const std::int32_t index = static_cast<std::int32_t>(reader.range(-10, 200));
        mix(static_cast<std::uint64_t>(index + 10));
        checkFinite(index, instance.get(index));
    }

    void processBlock(bool replacing) {
        Buffers& shared = buffers();
        const std::int32_t frames = pickFrames(reader);
        const bool inPlace = (reader.byte() & 3) == 0;
        mix(static_cast<std::uint64_t>(frames) << 4 | (replacing ? 2u : 0u) | (inPlace ? 1u : 0u));
        float* inputs[2] = {shared.input.left.data(), shared.input.right.data()};
        float* outputs[2] = {shared.output.left.data(), shared.output.right.data()};
        if (inPlace) {
            outputs[0] = inputs[0];
            outputs[1] = inputs[1];
        }
        const bool inputFinite = fillInput(reader, inputs[0], inputs[1], frames);
        if (!replacing && !inPlace) {
            // What the host's bus already holds: finite, often silence.
            const float level = (reader.byte() & 1) ? 0.25f : 0.0f;
            for (std::int32_t i = 0; i < frames; ++i) outputs[0][i] = outputs[1][i] = level;
        } else if (!replacing) {
            // In place, the accumulating path adds the input to itself.
        } else {
            for (std::int32_t i = 0; i < frames; ++i) outputs[0][i] = outputs[1][i] = 12345.0f;
        }
        trace("%d: %s(%d frames%s), input %s\n", step, replacing ? "processReplacing" : "process", frames,
              inPlace ? ", in place" : "", inputFinite ? "finite" : "with non-finite samples");
        if (replacing) {
            instance.processReplacing(inputs, outputs, frames);
        } else {
            instance.process(inputs, outputs, frames);
        }
        if (!inputFinite) {
            settled = false;
            return;
        }
        if (frames == 0) return;
        if (settled) {
            for (std::int32_t i = 0; i < frames; ++i)
                if (!std::isfinite(outputs[0][i]) || !std::isfinite(outputs[1][i]))
                    fail(plugin, step, std::string(replacing ? "processReplacing" : "process") +
                                           " gave a non-finite output at frame " + std::to_string(i) + " of " +
                                           std::to_string(frames) + " from finite input");
        }
        settled = true;
    }

    void openEditor() {
        trace("%d: effEditOpen\n", step);
        mix(0x0E);
        instance.openEditor();
        editorOpen = true;
    }
    void closeEditor() {
        trace("%d: effEditClose\n", step);
        mix(0x0C);
        instance.closeEditor();
        editorOpen = false;
    }
    void idle() {
        const std::uint32_t milliseconds = static_cast<std::uint32_t>(reader.range(0, 1500));
        mix(0x1D00000000ull | milliseconds);
        trace("%d: idle after %u ms\n", step, milliseconds);
        services.clock.advance(milliseconds);
        services.idleWindows();
        instance.idleEditor();
    }

    void checkFinite(std::int32_t index, float value) {
        if (!std::isfinite(value))
            fail(plugin, step, "getParameter(" + std::to_string(index) + ") = " + std::to_string(value));
    }

    void checkAllParameters(std::int32_t from, std::int32_t to) {
        for (std::int32_t index = from; index <= to; ++index) {
            const float value = instance.get(index);
            checkFinite(index, value);
            checkRange(index, value);
        }
    }

    // The value every kind of index may read back at any time.
    void checkRange(std::int32_t index, float value) {
        const ParameterKind kind = plugin.kindOf(index);
        const bool widefield = plugin.numParams == 15;
        if (kind == ParameterKind::none || kind == ParameterKind::command) {
            if (value != 0.0f) fail(plugin, step, "unlisted index " + std::to_string(index) + " reads " +
                                                      std::to_string(value));
            return;
        }
        if (!widefield) return;
        if (kind == ParameterKind::switchValue && value != 0.0f && value != 1.0f)
            fail(plugin, step, "switch " + std::to_string(index) + " reads " + std::to_string(value));
        if ((kind == ParameterKind::unitRange || kind == ParameterKind::unitDerived) && !(value >= 0.0f && value <= 1.0f))
            fail(plugin, step, "setting " + std::to_string(index) + " reads " + std::to_string(value) +
                                   ", outside 0..1");
    }

    void checkSetting(std::int32_t index, float value, float before) {
        const float after = instance.get(index);
        checkFinite(index, after);
        checkRange(index, after);
        const ParameterKind kind = plugin.kindOf(index);
        const std::string what = "setParameter(" + std::to_string(index) + ", " + std::to_string(value) + ")";
        if (kind == ParameterKind::switchValue && std::isfinite(value)) {
            const float expected = value == 1.0f ? 1.0f : 0.0f;
            if (after != expected) fail(plugin, step, what + " reads back " + std::to_string(after));
        }
        if (kind == ParameterKind::unitRange && value >= 0.0f && value <= 1.0f && after != value)
            fail(plugin, step, what + " reads back " + std::to_string(after));
        if ((kind == ParameterKind::unitRange || kind == ParameterKind::unitDerived ||
             kind == ParameterKind::ownUnits) &&
            !std::isfinite(value) && floatBits(after) != floatBits(before))
            fail(plugin, step, what + " changed the setting from " + std::to_string(before) + " to " +
                                   std::to_string(after));
    }

    static std::uint64_t floatBits(float value) {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        return bits;
    }

    const PluginKind& plugin;
    ByteReader reader;
    hardening::HarnessServices services;
    hardening::Instance instance;
    alignas(16) char text[kTextBufferSize];
    bool editorOpen = false;
    bool settled = true;
    int step = 0;
    std::uint64_t hash = 1469598103934665603ull;
};

}  // namespace

std::uint64_t runHostCallSequence(const PluginKind& plugin, const std::uint8_t* data, std::size_t size) {
    Player player(plugin, data, size);
    return player.play();
}

const PluginKind* findPlugin(const char* name) {
    if (name == nullptr) return nullptr;
    for (const auto& plugin : hardening::plugins()) {
        std::string lower;
        for (const char* c = plugin.name; *c; ++c) lower += static_cast<char>(*c >= 'A' && *c <= 'Z' ? *c + 32 : *c);
        if (lower == name || std::string(plugin.name) == name) return &plugin;
    }
    return nullptr;
}

}  // namespace hostfuzz
