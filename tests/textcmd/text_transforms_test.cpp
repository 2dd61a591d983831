// The Format menu's rewrites on byte strings.
#include "textcmd/text_transforms.h"

#include <gtest/gtest.h>

#include <string>

namespace tavrel {
namespace {

TEST(JoinLines, shrinksSpaceRunsWithoutRescanning) {
    // Spaces left after the passes for runs of 1 to 12 spaces.
    const int expected[] = {1, 1, 1, 1, 2, 1, 2, 2, 2, 2, 3, 2};
    for (int n = 1; n <= 12; ++n) {
        const std::string input = "a" + std::string(n, ' ') + "b";
        EXPECT_EQ(joinLinesText(input), "a" + std::string(expected[n - 1], ' ') + "b")
            << n << " spaces";
    }
}

TEST(JoinLines, lineBreakJoinsTheSpacesAroundIt) {
    EXPECT_EQ(joinLinesText("ab\r\ncd"), "ab cd");
    // Three trailing, the new one and two leading spaces make one run of six.
    EXPECT_EQ(joinLinesText("ab   \r\n  cd"), "ab cd");
    EXPECT_EQ(joinLinesText("a\r\n\r\nb"), "a b");
    EXPECT_EQ(joinLinesText("1\r\n2\r\n3\r\n"), "1 2 3 ");
}

TEST(JoinLines, leavesLoneBreaksAndTabsAlone) {
    EXPECT_EQ(joinLinesText("ab\ncd\rEF\t\tgh"), "ab\ncd\rEF\t\tgh");
    EXPECT_EQ(joinLinesText("ab\n   cd"), "ab\n cd");
    EXPECT_EQ(joinLinesText("\r\r\n\n"), "\r \n");
    EXPECT_EQ(joinLinesText(""), "");
}

TEST(CaseCommands, useTheByteCaseTable) {
    EXPECT_EQ(uppercaseText("stra\xDF"
                            "e \xE4\xF6\xFC"),
              "STRA\xDF"
              "E \xC4\xD6\xDC");
    EXPECT_EQ(lowercaseText("\xDB\xDB MIXED 123"), "\xFB\xFB mixed 123");
    const std::string withNul("A\0b", 3);
    EXPECT_EQ(lowercaseText(withNul), std::string("a\0b", 3));
}

TEST(CharsetToUtf8, encodesCodePageBytes) {
    EXPECT_EQ(charsetToUtf8Text("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(charsetToUtf8Text("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(charsetToUtf8Text("\x81"), "\xC2\x81");
    EXPECT_EQ(charsetToUtf8Text("plain\r\n"), "plain\r\n");
}

TEST(Utf8ToCharset, decodesLenientlyAndFallsBackToQuestionMarks) {
    EXPECT_EQ(utf8ToCharsetText("caf\xC3\xA9"), "caf\xE9");
    EXPECT_EQ(utf8ToCharsetText("\xE2\x82\xAC"), "\x80");
    EXPECT_EQ(utf8ToCharsetText("\xA9"), "?");
    EXPECT_EQ(utf8ToCharsetText("x\xE2\x82"), "x??");
    EXPECT_EQ(utf8ToCharsetText("\xF0\x9F\x98\x80!"), "?!");
    EXPECT_EQ(utf8ToCharsetText("\xE2\x41"), "?A");
}

TEST(CharsetRoundTrip, restoresEveryByte) {
    std::string all;
    for (int i = 0; i < 256; ++i) {
        all.push_back(static_cast<char>(i));
    }
    EXPECT_EQ(utf8ToCharsetText(charsetToUtf8Text(all)), all);
}

} // namespace
} // namespace tavrel
