// Unicode art decoding and writing back, against the system's converter (iconv, or Win32's
// code pages) as the independent one: corpus files in code page 437 converted to UTF-8 and UTF-16
// must come back as their original bytes, and be written again byte for byte.
#include "text/unicode_art.h"

#include "support/charset_converter.h"
#include "support/corpus.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace tavrel {
namespace {

using test::converterAvailable;
using test::convertFile;

// The PC's glyphs for bytes 1 to 31 and 127, which the converter's code page 437 only knows as
// control codes: written out here from the PC's character set.
const char* const kControlGlyphs[] = {
    "\u263A", "\u263B", "\u2665", "\u2666", "\u2663", "\u2660", "\u2022", "\u25D8",
    "\u25CB", "\u25D9", "\u2642", "\u2640", "\u266A", "\u266B", "\u263C", "\u25BA",
    "\u25C4", "\u2195", "\u203C", "\u00B6", "\u00A7", "\u25AC", "\u21A8", "\u2191",
    "\u2193", "\u2192", "\u2190", "\u221F", "\u2194", "\u25B2", "\u25BC"};

std::string replaceControlGlyphs(std::string text) {
    for (int byte = 1; byte <= 32; ++byte) {
        const std::string glyph = byte == 32 ? "\u2302" : kControlGlyphs[byte - 1];
        const char replacement = static_cast<char>(byte == 32 ? 127 : byte);
        for (std::size_t at = text.find(glyph); at != std::string::npos;
             at = text.find(glyph, at + 1)) {
            text.replace(at, glyph.size(), 1, replacement);
        }
    }
    return text;
}

const char* const kCp437Files[] = {"nfo/emerge.nfo", "nfo/us-alove.asc", "nfo/bs-ansilove.ans",
                                   "diz/it214.diz",  "diz/sr.diz",       "txt/ittech.txt",
                                   "txt/mmtech.txt", "nfo/ny2008.asc",   "nfo/sr-fcinfo10.txt"};

TEST(UnicodeArtTest, cp437CorpusConvertedToUtf8AndUtf16ComesBackAsItsBytes) {
    if (!converterAvailable()) {
        GTEST_SKIP() << "no code page 437 converter on this system";
    }
    for (const char* name : kCp437Files) {
        const auto path = test::corpusDir() / name;
        if (!std::filesystem::exists(path)) {
            GTEST_SKIP() << "corpus not found";
        }
        SCOPED_TRACE(name);
        const std::string original = test::readFile(path);
        const std::optional<std::string> utf8 = convertFile(path, "IBM437", "UTF-8");
        const std::optional<std::string> le = convertFile(path, "IBM437", "UTF-16LE");
        const std::optional<std::string> be = convertFile(path, "IBM437", "UTF-16BE");
        ASSERT_TRUE(utf8 && le && be);

        const struct {
            std::string file;
            TextEncoding encoding;
            bool mark;
        } cases[] = {{*utf8, TextEncoding::Utf8, false},
                     {"\xEF\xBB\xBF" + *utf8, TextEncoding::Utf8, true},
                     {"\xFF\xFE" + *le, TextEncoding::Utf16Le, true},
                     {"\xFE\xFF" + *be, TextEncoding::Utf16Be, true}};
        for (const auto& c : cases) {
            const DecodedText decoded = decodeUnicodeArt(c.file);
            ASSERT_EQ(decoded.form.encoding, c.encoding);
            EXPECT_EQ(decoded.form.byteOrderMark, c.mark);
            EXPECT_TRUE(decoded.bytes == original);
            EXPECT_TRUE(encodeUnicodeArt(decoded.bytes, decoded.form) == c.file);
        }
    }
}

TEST(UnicodeArtTest, unicodeCorpusDecodesExactlyWhereTheConverterReachesCodePage437) {
    if (!converterAvailable()) {
        GTEST_SKIP() << "no code page 437 converter on this system";
    }
    int decodedFiles = 0;
    int keptFiles = 0;
    for (const auto& path : test::corpusFiles()) {
        const std::string file = test::readFile(path);
        const bool utf16 = file.size() >= 2 && (file.compare(0, 2, "\xFE\xFF") == 0 ||
                                                file.compare(0, 2, "\xFF\xFE") == 0);
        const bool utf8Mark = file.compare(0, 3, "\xEF\xBB\xBF") == 0;
        if (path.parent_path().filename() != "utf8" && !utf8Mark) {
            continue;
        }
        SCOPED_TRACE(test::utf8Name(path));
        std::optional<std::string> expected;
        if (utf16) {
            expected = convertFile(path, "UTF-16", "IBM437");
        } else {
            // The converter has no code page 437 byte for the mark itself, nor for the glyphs of
            // the control range; those go first.
            const test::TempFolder folder;
            const auto body = folder.path() / "body";
            test::writeFile(body, replaceControlGlyphs(file.substr(utf8Mark ? 3 : 0)));
            expected = convertFile(body, "UTF-8", "IBM437");
        }
        const DecodedText decoded = decodeUnicodeArt(file);
        if (expected) {
            ++decodedFiles;
            ASSERT_NE(decoded.form.encoding, TextEncoding::Bytes);
            EXPECT_TRUE(decoded.bytes == *expected);
            EXPECT_TRUE(encodeUnicodeArt(decoded.bytes, decoded.form) == file);
        } else {
            ++keptFiles;
            EXPECT_EQ(decoded.form.encoding, TextEncoding::Bytes);
            EXPECT_TRUE(decoded.bytes == file);
        }
    }
    if (decodedFiles == 0) {
        GTEST_SKIP() << "corpus not found";
    }
    EXPECT_GT(keptFiles, 0); // etripator.nfo and others hold characters beyond the glyphs
}

TEST(UnicodeArtTest, controlRangeGlyphsBecomeTheirBytesAndKeepTheirForm) {
    // ☺ ♥ ⌂ and a tab: bytes 1, 3, 127 and the tab, the tab staying a control.
    const std::string file = "\xE2\x98\xBA\xE2\x99\xA5\xE2\x8C\x82\t\xC3\xBC\r\n";
    const DecodedText decoded = decodeUnicodeArt(file);
    ASSERT_EQ(decoded.form.encoding, TextEncoding::Utf8);
    EXPECT_EQ(decoded.bytes, std::string("\x01\x03\x7F\t\x81\r\n"));
    EXPECT_EQ(encodeUnicodeArt(decoded.bytes, decoded.form), file);

    // The same byte as control and as glyph in one file cannot be written back apart.
    EXPECT_EQ(decodeUnicodeArt("\x01\xE2\x98\xBA\xC3\xA9").form.encoding, TextEncoding::Bytes);
    // A file that wrote its ESC bytes as controls keeps them so; a new byte 1 is a smiley.
    const DecodedText ansi = decodeUnicodeArt("\x1B[0m\xE2\x96\x88");
    ASSERT_EQ(ansi.form.encoding, TextEncoding::Utf8);
    EXPECT_EQ(encodeUnicodeArt("\x1B\x01", ansi.form), "\x1B\xE2\x98\xBA");
}

TEST(UnicodeArtTest, filesThatAreNotUnicodeArtStayAsTheyAre) {
    const std::string cases[] = {
        "plain ASCII only\r\n",
        "caf\xC3\xA9 \xE4\xB8\xAD",          // a CJK character has no glyph
        "box \xE2\x94\x80 then \xB0",        // a lone invalid byte after valid UTF-8
        "\xC3",                              // cut short
        "\xC0\xAF",                          // overlong '/'
        "\xED\xA0\x80",                      // an encoded surrogate
        "\xF0\x9F\x98\x80",                  // valid, beyond the glyphs
        "\xEF\xBB\xBF\xEF\xBB\xBFtwo marks", // the second mark is a character without glyph
        "\xFF\xFE\x41",                      // UTF-16 of odd length
        "\xFE\xFF\xD8\x3D\xDE\x00",          // a surrogate pair
        "\xDB\xB2\xB1\xB0",                  // code page 437 art
        "\xE2\x99\xAA\n",                    // the glyph of CR would end the line
        "\xE2\x97\x99 x\r\n",                // so would the glyph of LF
        "",
    };
    for (const std::string& file : cases) {
        SCOPED_TRACE(file);
        const DecodedText decoded = decodeUnicodeArt(file);
        EXPECT_EQ(decoded.form.encoding, TextEncoding::Bytes);
        EXPECT_EQ(decoded.bytes, file);
    }
}

TEST(UnicodeArtTest, writingBackKeepsLineEndsAcrossSplitPieces) {
    struct Case {
        std::string file;
        LineEndStyle style;
    };
    const Case cases[] = {{"\xE2\x96\x88\na\n", LineEndStyle::Lf},
                          {"\xE2\x96\x88\ra\r", LineEndStyle::Cr},
                          {"\xE2\x96\x88\r\na\r\n", LineEndStyle::CrLf}};
    for (const Case& c : cases) {
        const DecodedText decoded = decodeUnicodeArt(c.file);
        ASSERT_EQ(decoded.form.encoding, TextEncoding::Utf8);
        EXPECT_EQ(decoded.form.lineEnds, c.style);
        // The document writes CR LF breaks, here split between two pieces.
        UnicodeEncoder encoder(decoded.form);
        std::string out;
        encoder.encode("\xDB\r", out);
        encoder.encode("\na\r", out);
        encoder.encode("\n", out);
        encoder.finish(out);
        EXPECT_EQ(out, c.file);
    }
    // A CR at the very end that no LF follows is written as it stands.
    UnicodeForm lf;
    lf.encoding = TextEncoding::Utf16Le;
    lf.lineEnds = LineEndStyle::Lf;
    EXPECT_EQ(encodeUnicodeArt("a\r", lf), std::string("a\0\r\0", 4));
}

TEST(UnicodeArtTest, everyGlyphMapsBackToItsByte) {
    // From the converter's side: every byte 128..255 through its code page 437 table.
    if (!converterAvailable()) {
        GTEST_SKIP() << "no code page 437 converter on this system";
    }
    const test::TempFolder folder;
    const auto path = folder.path() / "high";
    std::string high;
    for (int b = 128; b < 256; ++b) {
        high.push_back(static_cast<char>(b));
    }
    test::writeFile(path, high);
    const std::optional<std::string> utf8 = convertFile(path, "IBM437", "UTF-8");
    ASSERT_TRUE(utf8);
    const std::optional<DecodedText> decoded = decodeUtf8Art(*utf8);
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->bytes.size(), 128u);
    for (int b = 128; b < 256; ++b) {
        EXPECT_EQ(static_cast<unsigned char>(decoded->bytes[b - 128]), b);
    }
}

// Art files usually open with a title in plain letters: the UTF-8 choice must read them as
// it reads a file that opens with a glyph (the expected bytes are the converter's).
TEST(UnicodeArt, utf8ChoiceReadsArtThatBeginsWithAsciiLetters) {
    if (!converterAvailable()) {
        GTEST_SKIP() << "no code page 437 converter on this system";
    }
    const test::TempFolder folder;
    const auto path = folder.path() / "titled";
    const std::string cp437 = "Title\r\n\xDB\xB0\xC9\xCD\r\nend";
    test::writeFile(path, cp437);
    const std::optional<std::string> utf8 = convertFile(path, "IBM437", "UTF-8");
    ASSERT_TRUE(utf8);
    const std::optional<DecodedText> decoded = decodeUtf8Art(*utf8);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->bytes, cp437);
    EXPECT_EQ(decodeAsChosen(*utf8, EncodingChoice::Utf8).form.encoding, TextEncoding::Utf8);
    // Not UTF-8 after its ASCII start: refused, as before.
    EXPECT_FALSE(decodeUtf8Art("Title\r\n\xDB\xB0"));
}

} // namespace
} // namespace tavrel
