// PluginLibrary.cpp — loading a library and finding its main on each system.
#include "tools/plughost/PluginLibrary.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace plughost {

#if defined(_WIN32)

namespace {
std::string lastErrorText() {
    DWORD code = GetLastError();
    char buffer[512] = {0};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer,
                   sizeof buffer - 1, nullptr);
    std::string text(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return "error " + std::to_string(code) + (text.empty() ? "" : ": " + text);
}
}  // namespace

PluginLibrary::PluginLibrary(const std::string& path) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) {
        message = "cannot load " + path + " (" + lastErrorText() + ")";
        return;
    }
    handle = module;
    FARPROC symbol = GetProcAddress(module, "main");
    if (symbol == nullptr) {
        message = path + " exports no main";
        return;
    }
    mainEntry = reinterpret_cast<PluginEntry>(reinterpret_cast<void*>(symbol));
}

PluginLibrary::~PluginLibrary() {
    if (handle) FreeLibrary(static_cast<HMODULE>(handle));
}

#else

PluginLibrary::PluginLibrary(const std::string& path) {
    // A name without a slash would make dlopen search the library path.
    std::string where = path.find('/') == std::string::npos ? "./" + path : path;
    handle = dlopen(where.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* text = dlerror();
        message = "cannot load " + path + " (" + (text ? text : "unknown error") + ")";
        return;
    }
    dlerror();
    void* symbol = dlsym(handle, "main");
    if (symbol == nullptr) {
        message = path + " exports no main";
        return;
    }
    mainEntry = reinterpret_cast<PluginEntry>(symbol);
}

PluginLibrary::~PluginLibrary() {
    if (handle) dlclose(handle);
}

#endif

}  // namespace plughost
