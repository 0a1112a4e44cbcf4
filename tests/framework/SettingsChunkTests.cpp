// The state chunk's bytes: a chunk written out by hand from the format's
// table, and every way a chunk can be cut short or lie about itself.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "framework/DAEffect.h"
#include "framework/SettingsChunk.h"

namespace {

const std::int32_t kWidefieldId = fourCharCode('W', 'd', 'F', 'd');

// 3 = 0.75 (0x3f400000), 40 = 1.0 (0x3f800000), the name "Ab".
const std::vector<std::uint8_t> kHandWritten = {
    'B', 'r', 'S', 't', 'W', 'd', 'F', 'd', 1, 0, 0, 0, 2, 0, 0, 0,  // magic, id, version, count
    3, 0, 0, 0, 0x00, 0x00, 0x40, 0x3f,                              // index 3: 0.75
    40, 0, 0, 0, 0x00, 0x00, 0x80, 0x3f,                             // index 40: 1.0
    2, 0, 0, 0, 'A', 'b',                                            // the name
};

ChunkVerdict read(const std::vector<std::uint8_t>& bytes, ChunkContents& contents) {
    return readSettingsChunk(bytes.data(), bytes.size(), kWidefieldId, contents);
}

TEST(SettingsChunk, WritesTheBytesOfTheLayoutAndReadsThemBack) {
    const ChunkSetting settings[] = {{3, 0.75f}, {40, 1.0f}};
    EXPECT_EQ(writeSettingsChunk(kWidefieldId, settings, 2, "Ab"), kHandWritten);

    ChunkContents contents;
    ASSERT_EQ(read(kHandWritten, contents), ChunkVerdict::accepted);
    ASSERT_EQ(contents.count, 2u);
    EXPECT_EQ(contents.settings[0].index, 3);
    EXPECT_EQ(contents.settings[0].value, 0.75f);
    EXPECT_EQ(contents.settings[1].index, 40);
    EXPECT_STREQ(contents.programName, "Ab");

    // Every float bit survives, a NaN's payload and a negative zero included.
    const float odd[] = {-0.0f, std::nanf("0x123"), 1e-45f};
    ChunkSetting kept[3] = {{0, odd[0]}, {1, odd[1]}, {2, odd[2]}};
    ASSERT_EQ(read(writeSettingsChunk(kWidefieldId, kept, 3, ""), contents), ChunkVerdict::accepted);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(std::memcmp(&contents.settings[i].value, &odd[i], 4), 0) << i;

    // A name longer than the field is cut to its 31 characters.
    const std::vector<std::uint8_t> named =
        writeSettingsChunk(kWidefieldId, settings, 0, "A program name of more than thirty-one characters");
    EXPECT_EQ(named.size(), 20u + 31u);
    ASSERT_EQ(read(named, contents), ChunkVerdict::accepted);
    EXPECT_STREQ(contents.programName, "A program name of more than thi");
}

TEST(SettingsChunk, RefusesWhatIsNotAWholeChunkOfThisPlugin) {
    ChunkContents contents;
    EXPECT_EQ(readSettingsChunk(nullptr, 38, kWidefieldId, contents), ChunkVerdict::notOurs);
    // Every shorter piece, and one byte more.
    for (std::size_t size = 0; size < kHandWritten.size(); ++size) {
        const std::vector<std::uint8_t> piece(kHandWritten.begin(), kHandWritten.begin() + static_cast<long>(size));
        EXPECT_NE(read(piece, contents), ChunkVerdict::accepted) << size;
    }
    std::vector<std::uint8_t> longer = kHandWritten;
    longer.push_back(0);
    EXPECT_EQ(read(longer, contents), ChunkVerdict::damaged);

    const auto changed = [](std::size_t at, std::uint8_t byte) {
        std::vector<std::uint8_t> bytes = kHandWritten;
        bytes[at] = byte;
        return bytes;
    };
    EXPECT_EQ(read(changed(0, 'X'), contents), ChunkVerdict::notOurs);   // another magic
    EXPECT_EQ(read(changed(4, 'u'), contents), ChunkVerdict::notOurs);   // another plug-in's id
    EXPECT_EQ(readSettingsChunk(kHandWritten.data(), kHandWritten.size(), fourCharCode('u', 'F', 'F', 'T'), contents),
              ChunkVerdict::notOurs);
    EXPECT_EQ(read(changed(8, 2), contents), ChunkVerdict::tooNew);
    EXPECT_EQ(read(changed(8, 0), contents), ChunkVerdict::damaged);
    EXPECT_EQ(read(changed(12, 3), contents), ChunkVerdict::damaged);     // one setting more than there is
    EXPECT_EQ(read(changed(12, 1), contents), ChunkVerdict::damaged);     // one fewer
    EXPECT_EQ(read(changed(15, 0xff), contents), ChunkVerdict::damaged);  // a count past any memory
    EXPECT_EQ(read(changed(32, 3), contents), ChunkVerdict::damaged);     // a longer name than there is
    EXPECT_EQ(read(changed(35, 0x80), contents), ChunkVerdict::damaged);
    EXPECT_EQ(read(changed(24, 3), contents), ChunkVerdict::damaged);     // index 3 twice
    EXPECT_EQ(read(changed(37, 0), contents), ChunkVerdict::damaged);     // a zero inside the name
    EXPECT_EQ(contents.count, 0u);
}

}  // namespace
