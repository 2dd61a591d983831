// "tavrel --cat" run as a shell runs it: every corpus file drawn only with glyphs (no control
// bytes but tab, CR and LF) comes out as iconv's UTF-8 of its code page 437 bytes (or its own
// UTF-8, for the files the window reads as Unicode art), with the line ends repaired and each
// paragraph break written CR LF; a pipe reads the same; a file that cannot be read is one line.
#include "line_ends_reference.h"
#include "program_run.h"
#include "support/charset_converter.h"
#include "support/corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>

namespace tavrel::test {
namespace {

bool onlyGlyphsTabsAndBreaks(const std::string& bytes) {
    return std::none_of(bytes.begin(), bytes.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 32 && c != '\t' && c != '\r' && c != '\n') || byte == 127;
    });
}

// Paragraph breaks as the document counts them (CR LF, LF CR, a lone CR or LF), each written
// CR LF.
std::string breaksAsCrLf(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            out += c;
            continue;
        }
        const char pair = c == '\r' ? '\n' : '\r';
        if (i + 1 < text.size() && text[i + 1] == pair) {
            ++i;
        }
        out += "\r\n";
    }
    return out;
}

// The PC's glyphs of bytes 1 to 31 and 127, which iconv's code page 437 reads as controls.
constexpr std::string_view kControlGlyphs[] = {
    "\u263A", "\u263B", "\u2665", "\u2666", "\u2663", "\u2660", "\u2022", "\u25D8",
    "\u25CB", "\u25D9", "\u2642", "\u2640", "\u266A", "\u266B", "\u263C", "\u25BA",
    "\u25C4", "\u2195", "\u203C", "\u00B6", "\u00A7", "\u25AC", "\u21A8", "\u2191",
    "\u2193", "\u2192", "\u2190", "\u221F", "\u2194", "\u25B2", "\u25BC", "\u2302"};

// Whether every character of UTF-8 `text` has a code page 437 glyph, by iconv.
bool codePage437Shows(std::string text, const TempFolder& folder) {
    for (const std::string_view glyph : kControlGlyphs) {
        for (std::size_t at; (at = text.find(glyph)) != std::string::npos;) {
            text.replace(at, glyph.size(), "?");
        }
    }
    const std::string probe = folder / "probe.txt";
    writeFile(probe, text);
    return convertFile(probe, "UTF-8", "CP437").has_value();
}

// What the window shows of the file, in UTF-8: a UTF-8 file (a mark is optional) with
// characters beyond ASCII that code page 437 can all show is read as its text without the
// mark; any other file is its code page 437 bytes.
std::string expectedText(const std::filesystem::path& file, const TempFolder& folder) {
    const std::string bytes = readFile(file);
    const bool nonAscii = std::any_of(bytes.begin(), bytes.end(),
                                      [](char c) { return static_cast<unsigned char>(c) > 127; });
    const std::string text = bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? bytes.substr(3) : bytes;
    std::optional<std::string> shown;
    if (nonAscii && convertFile(file, "UTF-8", "UTF-8") && codePage437Shows(text, folder)) {
        shown = text;
    } else {
        shown = convertFile(file, "CP437", "UTF-8");
    }
    return shown ? breaksAsCrLf(literalLineEndRepair(*shown)) : std::string("(iconv refused)");
}

TEST(CatProcess, eachCorpusFileOfGlyphsIsIconvsTextWithTheWindowsLineEnds) {
    if (!converterAvailable()) {
        GTEST_SKIP() << "no iconv";
    }
    TempFolder folder;
    int compared = 0;
    for (const std::filesystem::path& file : corpusFiles()) {
        if (!onlyGlyphsTabsAndBreaks(readFile(file))) {
            continue;
        }
        const ProgramRun run = runProgram(folder, "--cat " + quoted(file.string()));
        ASSERT_EQ(run.status, 0) << file << ": " << run.err;
        EXPECT_TRUE(run.out == expectedText(file, folder)) << file << " differs";
        ++compared;
    }
    EXPECT_GE(compared, 40) << "the corpus is not there";
}

TEST(CatProcess, standardInputThroughAPipeGivesTheFilesText) {
    TempFolder folder;
    const std::string file = (corpusDir() / "nfo/up17pce.nfo").string();
    const ProgramRun piped = runProgram(folder, "--cat -", "cat " + quoted(file) + " |");
    ASSERT_EQ(piped.status, 0) << piped.err;
    EXPECT_TRUE(piped.out == expectedText(file, folder));
}

TEST(CatProcess, aFileThatCannotBeReadIsOneLineAndStatusOne) {
    TempFolder folder;
    for (const std::string& name : {folder / "missing.nfo", folder.path().string()}) {
        const ProgramRun run = runProgram(folder, "--cat " + quoted(name));
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_TRUE(run.out.empty()) << name;
        EXPECT_NE(run.err.find(name), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
}

} // namespace
} // namespace tavrel::test
