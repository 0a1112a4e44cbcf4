// win32_window_tests.cpp — every real-window check of a Windows build in one
// process, each part reported by name:
//
//   win32_window_tests [plug-in.dll...]
//
// 1. backend: the Win32 window system (Win32Checks.h)
// 2. panel: quick second clicks on the panels' buttons
// 3. lifetime <dll>: for each DLL given, handle counts over many instances
// Exit code 0 when every part passed.
#include <windows.h>

#include <cstdio>
#include <functional>

#include "tests/win32/Win32Checks.h"
#include "tests/win32/Win32TestHost.h"

namespace {

bool runPart(const char* name, const std::function<bool()>& part) {
    std::printf("== %s\n", name);
    std::fflush(stdout);
    const bool passed = part();
    std::printf("%s %s\n", passed ? "PASSED" : "FAILED", name);
    std::fflush(stdout);
    return passed;
}

bool countedPart(void (*part)()) {
    const int before = win32_test::failures;
    part();
    return win32_test::failures == before;
}

}  // namespace

int main(int argc, char** argv) {
    bool passed = runPart("backend", [] { return countedPart(win32_test::backendChecks); });
    passed = runPart("panel", [] { return countedPart(win32_test::panelChecks); }) && passed;
    for (int i = 1; i < argc; ++i) {
        char name[512];
        std::snprintf(name, sizeof name, "lifetime %s", argv[i]);
        passed = runPart(name, [&] { return win32_test::lifetimeChecks(argv[i]); }) && passed;
    }
    std::printf("%s\n", passed ? "PASSED: every part" : "FAILED: see the parts above");
    return passed ? 0 : 1;
}
