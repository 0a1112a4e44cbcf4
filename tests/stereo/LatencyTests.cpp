// LatencyTests.cpp — the latency per host program, the settings stores and the
// host program's name.
#include "tests/stereo/EffectFixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "stereo/LatencyStore.h"

using namespace widefield;
using widefield::testing::EffectTest;

namespace {

const char kKey[] = "software\\Brisora\\host.exe\\Latency";

class Latency : public EffectTest {
protected:
    std::int32_t loadWith(const char* stored) {
        store.values[kKey] = stored;
        effect = makeEffect();
        return effect->latency();
    }
};

}  // namespace

TEST_F(Latency, FirstRunWritesTheDefault) {
    EXPECT_EQ(effect->latency(), 750);
    EXPECT_EQ(store.values.at(kKey), "750");
}

TEST_F(Latency, StoredTextThatIsNoNumberIsReplaced) {
    for (const char* bad : {"abc", "", "12x", "-", " 40", "99999999999"}) {
        EXPECT_EQ(loadWith(bad), 750) << '"' << bad << '"';
        EXPECT_EQ(store.values.at(kKey), "750") << '"' << bad << '"';
    }
}

TEST_F(Latency, StoredNumbersAreLimitedInMemoryOnly) {
    EXPECT_EQ(loadWith("2000"), 1000);
    EXPECT_EQ(store.values.at(kKey), "2000");
    EXPECT_EQ(loadWith("3"), 5);
    EXPECT_EQ(store.values.at(kKey), "3");
    EXPECT_EQ(loadWith("-40"), 5);
    EXPECT_EQ(loadWith("+420"), 420);
}

TEST_F(Latency, TwoHostProgramsKeepTheirOwnValues) {
    set(ADoubler::kSetLatency, 120.0f);
    set(ADoubler::kSaveLatency, 1.0f);
    platform::FixedHostProgram other("other.exe");
    platform::Services services;
    services.clock = &clock;
    services.settings = &store;
    services.hostProgram = &other;
    ADoubler* second = new ADoubler(nullptr, services);
    EXPECT_EQ(second->latency(), 750);
    second->setParameter(ADoubler::kSetLatency, 900.0f);
    second->setParameter(ADoubler::kSaveLatency, 1.0f);
    delete second;
    EXPECT_EQ(store.values.at(kKey), "120");
    EXPECT_EQ(store.values.at("software\\Brisora\\other.exe\\Latency"), "900");
    set(ADoubler::kSetLatency, 10.0f);
    set(ADoubler::kLoadLatency, 1.0f);
    EXPECT_EQ(effect->latency(), 120);
}

TEST_F(Latency, AStoreThatRefusesWritesIsAbsorbed) {
    store.values.clear();
    store.readOnly = true;
    effect = makeEffect();
    EXPECT_EQ(effect->latency(), 750);
    set(ADoubler::kSetLatency, 333.0f);
    set(ADoubler::kSaveLatency, 1.0f);
    EXPECT_EQ(effect->latency(), 333);
    EXPECT_TRUE(store.values.empty());
}

TEST(LatencyText, ParsesSignedDecimalIntegersOnly) {
    std::int32_t value = 0;
    EXPECT_TRUE(parseLatency("2147483647", value));
    EXPECT_EQ(value, 2147483647);
    EXPECT_TRUE(parseLatency("-2147483648", value));
    EXPECT_EQ(value, INT32_MIN);
    EXPECT_FALSE(parseLatency("2147483648", value));
    EXPECT_FALSE(parseLatency("0x10", value));
    EXPECT_FALSE(parseLatency("1.5", value));
    EXPECT_FALSE(parseLatency("+", value));
}

// The real store of this platform, on a temporary configuration directory.
class UserSettingsFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/widefield-settings-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory = pattern;
        const char* previous = std::getenv("XDG_CONFIG_HOME");
        hadPrevious = previous != nullptr;
        if (previous) saved = previous;
        setenv("XDG_CONFIG_HOME", directory.c_str(), 1);
    }
    void TearDown() override {
        if (hadPrevious)
            setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        std::string command = "rm -rf '" + directory + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
    std::string readFile(const std::string& path) {
        std::ifstream file(path);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::string directory, saved;
    bool hadPrevious = false;
};

TEST_F(UserSettingsFiles, WritesOneFilePerValueAlongTheKeyPath) {
    platform::SettingsStore& store = platform::userSettingsStore();
    std::string value;
    EXPECT_FALSE(store.readText(latencyKey("host.exe"), "Latency", value));
    EXPECT_TRUE(store.writeText(latencyKey("host.exe"), "Latency", "640"));
    EXPECT_EQ(readFile(directory + "/Brisora/host.exe/Latency"), "640");
    ASSERT_TRUE(store.readText(latencyKey("host.exe"), "Latency", value));
    EXPECT_EQ(value, "640");
    EXPECT_TRUE(store.writeText(latencyKey("host.exe"), "Latency", "20"));
    ASSERT_TRUE(store.readText(latencyKey("host.exe"), "Latency", value));
    EXPECT_EQ(value, "20");
    // A name that would leave the directory is refused.
    EXPECT_FALSE(store.writeText(latencyKey(".."), "Latency", "1"));
    EXPECT_FALSE(store.writeText(latencyKey("host.exe"), "../x", "1"));
}

TEST_F(UserSettingsFiles, EffectLoadsAndSavesThroughTheRealStore) {
    platform::ManualClock clock;
    platform::FixedHostProgram host("daw");
    platform::Services services;
    services.clock = &clock;
    services.settings = &platform::userSettingsStore();
    services.hostProgram = &host;
    auto effect = std::make_unique<ADoubler>(nullptr, services);
    EXPECT_EQ(effect->latency(), 750);
    EXPECT_EQ(readFile(directory + "/Brisora/daw/Latency"), "750");
    effect->setParameter(ADoubler::kSetLatency, 85.0f);
    effect->setParameter(ADoubler::kSaveLatency, 1.0f);
    EXPECT_EQ(readFile(directory + "/Brisora/daw/Latency"), "85");
    // A value that cannot be written (a directory stands in its place): the
    // effect goes on with what it has, and loading falls back to the default.
    const std::string value = directory + "/Brisora/daw/Latency";
    ASSERT_EQ(unlink(value.c_str()), 0);
    ASSERT_EQ(mkdir(value.c_str(), 0700), 0);
    ASSERT_TRUE(std::ofstream(value + "/keep").good());
    effect->setParameter(ADoubler::kSetLatency, 86.0f);
    effect->setParameter(ADoubler::kSaveLatency, 1.0f);
    EXPECT_EQ(effect->latency(), 86);
    effect->setParameter(ADoubler::kLoadLatency, 1.0f);
    EXPECT_EQ(effect->latency(), 750);
}

TEST(HostProgramName, IsTheExecutableFileNameWithoutDirectory) {
    EXPECT_EQ(platform::systemHostProgram().fileName(), "widefield_tests");
}
