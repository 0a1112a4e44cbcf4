// PluginLibrary.h — a plug-in library loaded by path, and its main.
//
//   PluginLibrary  dlopen/LoadLibrary on construction, unloaded on destruction;
//                  entry() is the exported main, or null with error() saying why
#pragma once

#include <string>

#include "framework/DAEffect.h"

namespace plughost {

using PluginEntry = AEffect*(VSTCALLBACK*)(audioMasterCallback);

class PluginLibrary {
public:
    explicit PluginLibrary(const std::string& path);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    PluginEntry entry() const { return mainEntry; }
    const std::string& error() const { return message; }

private:
    void* handle = nullptr;
    PluginEntry mainEntry = nullptr;
    std::string message;
};

}  // namespace plughost
