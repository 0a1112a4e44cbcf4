// WidefieldClapIdentity.cpp — what CLAP hosts store and show of Widefield.
//
// The id is fixed: hosts keep it in their sessions.
#include "clap/ClapEntry.h"

namespace clapadapter {

namespace {
const char* const kFeatures[] = {"audio-effect", "utility", "stereo", nullptr};
}  // namespace

const ClapIdentity& widefieldClap() {
    static const ClapIdentity identity{widefieldIdentity, "brisora.widefield", "Brisora", "1.0", kFeatures};
    return identity;
}

}  // namespace clapadapter
