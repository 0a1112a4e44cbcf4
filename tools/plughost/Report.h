// Report.h — what a command prints: "key: value" lines or one JSON object.
//
// Keys are dotted paths ("param.0.name"). In JSON the dots become nested
// objects, and a level whose keys are 0, 1, 2, ... becomes an array.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plughost {

class Report {
public:
    void text(const std::string& key, const std::string& value);
    void integer(const std::string& key, long long value);
    void number(const std::string& key, double value);  // %.9g: floats read back exactly
    void boolean(const std::string& key, bool value);
    // Prints every entry to stdout in the chosen form.
    void print(bool json) const;

private:
    struct Entry {
        std::string key;
        std::string value;
        bool quoted;  // JSON string rather than number or literal
    };
    std::vector<Entry> entries;
};

std::string hex32(std::int32_t value);             // "0x4E764566"
std::string fourCharText(std::int32_t value);      // "NvEf", non-printing bytes as '?'

}  // namespace plughost
