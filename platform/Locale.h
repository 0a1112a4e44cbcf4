// Locale.h — the user's decimal separator for number texts.
//
//   decimalSeparator         the separator as UTF-8 text: one byte or several
//                            (U+066B "٫" takes two); "." when none is set
//   EnvironmentReader        how a variable of the environment is read
//   numericLocaleName        the locale the numeric convention comes from:
//                            LC_ALL, then LC_NUMERIC, then LANG, the first that
//                            is set and not empty, as newlocale reads them;
//                            "C" when none is
//   radixOfLocale            the radix character of a named locale, opened on
//                            its own (never the process's locale, which belongs
//                            to the host); "." when it cannot be opened
//   decimalSeparatorFrom     the two together, for a given environment
//   withSeparator            a number as printf writes it, its point replaced
//                            by a separator and cut to a length without
//                            splitting the separator
//
// Windows asks the user's regional settings; the environment functions are
// there for Linux, where the host's own locale is "C" unless it calls setlocale.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

std::string decimalSeparator();

using EnvironmentReader = const char* (*)(const char* name);
std::string numericLocaleName(EnvironmentReader environment);
std::string radixOfLocale(const std::string& name);
std::string decimalSeparatorFrom(EnvironmentReader environment);

// The first '.' of number becomes separator; the result is cut to at most limit
// bytes, and a cut that would fall inside the separator falls before it.
std::string withSeparator(std::string number, std::string_view separator, std::size_t limit);

}  // namespace platform
