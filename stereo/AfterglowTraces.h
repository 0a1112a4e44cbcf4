// AfterglowTraces.h — which traces a drain draws into the scope's afterglow.
//
//   AfterglowChoice        the positions of the traces to draw, oldest first
//   chooseAfterglowTraces  from the display positions of a drain's scope records:
//                          the newest 16 while they leave no sample of the
//                          drain's span out (so it is at 44.1 and 48 kHz), and
//                          otherwise up to 16 spread over the span, each one
//                          reaching back to the next
//
// A drain's span is what reached the display position since the newest trace
// of the previous drain (for a first drain: since its own oldest record). A
// trace at position p draws the points p - 1023 .. p as one line, which leaves
// out its last point; traces at most kTraceLength - 1 apart thus leave no point
// and no line between two points out. At high rates with short blocks many
// records share a display position (the clock counts milliseconds), so the
// newest 16 records can stand for as few as three traces: that is when the
// spread choice takes over.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace widefield {

constexpr std::size_t kMaxAfterglowTraces = 16;

struct AfterglowChoice {
    std::array<std::int32_t, kMaxAfterglowTraces> positions{};  // oldest first, the newest last
    std::size_t count = 0;
};

// positions: the records' display positions as they came, without repeats,
// count at least 1; previousNewest: the newest position the previous drain drew,
// or -1; ringSize: the scope ring's length.
AfterglowChoice chooseAfterglowTraces(const std::int32_t* positions, std::size_t count, std::int32_t previousNewest,
                                      std::int32_t ringSize);

}  // namespace widefield
