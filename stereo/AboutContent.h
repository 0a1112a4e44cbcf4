// AboutContent.h — what Widefield shows in the shared About dialog.
#pragma once

#include "controls/uAbout.h"

namespace widefield {

// Widefield's dialog: 368 high, opening on HINTS; built once, on first use.
const controls::AboutContent& aboutContent();
// The 231 x 79 logo of the ABOUT page.
toolkit::Image aboutLogo();

}  // namespace widefield
