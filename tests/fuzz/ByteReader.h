// ByteReader.h — turns a fuzzer's byte string into the choices of a host.
//
// Reads little pieces off the front of the input; once it is used up every read
// gives zero, so any input, however short, is a complete sequence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace hostfuzz {

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    bool empty() const { return position >= size; }
    std::uint8_t byte() { return position < size ? data[position++] : 0; }
    std::uint16_t u16() { return static_cast<std::uint16_t>(byte() | (byte() << 8)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(u16()) | (static_cast<std::uint32_t>(u16()) << 16); }
    // A value in lo..hi inclusive (hi - lo below 2^32).
    std::int64_t range(std::int64_t lo, std::int64_t hi) {
        const std::uint64_t span = static_cast<std::uint64_t>(hi - lo) + 1u;
        std::uint64_t raw = span <= 256u ? byte() : span <= 65536u ? u16() : u32();
        return lo + static_cast<std::int64_t>(raw % span);
    }
    float rawFloat() {
        const std::uint32_t bits = u32();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position = 0;
};

}  // namespace hostfuzz
