// The editor drawing its bytes as Windows-1252 letters: each letter must be the very glyph
// code page 437 draws for the same character at another byte, and block bytes become
// letters instead of cell-filling shapes.
#include <QImage>

#include <gtest/gtest.h>

#include "editor/qt/widget_test_support.h"

namespace tavrel {
namespace {

QImage picture(const std::string& bytes, ByteGlyphs glyphs) {
    auto editor = test::makeEditor(bytes);
    editor->setByteGlyphs(glyphs);
    test::finishFormatting(*editor);
    return editor->renderDocument(0, 1.0).convertToFormat(QImage::Format_RGB32);
}

TEST(ByteGlyphs, windows1252LettersAreTheGlyphsCodePage437DrawsAtTheirOwnBytes) {
    // ü and ß: 0xFC and 0xDF in Windows-1252, 0x81 and 0xE1 in code page 437.
    const QImage latin = picture("Gr\xFC\xDF"
                                 "e",
                                 ByteGlyphs::Windows1252);
    EXPECT_EQ(latin, picture("Gr\x81\xE1"
                             "e",
                             ByteGlyphs::Cp437));
    EXPECT_NE(latin, picture("Gr\xFC\xDF"
                             "e",
                             ByteGlyphs::Cp437));
}

TEST(ByteGlyphs, blockBytesAreLettersInWindows1252) {
    // 0xDB is a full block in code page 437 and the letter Û in Windows-1252, which code
    // page 437 does not have: the two pictures differ, and the letter's is drawn (not blank).
    const QImage block = picture("\xDB", ByteGlyphs::Cp437);
    const QImage letter = picture("\xDB", ByteGlyphs::Windows1252);
    const QImage blank = picture(" ", ByteGlyphs::Windows1252);
    EXPECT_NE(block, letter);
    EXPECT_NE(letter, blank);
    // Switching back draws the block again.
    auto editor = test::makeEditor("\xDB");
    editor->setByteGlyphs(ByteGlyphs::Windows1252);
    editor->setByteGlyphs(ByteGlyphs::Cp437);
    test::finishFormatting(*editor);
    EXPECT_EQ(editor->renderDocument(0, 1.0).convertToFormat(QImage::Format_RGB32), block);
}

} // namespace
} // namespace tavrel
