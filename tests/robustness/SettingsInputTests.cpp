// SettingsInputTests.cpp — Widefield's latency store against what a user's
// machine may hold.
//
// The real store of this platform on a private configuration directory:
// missing, unreadable, unwritable and corrupt values, a value that is no text,
// a FIFO or a device in the value's place, and host programs whose names have
// spaces, non-ASCII characters or 255 characters. In every case the effect is
// created, the latency falls back to 750 (limited to 5..1000 otherwise), saving
// is absorbed, and nothing hangs or crashes. Cases that could block run in a
// child process under a time limit.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "platform/Clock.h"
#include "platform/HostProgram.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"
#include "stereo/uDoubler.h"

namespace {

class SettingsInput : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/brisora-settings-input-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        const char* previous = std::getenv("XDG_CONFIG_HOME");
        if (previous) saved = previous;
        hadPrevious = previous != nullptr;
        setenv("XDG_CONFIG_HOME", root.c_str(), 1);
    }
    void TearDown() override {
        if (hadPrevious)
            setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        const std::string command = "chmod -R u+rwx '" + root + "' 2>/dev/null; rm -rf '" + root + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    std::unique_ptr<widefield::ADoubler> makeEffect(const std::string& hostName) {
        host = std::make_unique<platform::FixedHostProgram>(hostName);
        platform::Services services;
        services.clock = &clock;
        services.settings = &platform::userSettingsStore();
        services.hostProgram = host.get();
        return std::make_unique<widefield::ADoubler>(nullptr, services);
    }
    std::string valuePath(const std::string& hostName) const { return root + "/Brisora/" + hostName + "/Latency"; }
    void writeValue(const std::string& hostName, const std::string& bytes) {
        const std::string directory = root + "/Brisora/" + hostName;
        ASSERT_EQ(std::system(("mkdir -p '" + directory + "'").c_str()), 0);
        std::ofstream file(valuePath(hostName), std::ios::binary);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::string readValue(const std::string& hostName) const {
        std::ifstream file(valuePath(hostName), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
    // Runs `body` in a child process; true when it exits 0 within the limit.
    static bool finishesInTime(void (*body)(const std::string&), const std::string& argument) {
        const pid_t child = fork();
        if (child == 0) {
            body(argument);
            _exit(0);
        }
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        int status = 0;
        while (std::chrono::steady_clock::now() < until) {
            if (waitpid(child, &status, WNOHANG) == child) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        return false;
    }

    platform::ManualClock clock;
    std::unique_ptr<platform::FixedHostProgram> host;
    std::string root, saved;
    bool hadPrevious = false;
};

TEST_F(SettingsInput, MissingValueAndMissingDirectoriesGiveTheDefault) {
    auto effect = makeEffect("host.exe");
    EXPECT_EQ(effect->latency(), 750);
    EXPECT_EQ(readValue("host.exe"), "750");
}

TEST_F(SettingsInput, CorruptValuesAreReplacedByTheDefault) {
    const std::string corrupt[] = {std::string("\x00\x01\x02", 3), std::string("75\0" "0", 4), "\xEF\xBB\xBF" "420",
                                   "420 ms", "1e3", std::string(100000, '7'), "\xff\xfe" "4\0" "2\0", "\n\n\n"};
    for (const std::string& bytes : corrupt) {
        writeValue("host.exe", bytes);
        auto effect = makeEffect("host.exe");
        EXPECT_EQ(effect->latency(), 750) << "stored bytes: " << bytes.substr(0, 20);
        EXPECT_EQ(readValue("host.exe"), "750") << "stored bytes: " << bytes.substr(0, 20);
    }
}

TEST_F(SettingsInput, NumbersOutsideTheRangeAreLimitedAndAFinalLineBreakIsAccepted) {
    writeValue("host.exe", "4000000000");
    EXPECT_EQ(makeEffect("host.exe")->latency(), 750);
    writeValue("host.exe", "999999\n");
    EXPECT_EQ(makeEffect("host.exe")->latency(), 1000);
    writeValue("host.exe", "-7\r\n");
    EXPECT_EQ(makeEffect("host.exe")->latency(), 5);
}

TEST_F(SettingsInput, AValueThatIsNoTextFallsBackAndSavingIsAbsorbed) {
    // A directory stands where the value should be: neither readable nor writable.
    ASSERT_EQ(std::system(("mkdir -p '" + valuePath("host.exe") + "/inner'").c_str()), 0);
    auto effect = makeEffect("host.exe");
    EXPECT_EQ(effect->latency(), 750);
    effect->setParameter(widefield::ADoubler::kSetLatency, 321.0f);
    effect->setParameter(widefield::ADoubler::kSaveLatency, 1.0f);
    EXPECT_EQ(effect->latency(), 321);
}

TEST_F(SettingsInput, AnUnwritableConfigurationDirectoryIsAbsorbed) {
    // A file where the "Brisora" directory belongs: nothing can be created below it.
    std::ofstream(root + "/Brisora") << "not a directory";
    auto effect = makeEffect("host.exe");
    EXPECT_EQ(effect->latency(), 750);
    effect->setParameter(widefield::ADoubler::kSetLatency, 40.0f);
    effect->setParameter(widefield::ADoubler::kSaveLatency, 1.0f);
    effect->setParameter(widefield::ADoubler::kLoadLatency, 1.0f);
    EXPECT_EQ(effect->latency(), 750);
}

TEST_F(SettingsInput, AConfigurationHomeThatDoesNotExistIsAbsorbed) {
    setenv("XDG_CONFIG_HOME", (root + "/missing/deeper").c_str(), 1);
    auto effect = makeEffect("host.exe");
    EXPECT_EQ(effect->latency(), 750);
    setenv("XDG_CONFIG_HOME", "/proc/brisora-cannot-exist", 1);
    EXPECT_EQ(makeEffect("host.exe")->latency(), 750);
}

void constructWidefield(const std::string& hostName) {
    platform::ManualClock clock;
    platform::FixedHostProgram host(hostName);
    platform::Services services;
    services.clock = &clock;
    services.settings = &platform::userSettingsStore();
    services.hostProgram = &host;
    widefield::ADoubler effect(nullptr, services);
    if (effect.latency() != 750) _exit(3);
}

TEST_F(SettingsInput, AFifoOrADeviceInTheValuesPlaceDoesNotHangTheHost) {
    ASSERT_EQ(std::system(("mkdir -p '" + root + "/Brisora/fifo.exe' '" + root + "/Brisora/zero.exe'").c_str()), 0);
    ASSERT_EQ(mkfifo(valuePath("fifo.exe").c_str(), 0600), 0);
    EXPECT_TRUE(finishesInTime(constructWidefield, "fifo.exe")) << "a FIFO as the value blocked the constructor";
    ASSERT_EQ(symlink("/dev/zero", valuePath("zero.exe").c_str()), 0);
    EXPECT_TRUE(finishesInTime(constructWidefield, "zero.exe")) << "/dev/zero as the value";
}

TEST_F(SettingsInput, HostNamesWithSpacesNonAsciiAndFullLength) {
    const std::string names[] = {"my host.exe", "Ünïcødé 音楽 host.exe", std::string(251, 'h') + ".exe",
                                 " leading and trailing ", "semi;colon&amp'quote\".exe", "tab\there.exe"};
    for (const std::string& name : names) {
        auto effect = makeEffect(name);
        EXPECT_EQ(effect->latency(), 750) << name;
        effect->setParameter(widefield::ADoubler::kSetLatency, 123.0f);
        effect->setParameter(widefield::ADoubler::kSaveLatency, 1.0f);
        EXPECT_EQ(makeEffect(name)->latency(), 123) << name;
    }
}

TEST_F(SettingsInput, HostNamesThatCannotNameAFileFallBackWithoutHarm) {
    // 255 non-ASCII characters are 510 bytes, beyond a file name's limit; an
    // empty name, dots and control characters are what an odd host may report.
    std::string wide;
    for (int i = 0; i < 255; ++i) wide += "é";
    const std::string names[] = {wide, std::string(300, 'x'), "", ".", "..", std::string("nul\x01" "char")};
    for (const std::string& name : names) {
        auto effect = makeEffect(name);
        const std::int32_t loaded = effect->latency();
        EXPECT_GE(loaded, 5) << name.size();
        EXPECT_LE(loaded, 1000) << name.size();
        effect->setParameter(widefield::ADoubler::kSetLatency, 77.0f);
        effect->setParameter(widefield::ADoubler::kSaveLatency, 1.0f);
        EXPECT_EQ(effect->latency(), 77);
    }
    // Nothing was written outside the configuration directory.
    EXPECT_NE(access((root + "/../Latency").c_str(), F_OK), 0);
}

}  // namespace
