// SpscHandover.h — a fixed single-producer/single-consumer queue of records.
//
// The audio thread pushes (never blocks, never allocates: a full queue drops the
// new record and counts it); the user-interface thread drains in order on its
// next idle or timer. Only plain loads and stores of the two counters, no
// read-modify-write: each side publishes its counter with release and reads the
// other's with acquire, so a slot's contents travel with the counter that hands
// it over (plain moves on x86, and visible to ThreadSanitizer).
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace widefield {

template <class Record, std::size_t Capacity>
class SpscHandover {
    static_assert(Capacity > 0 && (Capacity & (Capacity - 1)) == 0, "capacity is a power of two");

public:
    // Producer side.
    bool push(const Record& record) {
        const std::uint32_t written = writeCount.load(std::memory_order_relaxed);
        const std::uint32_t read = readCount.load(std::memory_order_acquire);  // the slot has been read
        if (written - read >= Capacity) {
            droppedCount.store(droppedCount.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
            return false;
        }
        slots[written & (Capacity - 1)] = record;
        writeCount.store(written + 1, std::memory_order_release);
        return true;
    }

    // Consumer side: hands every waiting record to sink, oldest first; returns
    // how many it handed over.
    template <class Sink>
    std::size_t drain(Sink&& sink) {
        const std::uint32_t written = writeCount.load(std::memory_order_acquire);
        std::uint32_t read = readCount.load(std::memory_order_relaxed);
        std::size_t count = 0;
        while (read != written) {
            const Record record = slots[read & (Capacity - 1)];
            readCount.store(++read, std::memory_order_release);  // hands the slot back
            sink(record);
            ++count;
        }
        return count;
    }

    // Consumer side: forget what is waiting (a panel that opens starts fresh).
    void discard() {
        drain([](const Record&) {});
    }

    std::uint32_t dropped() const { return droppedCount.load(std::memory_order_relaxed); }
    static constexpr std::size_t capacity() { return Capacity; }

private:
    std::array<Record, Capacity> slots{};
    std::atomic<std::uint32_t> writeCount{0};
    std::atomic<std::uint32_t> readCount{0};
    std::atomic<std::uint32_t> droppedCount{0};
};

}  // namespace widefield
