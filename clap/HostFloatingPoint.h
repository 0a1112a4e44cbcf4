// HostFloatingPoint.h — keeps the host thread's floating-point control state.
//
//   HostFloatingPoint   saves MXCSR (and on 32-bit x86 the x87 control word)
//                       when made, puts them back when it goes
//
// The effect masks exceptions on the thread that constructs it; a host's own
// trap settings must survive every call it makes into the plug-in.
#pragma once

#include <cstdint>

namespace clapadapter {

class HostFloatingPoint {
public:
    HostFloatingPoint();
    ~HostFloatingPoint();
    HostFloatingPoint(const HostFloatingPoint&) = delete;
    HostFloatingPoint& operator=(const HostFloatingPoint&) = delete;

private:
    std::uint32_t mxcsr_;
    std::uint16_t x87_ = 0;
};

}  // namespace clapadapter
