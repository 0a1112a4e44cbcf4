// AboutContent.h — what Tonemark shows in the shared About dialog.
#pragma once

#include "controls/uAbout.h"

namespace tonemark {

// Tonemark's dialog: 320 high, opening on ABOUT; built once, on first use.
const controls::AboutContent& aboutContent();
// The 231 x 79 logo of the ABOUT page.
toolkit::Image aboutLogo();

}  // namespace tonemark
