// DecimatedRing.h — the ring of low-passed, decimated samples the detector reads.
//
// The audio thread is its only writer: it stores an entry, then publishes its
// position as ringWriteIndex, which therefore always names the newest entry and
// never leaves 0 to kLength - 1. The detector reads it from another thread while
// writes go on; entries and index are relaxed atomics (plain loads and stores on
// x86), and a frame that picks up a few entries written during its copy is
// accepted.
#pragma once

#include <atomic>
#include <cstdint>

namespace tonemark {

class DecimatedRing {
public:
    static constexpr std::int32_t kLength = 40000;

    DecimatedRing() {
        for (auto& entry : entries) entry.store(0.0f, std::memory_order_relaxed);
    }
    DecimatedRing(const DecimatedRing&) = delete;
    DecimatedRing& operator=(const DecimatedRing&) = delete;

    float at(std::int32_t index) const { return entries[index].load(std::memory_order_relaxed); }
    std::int32_t newestIndex() const { return ringWriteIndex.load(std::memory_order_relaxed); }

    // Writer side (audio thread, or a test filling the ring by hand).
    void store(std::int32_t index, float value) { entries[index].store(value, std::memory_order_relaxed); }
    void publish(std::int32_t index) { ringWriteIndex.store(index, std::memory_order_relaxed); }
    // Every entry silent again; the position stays.
    void clear() {
        for (auto& entry : entries) entry.store(0.0f, std::memory_order_relaxed);
    }
    // Appends one entry after the newest; for tests and tools.
    void push(float value) {
        const std::int32_t next = newestIndex() + 1 == kLength ? 0 : newestIndex() + 1;
        store(next, value);
        publish(next);
    }

private:
    std::atomic<float> entries[kLength];
    std::atomic<std::int32_t> ringWriteIndex{0};
};

}  // namespace tonemark
