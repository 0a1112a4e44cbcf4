// Widefield.cpp — the library's project unit: its exported main.
#include "framework/PluginMain.h"
#include "stereo/uDoubler.h"

DEFINE_PLUGIN_MAIN(widefield::ADoubler)
