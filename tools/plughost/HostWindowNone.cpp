// HostWindowNone.cpp — builds without a window system: editor reports why.
#include "tools/plughost/HostWindow.h"

namespace plughost {

std::unique_ptr<HostWindow> createHostWindow(int, int, const std::string&, std::string& error) {
    error = "this plughost was built without a window system";
    return nullptr;
}

}  // namespace plughost
