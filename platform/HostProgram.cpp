// HostProgram.cpp — the file name of the process's executable.
//
// Windows: the module file name of the process (GetModuleFileName with no
// module), Linux: the target of /proc/self/exe; both without the directory.
// Looked up once; empty when the platform does not tell.
#include "platform/HostProgram.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <vector>

namespace platform {

namespace {

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string executablePath() {
#if defined(_WIN32)
    // Long paths need more than MAX_PATH; grow until the name fits.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::vector<wchar_t> buffer(size);
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) return std::string();
        if (length < size) {
            const int bytes = WideCharToMultiByte(CP_UTF8, 0, buffer.data(), static_cast<int>(length), nullptr, 0,
                                                  nullptr, nullptr);
            if (bytes <= 0) return std::string();
            std::string path(static_cast<std::size_t>(bytes), '\0');
            WideCharToMultiByte(CP_UTF8, 0, buffer.data(), static_cast<int>(length), &path[0], bytes, nullptr,
                                nullptr);
            return path;
        }
    }
    return std::string();
#else
    for (std::size_t size = 256; size <= 65536; size *= 2) {
        std::vector<char> buffer(size);
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), size);
        if (length < 0) return std::string();
        if (static_cast<std::size_t>(length) < size) return std::string(buffer.data(), static_cast<std::size_t>(length));
    }
    return std::string();
#endif
}

class SystemHostProgram final : public HostProgram {
public:
    SystemHostProgram() : name(fileNameOf(executablePath())) {}
    std::string fileName() const override { return name; }

private:
    std::string name;
};

}  // namespace

HostProgram& systemHostProgram() {
    static SystemHostProgram program;
    return program;
}

}  // namespace platform
