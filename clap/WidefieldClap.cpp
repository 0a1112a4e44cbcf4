// WidefieldClap.cpp — the one exported symbol of Widefield.clap.
#include "clap/ClapEntry.h"

extern "C" CLAP_EXPORT const clap_plugin_entry_t clap_entry =
    clapadapter::ClapLibrary<clapadapter::widefieldClap>::entry;
