// PluginMain.h — the exported entry point, instantiated once per library.
//
// Each library's project unit writes  DEFINE_PLUGIN_MAIN(namespace::ADoubler)
// which defines pluginMain and exports it under the plain name "main": through
// the .def file on Windows, through an assembler name on ELF (C++ reserves the
// name main for the program's own entry point).
#pragma once

#include "framework/DAudioE.h"
#include "platform/Services.h"

#if defined(_WIN32)
#define PLUGIN_MAIN_DECLARATION extern "C" AEffect* VSTCALLBACK pluginMain(audioMasterCallback audioMaster)
#else
#define PLUGIN_MAIN_DECLARATION                                                                   \
    extern "C" __attribute__((visibility("default"))) AEffect* pluginMain(audioMasterCallback) \
        __asm__("main");                                                                          \
    extern "C" AEffect* pluginMain(audioMasterCallback audioMaster)
#endif

#define DEFINE_PLUGIN_MAIN(EffectClass) \
    PLUGIN_MAIN_DECLARATION { return createInstance<EffectClass>(audioMaster, platform::defaultServices()); }
