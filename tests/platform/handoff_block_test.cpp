// The handoff's shared block, byte for byte against hand-written layouts, and its names.
#include "platform/handoff_block.h"
#include "platform/handoff_names.h"

#include <gtest/gtest.h>

#include <array>

namespace tavrel::platform {
namespace {

using Block = std::array<std::byte, 64>;

[[nodiscard]] std::string bytesOf(const Block& block, std::size_t count) {
    return {reinterpret_cast<const char*>(block.data()), count};
}

TEST(HandoffBlock, namesQueueInTheWrittenLayoutAndComeOutInOrder) {
    Block block{};
    ASSERT_TRUE(putHandedName(block, 0x01020304, "a.nfo"));
    ASSERT_TRUE(putHandedName(block, 7, "")); // an empty name only asks for the window
    // Used 13 + 8 bytes; entry: sender, length, bytes; all little-endian; then zeros.
    EXPECT_EQ(bytesOf(block, block.size()), std::string("\x15\0\0\0"
                                                        "\x04\x03\x02\x01\x05\0\0\0a.nfo"
                                                        "\x07\0\0\0\0\0\0\0",
                                                        25) +
                                                std::string(block.size() - 25, '\0'));
    const std::vector<HandedName> expected{{0x01020304, "a.nfo"}, {7, ""}};
    EXPECT_EQ(takeHandedNames(block), expected);
    EXPECT_EQ(block, Block{}); // nothing of a taken name stays behind
    EXPECT_TRUE(takeHandedNames(block).empty());
}

TEST(HandoffBlock, aNameThatDoesNotFitIsRefusedAndTheQueueKept) {
    Block block{};
    EXPECT_EQ(longestHandedName(block.size()), 52u);
    EXPECT_FALSE(putHandedName(block, 1, std::string(53, 'x')));
    EXPECT_EQ(block, Block{});
    ASSERT_TRUE(putHandedName(block, 1, std::string(40, 'x')));
    const Block before = block;
    EXPECT_FALSE(putHandedName(block, 2, "five!")); // 12 bytes left, 13 needed
    EXPECT_EQ(block, before);
    ASSERT_TRUE(putHandedName(block, 2, "four"));
    EXPECT_EQ(takeHandedNames(block).size(), 2u);
}

TEST(HandoffBlock, aSenderWithdrawsOnlyItsOwnNames) {
    Block block{};
    ASSERT_TRUE(putHandedName(block, 1, "one"));
    ASSERT_TRUE(putHandedName(block, 2, "two"));
    ASSERT_TRUE(putHandedName(block, 1, "three"));
    EXPECT_TRUE(withdrawHandedNames(block, 1));
    EXPECT_FALSE(withdrawHandedNames(block, 1)); // taken back already
    EXPECT_EQ(takeHandedNames(block), (std::vector<HandedName>{{2, "two"}}));
    EXPECT_FALSE(withdrawHandedNames(block, 2)); // taken by the window: delivered
}

TEST(HandoffBlock, countsRunningPastTheEndGiveTheWholeEntriesBefore) {
    Block block{};
    ASSERT_TRUE(putHandedName(block, 1, "kept"));
    block[0] = std::byte{0xFF}; // used count far past the end
    block[1] = std::byte{0xFF};
    Block overlong = block;
    overlong[0] = std::byte{12 + 8}; // a second entry claims more than is there
    overlong[1] = std::byte{0};
    overlong[4 + 12 + 4] = std::byte{0xF0};
    for (Block* damaged : {&block, &overlong}) {
        EXPECT_EQ(takeHandedNames(*damaged), (std::vector<HandedName>{{1, "kept"}}));
        EXPECT_EQ(*damaged, Block{});
    }
}

TEST(HandoffNames, carryTheInstanceKeyWithoutNamespaceSeparators) {
    const HandoffNames plain = handoffNames("");
    EXPECT_EQ(plain.mutex, "Tavrel");
    EXPECT_EQ(plain.block, "TavrelShareMem");
    EXPECT_EQ(plain.message, "TavrelNewFile");
    EXPECT_EQ(plain.windowClass, "TTavrelF");
    const HandoffNames keyed = handoffNames("k\\1");
    EXPECT_EQ(keyed.mutex, "Tavrel-k_1");
    EXPECT_EQ(keyed.block, "TavrelShareMem-k_1");
    EXPECT_EQ(keyed.blockGuard, "TavrelShareMemGuard-k_1");
    EXPECT_EQ(keyed.windowTitle, "Tavrel-k_1");
    EXPECT_EQ(keyed.message, "TavrelNewFile"); // one message for the session
}

} // namespace
} // namespace tavrel::platform
