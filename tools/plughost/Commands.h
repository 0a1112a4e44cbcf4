// Commands.h — the plughost commands; each returns the exit status.
//
//   runCommand   configures the host callback and runs options.command
//   runBatch     many command lines from one file, in this one process
#pragma once

#include "tools/plughost/Options.h"

namespace plughost {

int runInfo(const Options& options);
int runProcess(const Options& options);
int runBench(const Options& options);
int runEditor(const Options& options);
int runBatch(const Options& options);
int runCommand(const Options& options);

}  // namespace plughost
