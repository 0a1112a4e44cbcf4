// HostProgram.cpp — placeholder until the platform lookup lands.
#include "platform/HostProgram.h"

namespace platform {

HostProgram& systemHostProgram() {
    static FixedHostProgram program("");
    return program;
}

}  // namespace platform
