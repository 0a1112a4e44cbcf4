// Win32Checks.h — the parts of win32_window_tests, one Wine process for all of
// them (a 32-bit process may start emulated, at about a minute a start).
//
//   backendChecks   the Win32 window system: children, painting, input, timers,
//                   dialogs, and no handle left behind
//   panelChecks     the panels' buttons clicked twice in quick succession
//   lifetimeChecks  instances of one plug-in DLL with editors open leave no
//                   GDI or USER handles; true when all held
// The first two count their failures in win32_test::failures.
#pragma once

namespace win32_test {

void backendChecks();
void panelChecks();
bool lifetimeChecks(const char* libraryPath);

}  // namespace win32_test
