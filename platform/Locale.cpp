// Locale.cpp — regional settings lookup.
#include "platform/Locale.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <clocale>
#endif

namespace platform {

char decimalSeparator() {
#if defined(_WIN32)
    char buffer[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer) > 0 && buffer[0] != '\0')
        return buffer[0];
    return '.';
#else
    const std::lconv* conventions = std::localeconv();
    if (conventions && conventions->decimal_point && conventions->decimal_point[0] != '\0')
        return conventions->decimal_point[0];
    return '.';
#endif
}

}  // namespace platform
