// win32_lifetime_checks.cpp — instances with open editors leave no GDI or USER handles:
// the lifetime part of win32_window_tests.
//
// For each library: a few warm-up instances, then the handle counts of the
// process (GetGuiResources) and the windows of this thread are taken; then
//   1. 200 cycles of main / effOpen / effEditOpen in a host window / messages
//      and effEditIdle / a processed block / effEditClose / effClose,
//   2. 50 instances alive at once, each with its editor open in its own host
//      window, then all closed (half by effClose alone),
// and the counts are taken again. Any growth beyond a few handles, or a child
// window left in a host window, fails. Under Wine, where GetGuiResources may
// report nothing, a probe of the GDI handle table and the window census
// still count.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "framework/DAEffect.h"
#include "tests/support/FakeHost.h"
#include "tests/win32/Win32Checks.h"

namespace {

using PluginMain = AEffect*(VSTCALLBACK*)(audioMasterCallback);

LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND makeHostWindow() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = hostWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"BrisoraLifetimeHost";
        RegisterClassW(&windowClass);
        registered = true;
    }
    HWND window = CreateWindowExW(0, L"BrisoraLifetimeHost", L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                  800, 500, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    // Left hidden: without a window manager, Wine waits on every mapping change
    // of a visible top-level window; the editors' child windows are made alike.
    return window;
}

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

BOOL CALLBACK countWindow(HWND, LPARAM counter) {
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int childWindows(HWND parent) {
    int count = 0;
    EnumChildWindows(parent, countWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

// Top-level windows of this thread and all their descendants.
BOOL CALLBACK countTree(HWND window, LPARAM counter) {
    ++*reinterpret_cast<int*>(counter);
    EnumChildWindows(window, countWindow, counter);
    return TRUE;
}
int threadWindows() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), countTree, reinterpret_cast<LPARAM>(&count));
    return count;
}

// GDI objects found by probing every 16-bit handle value: Wine's GDI handles
// carry their table index in the low word and accept a zero high word, and
// GetGuiResources there reports nothing. On Windows this only adds a lower bound.
DWORD probedGdiObjects() {
    DWORD count = 0;
    for (std::uintptr_t value = 1; value < 0x10000; ++value)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(value)) != 0) ++count;
    return count;
}

struct Census {
    DWORD gdi;
    DWORD user;
    DWORD probedGdi;
    int windows;
};

Census census() {
    pumpMessages();
    return {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS),
            probedGdiObjects(), threadWindows()};
}

VstIntPtr dispatch(AEffect* effect, std::int32_t opcode, std::int32_t index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

float leftIn[512], rightIn[512], leftOut[512], rightOut[512];

AEffect* openInstance(PluginMain pluginMain, HWND parent) {
    AEffect* effect = pluginMain(test_support::FakeHost::callback);
    if (effect == nullptr || effect->magic != kEffectMagic) return nullptr;
    dispatch(effect, effOpen);
    dispatch(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    dispatch(effect, effSetBlockSize, 0, 512);
    dispatch(effect, effMainsChanged, 0, 1);
    ERect* rect = nullptr;
    dispatch(effect, effEditGetRect, 0, 0, &rect);
    dispatch(effect, effEditOpen, 0, 0, parent);
    return effect;
}

void exercise(AEffect* effect) {
    float* inputs[2] = {leftIn, rightIn};
    float* outputs[2] = {leftOut, rightOut};
    for (int i = 0; i < 3; ++i) {
        effect->processReplacing(effect, inputs, outputs, 512);
        dispatch(effect, effEditIdle);
        pumpMessages();
    }
}

bool checkLibrary(const char* path) {
    HMODULE library = LoadLibraryA(path);
    if (library == nullptr) {
        std::printf("FAIL %s: cannot load (error %lu)\n", path, GetLastError());
        return false;
    }
    auto pluginMain = reinterpret_cast<PluginMain>(reinterpret_cast<void*>(GetProcAddress(library, "main")));
    if (pluginMain == nullptr) {
        std::printf("FAIL %s: no export main\n", path);
        return false;
    }
    for (int i = 0; i < 512; ++i) leftIn[i] = rightIn[i] = static_cast<float>((i % 50) - 25) / 50.0f;

    bool good = true;
    HWND parent = makeHostWindow();
    // Warm-up: whatever a library creates once per process (classes, fonts) is not a leak.
    for (int i = 0; i < 3; ++i) {
        AEffect* effect = openInstance(pluginMain, parent);
        if (effect == nullptr) {
            std::printf("FAIL %s: main refused the instance\n", path);
            return false;
        }
        exercise(effect);
        dispatch(effect, effEditClose);
        dispatch(effect, effClose);
    }
    // The host windows of step 2 cost the process a few handles of its own the
    // first time (Wine keeps their device contexts); make them once beforehand.
    for (int i = 0; i < 50; ++i) DestroyWindow(makeHostWindow());
    const Census before = census();
    int openChildrenSeen = 0;

    for (int cycle = 0; cycle < 200; ++cycle) {
        AEffect* effect = openInstance(pluginMain, parent);
        if (effect == nullptr) {
            std::printf("FAIL %s: cycle %d refused\n", path, cycle);
            return false;
        }
        exercise(effect);
        if (cycle == 0) openChildrenSeen = childWindows(parent);
        dispatch(effect, effEditClose);
        dispatch(effect, effClose);
        if (childWindows(parent) != 0) {
            std::printf("FAIL %s: cycle %d left %d child windows in the host window\n", path, cycle,
                        childWindows(parent));
            good = false;
            break;
        }
    }

    std::vector<HWND> parents;
    std::vector<AEffect*> effects;
    for (int i = 0; i < 50; ++i) {
        parents.push_back(makeHostWindow());
        AEffect* effect = openInstance(pluginMain, parents.back());
        if (effect) effects.push_back(effect);
    }
    const Census peak = census();
    for (AEffect* effect : effects) exercise(effect);
    for (std::size_t i = 0; i < effects.size(); ++i) {
        if (i % 2 == 0) dispatch(effects[i], effEditClose);
        dispatch(effects[i], effClose);
    }
    for (HWND window : parents) DestroyWindow(window);
    const Census after = census();

    std::printf("%s: editor child windows while open: %d; GDI objects %lu -> %lu (peak %lu with 50 open), "
                "USER objects %lu -> %lu (peak %lu), probed GDI objects %lu -> %lu (peak %lu), "
                "thread windows %d -> %d (peak %d)\n",
                path, openChildrenSeen, before.gdi, after.gdi, peak.gdi, before.user, after.user, peak.user,
                before.probedGdi, after.probedGdi, peak.probedGdi, before.windows, after.windows, peak.windows);
    if (before.gdi == 0 && after.gdi == 0 && peak.gdi == 0)
        std::printf("  note: GetGuiResources reports nothing here; the GDI probe and the window census count\n");
    const DWORD tolerance = 4;
    if (after.gdi > before.gdi + tolerance || after.user > before.user + tolerance ||
        after.probedGdi > before.probedGdi + tolerance) {
        std::printf("FAIL %s: GDI/USER handles grew\n", path);
        good = false;
    }
    if (after.windows != before.windows) {
        std::printf("FAIL %s: %d windows outlived their instances\n", path, after.windows - before.windows);
        good = false;
    }
    DestroyWindow(parent);
    pumpMessages();
    FreeLibrary(library);
    return good;
}

}  // namespace

bool win32_test::lifetimeChecks(const char* libraryPath) { return checkLibrary(libraryPath); }
