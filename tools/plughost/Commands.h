// Commands.h — the four plughost commands; each returns the exit status.
#pragma once

#include "tools/plughost/Options.h"

namespace plughost {

int runInfo(const Options& options);
int runProcess(const Options& options);
int runBench(const Options& options);
int runEditor(const Options& options);

}  // namespace plughost
