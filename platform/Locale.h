// Locale.h — the user's decimal separator for number texts ('.' when none is set).
#pragma once

namespace platform {

char decimalSeparator();

}  // namespace platform
