// HostProgram.h — the file name of the executable that loaded us.
#pragma once

#include <string>

namespace platform {

class HostProgram {
public:
    virtual ~HostProgram() = default;
    // File name without directory, e.g. "Cubase.exe"; empty when unknown.
    virtual std::string fileName() const = 0;
};

class FixedHostProgram final : public HostProgram {
public:
    explicit FixedHostProgram(std::string name) : name(std::move(name)) {}
    std::string fileName() const override { return name; }

private:
    std::string name;
};

HostProgram& systemHostProgram();

}  // namespace platform
