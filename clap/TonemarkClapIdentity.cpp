// TonemarkClapIdentity.cpp — what CLAP hosts store and show of Tonemark.
//
// The id is fixed: hosts keep it in their sessions.
#include "clap/ClapEntry.h"

namespace clapadapter {

namespace {
const char* const kFeatures[] = {"audio-effect", "analyzer", "utility", "stereo", nullptr};
}  // namespace

const ClapIdentity& tonemarkClap() {
    static const ClapIdentity identity{tonemarkIdentity, "brisora.tonemark", "Brisora", "1.0", kFeatures};
    return identity;
}

}  // namespace clapadapter
