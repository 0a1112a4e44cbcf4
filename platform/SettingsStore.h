// SettingsStore.h — per-user text values under a key path.
//
//   SettingsStore      the interface: read and write one text value under a key
//                      path such as {"software", "Brisora", "host.exe"}
//   MemorySettingsStore  an in-memory store for tests
//   userSettingsStore  the real one of this platform (registry / XDG files)
//
// Every operation reports failure by returning false and never throws.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace platform {

using KeyPath = std::vector<std::string>;

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Reads a text value; false when the key or value is missing, unreadable or
    // not a text.
    virtual bool readText(const KeyPath& key, const std::string& name, std::string& value) = 0;
    // Opens or creates the key and writes the value; false on any failure.
    virtual bool writeText(const KeyPath& key, const std::string& name, const std::string& value) = 0;
};

class MemorySettingsStore final : public SettingsStore {
public:
    bool readText(const KeyPath& key, const std::string& name, std::string& value) override {
        auto found = values.find(join(key, name));
        if (found == values.end()) return false;
        value = found->second;
        return true;
    }
    bool writeText(const KeyPath& key, const std::string& name, const std::string& value) override {
        if (readOnly) return false;
        values[join(key, name)] = value;
        return true;
    }
    static std::string join(const KeyPath& key, const std::string& name) {
        std::string path;
        for (const auto& part : key) path += part + "\\";
        return path + name;
    }

    std::map<std::string, std::string> values;
    bool readOnly = false;
};

SettingsStore& userSettingsStore();

}  // namespace platform
