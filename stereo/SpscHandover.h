// SpscHandover.h — a fixed single-producer/single-consumer queue of records.
//
// The audio thread pushes (never blocks, never allocates: a full queue drops the
// new record and counts it); the user-interface thread drains in order on its
// next idle or timer. Only plain loads and stores of the two counters: a release
// fence before the producer publishes a slot and an acquire fence after the
// consumer sees it keep the record's contents ordered with its counter (both
// fences cost no instruction on x86).
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
        const std::uint32_t read = readCount.load(std::memory_order_relaxed);
        if (written - read >= Capacity) {
            droppedCount.store(droppedCount.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
            return false;
        }
        slots[written & (Capacity - 1)] = record;
        std::atomic_thread_fence(std::memory_order_release);
        writeCount.store(written + 1, std::memory_order_relaxed);
        return true;
    }

    // Consumer side: hands every waiting record to sink, oldest first; returns
    // how many it handed over.
    template <class Sink>
    std::size_t drain(Sink&& sink) {
        const std::uint32_t written = writeCount.load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        std::uint32_t read = readCount.load(std::memory_order_relaxed);
        std::size_t count = 0;
        while (read != written) {
            const Record record = slots[read & (Capacity - 1)];
            std::atomic_thread_fence(std::memory_order_release);  // slot read before it is handed back
            readCount.store(++read, std::memory_order_relaxed);
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
