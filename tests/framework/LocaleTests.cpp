// LocaleTests.cpp — the decimal separator from the user's environment.
//
// The environment is injected. Real locales with other separators are compiled
// for the test with localedef into a folder of its own (LOCPATH), when the
// machine has localedef and the locale sources; otherwise those cases skip.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <map>
#include <string>

#include <unistd.h>

#include "platform/Locale.h"

namespace {

std::map<std::string, std::string>& fakeEnvironment() {
    static std::map<std::string, std::string> variables;
    return variables;
}

const char* readFake(const char* name) {
    const auto found = fakeEnvironment().find(name);
    return found == fakeEnvironment().end() ? nullptr : found->second.c_str();
}

std::string separatorWith(std::map<std::string, std::string> variables) {
    fakeEnvironment() = std::move(variables);
    return platform::decimalSeparatorFrom(readFake);
}

const char kArabicSeparator[] = "\xD9\xAB";  // U+066B, two bytes in UTF-8

}  // namespace

TEST(NumericLocaleName, AllThenNumericThenLangAsNewlocaleReadsThem) {
    fakeEnvironment() = {{"LANG", "de_DE.UTF-8"}};
    EXPECT_EQ(platform::numericLocaleName(readFake), "de_DE.UTF-8");
    fakeEnvironment() = {{"LANG", "de_DE.UTF-8"}, {"LC_NUMERIC", "fr_FR.UTF-8"}};
    EXPECT_EQ(platform::numericLocaleName(readFake), "fr_FR.UTF-8");
    fakeEnvironment() = {{"LANG", "de_DE.UTF-8"}, {"LC_NUMERIC", "fr_FR.UTF-8"}, {"LC_ALL", "C"}};
    EXPECT_EQ(platform::numericLocaleName(readFake), "C");
    // Set but empty counts as not set.
    fakeEnvironment() = {{"LC_ALL", ""}, {"LC_NUMERIC", ""}, {"LANG", "ps_AF.UTF-8"}};
    EXPECT_EQ(platform::numericLocaleName(readFake), "ps_AF.UTF-8");
    fakeEnvironment() = {{"LC_TIME", "de_DE.UTF-8"}};
    EXPECT_EQ(platform::numericLocaleName(readFake), "C");
    EXPECT_EQ(platform::numericLocaleName(nullptr), "C");
}

TEST(DecimalSeparator, PointForTheCLocaleAndForLocalesThatCannotBeOpened) {
    EXPECT_EQ(separatorWith({}), ".");
    EXPECT_EQ(separatorWith({{"LANG", "C.UTF-8"}}), ".");
    EXPECT_EQ(separatorWith({{"LANG", "POSIX"}}), ".");
    EXPECT_EQ(separatorWith({{"LC_ALL", "xx_NOWHERE.UTF-8"}}), ".");
    EXPECT_EQ(separatorWith({{"LC_NUMERIC", "../../etc/passwd"}}), ".");
}

class InstalledLocales : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char folder[] = "/tmp/brisora-locales-XXXXXX";
        if (mkdtemp(folder) == nullptr) return;
        directory = folder;
        for (const char* name : {"de_DE", "ps_AF"}) {
            const std::string command = "localedef -i " + std::string(name) + " -f UTF-8 " + directory + "/" +
                                        name + ".UTF-8 >/dev/null 2>&1";
            if (std::system(command.c_str()) != 0) return;
        }
        setenv("LOCPATH", directory.c_str(), 1);
        ready = true;
    }
    static void TearDownTestSuite() {
        unsetenv("LOCPATH");
        if (!directory.empty()) (void)std::system(("rm -rf " + directory).c_str());
    }
    void SetUp() override {
        if (!ready) GTEST_SKIP() << "localedef or the locale sources are missing";
    }
    static inline std::string directory;
    static inline bool ready = false;
};

TEST_F(InstalledLocales, TheUsersConventionWithoutTouchingTheHostsLocale) {
    const std::string hostLocale = std::setlocale(LC_ALL, nullptr);
    EXPECT_EQ(separatorWith({{"LANG", "de_DE.UTF-8"}}), ",");
    EXPECT_EQ(separatorWith({{"LANG", "de_DE.UTF-8"}, {"LC_NUMERIC", "C"}}), ".");
    EXPECT_EQ(separatorWith({{"LC_NUMERIC", "ps_AF.UTF-8"}}), kArabicSeparator);
    EXPECT_EQ(separatorWith({{"LC_ALL", "de_DE.UTF-8"}, {"LC_NUMERIC", "ps_AF.UTF-8"}}), ",");
    // The process's own locale and its conventions are as they were.
    EXPECT_EQ(std::setlocale(LC_ALL, nullptr), hostLocale);
    EXPECT_STREQ(std::localeconv()->decimal_point, ".");
}

TEST(SeparatorInHostTexts, SeveralBytesAreWrittenWholeAndNeverCut) {
    // Eight bytes at most; a cut falls before the separator, not inside it.
    EXPECT_EQ(platform::withSeparator("440.25", kArabicSeparator, 8), std::string("440") + kArabicSeparator + "25");
    EXPECT_EQ(platform::withSeparator("1234567.25", kArabicSeparator, 8), "1234567");
    EXPECT_EQ(platform::withSeparator("123456.25", kArabicSeparator, 8), std::string("123456") + kArabicSeparator);
    EXPECT_EQ(platform::withSeparator("12345678.5", ",", 8), "12345678");
    EXPECT_EQ(platform::withSeparator("1.00E+20", ",", 8), "1,00E+20");
    EXPECT_EQ(platform::withSeparator("-inf", ",", 8), "-inf");
}
