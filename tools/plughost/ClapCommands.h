// ClapCommands.h — the commands on a .clap file (ClapCommands.cpp, ClapEditor.cpp).
#pragma once

#include "tools/plughost/Options.h"

namespace plughost {

int runClapInfo(const Options& options);
int runClapProcess(const Options& options);
int runClapEditor(const Options& options);

}  // namespace plughost
