// Report.cpp — printing a report as key/value lines or as nested JSON.
#include "tools/plughost/Report.h"

#include <cmath>
#include <cstdio>
#include <memory>

namespace plughost {
namespace {

std::string jsonQuote(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// A tree of the dotted keys, in first-seen order.
struct Node {
    std::string value;
    bool quoted = false;
    bool leaf = false;
    std::vector<std::pair<std::string, std::unique_ptr<Node>>> children;

    Node& child(const std::string& name) {
        for (auto& entry : children)
            if (entry.first == name) return *entry.second;
        children.emplace_back(name, std::make_unique<Node>());
        return *children.back().second;
    }
    bool isArray() const {
        for (std::size_t i = 0; i < children.size(); ++i)
            if (children[i].first != std::to_string(i)) return false;
        return !children.empty();
    }
    void write(std::string& out, int depth) const {
        if (leaf) {
            out += quoted ? jsonQuote(value) : value;
            return;
        }
        bool array = isArray();
        out += array ? "[" : "{";
        std::string indent(static_cast<std::size_t>(depth + 1) * 2, ' ');
        for (std::size_t i = 0; i < children.size(); ++i) {
            out += i ? ",\n" : "\n";
            out += indent;
            if (!array) out += jsonQuote(children[i].first) + ": ";
            children[i].second->write(out, depth + 1);
        }
        if (!children.empty()) out += "\n" + std::string(static_cast<std::size_t>(depth) * 2, ' ');
        out += array ? "]" : "}";
    }
};

}  // namespace

void Report::text(const std::string& key, const std::string& value) { entries.push_back({key, value, true}); }

void Report::integer(const std::string& key, long long value) {
    entries.push_back({key, std::to_string(value), false});
}

void Report::number(const std::string& key, double value) {
    if (!std::isfinite(value)) {
        entries.push_back({key, std::isnan(value) ? "nan" : (value > 0 ? "inf" : "-inf"), true});
        return;
    }
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.9g", value);
    entries.push_back({key, buffer, false});
}

void Report::boolean(const std::string& key, bool value) { entries.push_back({key, value ? "true" : "false", false}); }

void Report::print(bool json) const {
    if (!json) {
        for (const Entry& entry : entries) std::printf("%s: %s\n", entry.key.c_str(), entry.value.c_str());
        std::fflush(stdout);
        return;
    }
    Node root;
    for (const Entry& entry : entries) {
        Node* node = &root;
        std::size_t start = 0;
        while (true) {
            std::size_t dot = entry.key.find('.', start);
            node = &node->child(entry.key.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
            if (dot == std::string::npos) break;
            start = dot + 1;
        }
        node->leaf = true;
        node->value = entry.value;
        node->quoted = entry.quoted;
    }
    std::string out;
    root.write(out, 0);
    std::printf("%s\n", out.c_str());
    std::fflush(stdout);
}

std::string hex32(std::int32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(value));
    return buffer;
}

std::string fourCharText(std::int32_t value) {
    std::string out;
    for (int shift = 24; shift >= 0; shift -= 8) {
        unsigned char c = static_cast<unsigned char>((static_cast<std::uint32_t>(value) >> shift) & 0xFF);
        out += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    }
    return out;
}

}  // namespace plughost
