// Locale.cpp — regional settings lookup.
#include "platform/Locale.h"

#include <cstdlib>

#if defined(_WIN32)
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>
#endif

namespace platform {

namespace {
// A separator longer than this is no separator a locale means (and no text fits it).
constexpr std::size_t kLongestSeparator = 8;

std::string acceptable(const std::string& separator) {
    if (separator.empty() || separator.size() > kLongestSeparator) return ".";
    for (char c : separator)
        if (c == '\0' || (c >= '0' && c <= '9')) return ".";
    return separator;
}
}  // namespace

std::string numericLocaleName(EnvironmentReader environment) {
    if (environment)
        for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
            const char* value = environment(variable);
            if (value && *value) return value;
        }
    return "C";
}

std::string radixOfLocale(const std::string& name) {
#if defined(_WIN32)
    (void)name;
    return ".";
#else
    // A locale object of our own: setlocale would change the host's.
    const locale_t numeric = newlocale(LC_NUMERIC_MASK, name.c_str(), static_cast<locale_t>(0));
    if (numeric == static_cast<locale_t>(0)) return ".";
    const char* radix = nl_langinfo_l(RADIXCHAR, numeric);
    std::string separator = radix ? radix : "";
    freelocale(numeric);
    return acceptable(separator);
#endif
}

std::string decimalSeparatorFrom(EnvironmentReader environment) {
    return radixOfLocale(numericLocaleName(environment));
}

std::string withSeparator(std::string number, std::string_view separator, std::size_t limit) {
    const std::size_t point = number.find('.');
    if (point != std::string::npos) number.replace(point, 1, separator.data(), separator.size());
    if (number.size() > limit) {
        const bool insideSeparator = point != std::string::npos && point < limit && point + separator.size() > limit;
        number.resize(insideSeparator ? point : limit);
    }
    return number;
}

std::string decimalSeparator() {
#if defined(_WIN32)
    wchar_t wide[kLongestSeparator] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, wide, static_cast<int>(kLongestSeparator)) > 1) {
        char text[4 * kLongestSeparator] = {};
        const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        if (length > 1) return acceptable(std::string(text, static_cast<std::size_t>(length - 1)));
    }
    return ".";
#else
    // The environment of a running process does not change its numeric
    // convention, and opening a locale reads files: once is enough.
    static const std::string separator = decimalSeparatorFrom([](const char* name) -> const char* {
        return std::getenv(name);
    });
    return separator;
#endif
}

}  // namespace platform
