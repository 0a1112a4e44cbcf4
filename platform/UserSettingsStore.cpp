// UserSettingsStore.cpp — the real per-user settings store of this platform.
//
//   Windows  the registry under HKEY_CURRENT_USER: each key of the path opened
//            (or created) relative to the one before, text values as REG_SZ,
//            flushed after writing. A value of another type is no text: the
//            read fails and the caller falls back as for a missing value.
//   Linux    one small file per value under $XDG_CONFIG_HOME (~/.config when
//            unset), along the key path without its leading "software" (the
//            configuration directory already is the user's software settings):
//            software\Brisora\host.exe "Latency" → ~/.config/Brisora/host.exe/Latency.
//            Written through a temporary file and a rename, so a reader never
//            sees half a value.
// Failures return false and never end the host.
#include "platform/SettingsStore.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

// A key or value name that cannot name a directory entry of its own.
bool isPlainName(const std::string& name) {
    if (name == "." || name == "..") return false;
    for (char c : name)
        if (c == '/' || c == '\\' || c == '\0') return false;
    return true;
}

#if defined(_WIN32)

std::wstring widen(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string narrow(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string();
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &text[0], length, nullptr, nullptr);
    return text;
}

// Opens or creates every level of the path below HKEY_CURRENT_USER.
HKEY openPath(const KeyPath& key) {
    HKEY current = HKEY_CURRENT_USER;
    for (const std::string& part : key) {
        if (!isPlainName(part)) {  // a backslash would reach into other keys
            if (current != HKEY_CURRENT_USER) RegCloseKey(current);
            return nullptr;
        }
        HKEY next = nullptr;
        DWORD disposition = 0;
        const LONG status = RegCreateKeyExW(current, widen(part).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                            KEY_READ | KEY_WRITE, nullptr, &next, &disposition);
        if (current != HKEY_CURRENT_USER) RegCloseKey(current);
        if (status != ERROR_SUCCESS) return nullptr;
        current = next;
    }
    return current == HKEY_CURRENT_USER ? nullptr : current;
}

class RegistrySettingsStore final : public SettingsStore {
public:
    bool readText(const KeyPath& key, const std::string& name, std::string& value) override {
        HKEY handle = openPath(key);
        if (handle == nullptr) return false;
        const std::wstring valueName = widen(name);
        DWORD type = 0, size = 0;
        bool ok = RegQueryValueExW(handle, valueName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
                  type == REG_SZ && size <= 64 * 1024;
        std::wstring text;
        if (ok) {
            text.assign(size / sizeof(wchar_t) + 1, L'\0');
            DWORD got = static_cast<DWORD>(text.size() * sizeof(wchar_t));
            ok = RegQueryValueExW(handle, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&text[0]),
                                  &got) == ERROR_SUCCESS &&
                 type == REG_SZ;
            // The stored text need not end in a zero; it ends at the first one.
            if (ok) text.resize(wcsnlen(text.c_str(), got / sizeof(wchar_t)));
        }
        RegCloseKey(handle);
        if (ok) value = narrow(text);
        return ok;
    }

    bool writeText(const KeyPath& key, const std::string& name, const std::string& value) override {
        HKEY handle = openPath(key);
        if (handle == nullptr) return false;
        const std::wstring text = widen(value);
        const DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
        const bool ok = RegSetValueExW(handle, widen(name).c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(text.c_str()), size) == ERROR_SUCCESS;
        if (ok) RegFlushKey(handle);
        RegCloseKey(handle);
        return ok;
    }
};

#else

std::string configurationHome() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return xdg;  // a relative value is to be ignored
    const char* home = std::getenv("HOME");
    if (!home || !home[0]) {
        const passwd* entry = getpwuid(getuid());
        home = entry ? entry->pw_dir : nullptr;
    }
    if (!home || !home[0]) return std::string();
    return std::string(home) + "/.config";
}

// The directory of a key path, or empty when the path cannot be one.
std::string directoryOf(const KeyPath& key) {
    std::string directory = configurationHome();
    if (directory.empty()) return directory;
    std::size_t first = 0;
    if (!key.empty()) {
        std::string head = key[0];
        for (char& c : head) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (head == "software") first = 1;
    }
    for (std::size_t i = first; i < key.size(); ++i) {
        if (key[i].empty()) continue;  // an empty level names the level above, as in the registry
        if (!isPlainName(key[i])) return std::string();
        directory += "/" + key[i];
    }
    return directory;
}

bool makeDirectories(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Opens a path as a stdio stream only when it is a regular file; never blocks.
std::FILE* openRegular(const char* path, int flags, const char* mode) {
    const int descriptor = open(path, flags | O_NONBLOCK | O_CLOEXEC, 0600);
    if (descriptor < 0) return nullptr;
    struct stat info {};
    if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(descriptor);
        return nullptr;
    }
    std::FILE* file = fdopen(descriptor, mode);
    if (!file) close(descriptor);
    return file;
}

class FileSettingsStore final : public SettingsStore {
public:
    bool readText(const KeyPath& key, const std::string& name, std::string& value) override {
        const std::string directory = directoryOf(key);
        if (directory.empty() || name.empty() || !isPlainName(name)) return false;
        // Only a regular file holds a value: a FIFO or device left in its place
        // must not block or flood the host, so open without waiting and check.
        std::FILE* file = openRegular((directory + "/" + name).c_str(), O_RDONLY, "rb");
        if (!file) return false;
        std::string text;
        char buffer[256];
        std::size_t got = 0;
        bool ok = true;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
            text.append(buffer, got);
            if (text.size() > 64 * 1024) {
                ok = false;
                break;
            }
        }
        if (std::ferror(file)) ok = false;
        std::fclose(file);
        if (!ok) return false;
        // One value per file; a final line break from an editor is not part of it.
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        value = text;
        return true;
    }

    bool writeText(const KeyPath& key, const std::string& name, const std::string& value) override {
        const std::string directory = directoryOf(key);
        if (directory.empty() || name.empty() || !isPlainName(name) || !makeDirectories(directory)) return false;
        const std::string target = directory + "/" + name;
        const std::string temporary = target + ".new";
        std::FILE* file = openRegular(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, "wb");
        if (!file) return false;
        bool ok = std::fwrite(value.data(), 1, value.size(), file) == value.size();
        ok = std::fflush(file) == 0 && ok;
        ok = fsync(fileno(file)) == 0 && ok;
        ok = std::fclose(file) == 0 && ok;
        if (ok) ok = std::rename(temporary.c_str(), target.c_str()) == 0;
        if (!ok) std::remove(temporary.c_str());
        return ok;
    }
};

#endif

}  // namespace

SettingsStore& userSettingsStore() {
#if defined(_WIN32)
    static RegistrySettingsStore store;
#else
    static FileSettingsStore store;
#endif
    return store;
}

}  // namespace platform
