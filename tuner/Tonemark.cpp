// Tonemark.cpp — the library's project unit: its exported main.
#include "framework/PluginMain.h"
#include "tuner/uDoubler.h"

DEFINE_PLUGIN_MAIN(tonemark::ADoubler)
