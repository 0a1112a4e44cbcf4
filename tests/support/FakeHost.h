// FakeHost.h — the one host callback the tests hand to effects.
//
//   HostCall   one call as the effect made it
//   FakeHost   an audioMaster that records every call and answers it: by
//              default 2400 to the version query and 0 to everything else,
//              after answerEvery(n) n to every call
//
// Recording takes no lock and allocates nothing (a fixed table, an atomic
// count), so the effect may call it from the audio thread of the allocation
// and stress tests; calls past the table's end are counted but not kept.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/DAEffect.h"

namespace test_support {

struct HostCall {
    std::int32_t opcode;
    std::int32_t index;
    VstIntPtr value;
    float opt;
    bool effectGiven;
};

class FakeHost {
public:
    static constexpr VstIntPtr kVersion = 2400;

    static VstIntPtr VSTCALLBACK callback(AEffect* effect, std::int32_t opcode, std::int32_t index, VstIntPtr value,
                                          void*, float opt) {
        State& s = state();
        const std::size_t slot = s.count.fetch_add(1, std::memory_order_relaxed);
        if (slot < s.table.size()) s.table[slot] = {opcode, index, value, opt, effect != nullptr};
        if (s.answerAll.load(std::memory_order_relaxed)) return s.answer.load(std::memory_order_relaxed);
        return opcode == audioMasterVersion ? kVersion : 0;
    }

    // Forgets the calls so far and goes back to the default answers.
    static void reset() {
        state().count.store(0, std::memory_order_relaxed);
        state().answerAll.store(false, std::memory_order_relaxed);
    }
    // Forgets the calls so far; from now on every call is answered with `answer`.
    static void answerEvery(VstIntPtr answer) {
        reset();
        state().answer.store(answer, std::memory_order_relaxed);
        state().answerAll.store(true, std::memory_order_relaxed);
    }
    // The calls kept since the last reset, oldest first.
    static std::vector<HostCall> calls() {
        const State& s = state();
        const std::size_t count = s.count.load(std::memory_order_relaxed);
        return std::vector<HostCall>(s.table.begin(), s.table.begin() + static_cast<std::ptrdiff_t>(
                                                                            count < s.table.size() ? count : s.table.size()));
    }

private:
    struct State {
        std::array<HostCall, 1024> table{};
        std::atomic<std::size_t> count{0};
        std::atomic<bool> answerAll{false};
        std::atomic<VstIntPtr> answer{0};
    };
    static State& state() {
        static State instance;
        return instance;
    }
};

}  // namespace test_support
