// WidefieldClapIdentity.cpp — what CLAP hosts store and show of Widefield.
//
// The id is fixed: hosts keep it in their sessions.
#include "clap/ClapEntry.h"

namespace clapadapter {

namespace {
const char* const kFeatures[] = {"audio-effect", "utility", "stereo", nullptr};
}  // namespace

const ClapIdentity& widefieldClap() {
    // Any rate the LV2 build takes.
    static const ClapIdentity identity{widefieldIdentity, "brisora.widefield", "Brisora", "1.0", kFeatures, 1.0,
                                       16.0e6};
    return identity;
}

}  // namespace clapadapter
