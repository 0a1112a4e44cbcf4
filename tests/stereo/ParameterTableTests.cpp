// ParameterTableTests.cpp — the one description of Widefield's settings.
//
// The table is what setParameter, getParameter, ResetAll and the panel read, so
// a slip in it (an index twice, a field shared by two settings, a default that
// does not read back, a snapshot that copies the wrong field) shows up here
// before it shows up as a wrong knob.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "stereo/ParameterTable.h"
#include "stereo/uDoubler.h"

using namespace widefield;

namespace {

// Each snapshot field by the name the table gives it.
std::map<std::string, double> fieldsOf(const BlockSettings& s) {
    return {{"invertLeft", s.invertLeft},       {"invertRight", s.invertRight},   {"swapChannels", s.swapChannels},
            {"inputWidth", s.inputWidth},       {"inputRotation", s.inputRotation}, {"centreCut", s.centreCut},
            {"asymmetry", s.asymmetry},         {"bassOn", s.bassOn},             {"bassFrequency", s.bassFrequency},
            {"bassBoost", s.bassBoost},         {"bassWidth", s.bassWidth},       {"delaySamples", s.delaySamples},
            {"pseudoStereo", s.pseudoStereo},   {"outputRotation", s.outputRotation},
            {"outputWidth", s.outputWidth},     {"monoOut", s.monoOut},           {"gainLeft", s.gainLeft},
            {"gainRight", s.gainRight},         {"dcFilterOn", s.dcFilterOn},     {"bypass", s.bypass},
            {"metersOff", s.metersOff}};
}

}  // namespace

TEST(ParameterTable, DescribesEachSettingIndexOnceInOrder) {
    std::set<std::string> fields;
    std::int32_t previous = -1;
    for (const SettingDescription& setting : settingTable()) {
        EXPECT_GT(setting.index, previous) << setting.field;
        previous = setting.index;
        EXPECT_TRUE(fields.insert(setting.field).second) << setting.field << " described twice";
        EXPECT_EQ(findSetting(setting.index), &setting);
        const int members = (setting.onOffField != nullptr) + (setting.continuousField != nullptr) +
                            (setting.samplesField != nullptr);
        EXPECT_EQ(members, 1) << setting.field;
    }
    // The fifteen host parameters and the panel's six, and nothing else.
    EXPECT_EQ(settingTable().size(), 21u);
    for (std::int32_t index = 0; index < ADoubler::kNumParams; ++index) EXPECT_NE(findSetting(index), nullptr);
    for (std::int32_t index : {-1, 16, 22, 23, 40, 50, 57, 108, 150}) EXPECT_EQ(findSetting(index), nullptr) << index;
    EXPECT_EQ(fields, [] {
        std::set<std::string> names;
        for (const auto& field : fieldsOf(BlockSettings{})) names.insert(field.first);
        return names;
    }());
}

TEST(ParameterTable, EveryDefaultReadsBackAsItsHostValue) {
    StereoSettings settings;
    for (const SettingDescription& setting : settingTable())
        EXPECT_EQ(readSetting(settings, setting), setting.defaultValue) << setting.field;
    // Stored values: the neutral positions the chain skips, unit gains, no delay.
    const auto fields = fieldsOf(settings.snapshot());
    EXPECT_EQ(fields.at("gainLeft"), 1.0);
    EXPECT_EQ(fields.at("delaySamples"), 0.0);
    EXPECT_EQ(fields.at("inputWidth"), 0.5);
    EXPECT_EQ(fields.at("bassFrequency"), static_cast<double>(0.1f));
    EXPECT_EQ(fields.at("bypass"), 0.0);
}

TEST(ParameterTable, EachSettingReachesItsOwnSnapshotFieldOnly) {
    for (const SettingDescription& setting : settingTable()) {
        StereoSettings settings;
        const auto before = fieldsOf(settings.snapshot());
        const float value = setting.kind == SettingKind::onOff ? 1.0f : 0.875f;
        storeSetting(settings, setting, value);
        EXPECT_EQ(readSetting(settings, setting), value) << setting.field;
        const auto after = fieldsOf(settings.snapshot());
        for (const auto& [name, old] : before) {
            if (name == setting.field)
                EXPECT_NE(after.at(name), old) << name;
            else
                EXPECT_EQ(after.at(name), old) << name << " moved with " << setting.field;
        }
        // And a reset brings every field back.
        resetSettings(settings);
        EXPECT_EQ(fieldsOf(settings.snapshot()), before) << setting.field;
    }
}
