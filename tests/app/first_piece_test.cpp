// The first screen of a large file: for every place the first read could end, the paragraphs
// shown early are exactly the first paragraphs of the whole load, as the plain rules give them
// (cut at a NUL, the literal line-end repair, breaks split one by one) and as the program's own
// load of the whole file gives them; and a first piece is offered where the file allows one.
#include "app/first_piece.h"

#include "app/file_load.h"
#include "editor/document.h"
#include "line_ends_reference.h"
#include "support/corpus.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace tavrel::test {
namespace {

// The paragraphs of a text by the plain rules: CR LF and LF CR are one break, a lone CR or LF
// is one; every other byte, NUL included, is text. Repaired first when asked.
std::vector<std::string> plainParagraphs(std::string bytes, bool repair) {
    if (repair) {
        bytes = literalLineEndRepair(bytes);
    }
    std::vector<std::string> out(1);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            out.back() += c;
            continue;
        }
        out.emplace_back();
        if (i + 1 < bytes.size() && bytes[i + 1] == (c == '\r' ? '\n' : '\r')) {
            ++i;
        }
    }
    return out;
}

std::vector<std::string> paragraphsOf(Document& document) {
    std::vector<std::string> out;
    for (Pos p = 0; p < document.paragraphCount(); ++p) {
        out.emplace_back(document.paragraph(p));
    }
    return out;
}

// The whole file loaded by the program, as the window loads a small file.
std::vector<std::string> loadedParagraphs(const std::string& bytes, const FileLoadRules& rules) {
    TempFolder folder;
    const std::string path = folder.folderText() + "file.nfo";
    std::ofstream(path, std::ios::binary) << bytes;
    FileLoad load(path, rules);
    load.run();
    EXPECT_EQ(load.status(), FileLoad::Status::Done);
    return paragraphsOf(load.document());
}

struct Outcome {
    int offered = 0;         // cuts that gave a first piece
    std::size_t longest = 0; // its most paragraphs
};

// Every cut of `bytes` from 1 to its length: a first piece, when there is one, is a leading
// run of `whole`'s paragraphs.
Outcome checkEveryCut(const std::string& bytes, const FileLoadRules& rules,
                      const std::vector<std::string>& whole) {
    Outcome outcome;
    for (std::size_t cut = 1; cut <= bytes.size(); ++cut) {
        const auto text = firstPieceText(std::string_view(bytes).substr(0, cut), rules);
        if (!text) {
            continue;
        }
        Document piece;
        piece.load(std::string(*text), !rules.convert && rules.discardTrailing);
        const std::vector<std::string> shown = paragraphsOf(piece);
        ++outcome.offered;
        outcome.longest = std::max(outcome.longest, shown.size());
        EXPECT_LE(shown.size(), whole.size()) << "cut " << cut;
        for (std::size_t p = 0; p < shown.size() && p < whole.size(); ++p) {
            if (shown[p] != whole[p]) {
                ADD_FAILURE() << "cut " << cut << " paragraph " << p << ": \"" << shown[p]
                              << "\" instead of \"" << whole[p] << "\"";
                return outcome;
            }
        }
    }
    return outcome;
}

std::string lines(int count, const std::string& end) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += "Line " + std::to_string(i) + " of text" + end;
    }
    return out;
}

TEST(FirstPiece, crLfLinesGiveEveryParagraphThatEndedBeforeTheCut) {
    // Fixed-length lines: a cut at k leaves (k - 1) / 12 whole paragraphs before it, whether
    // it falls inside a CR LF, just after it or inside a line.
    std::string bytes;
    for (int i = 0; i < 200; ++i) {
        bytes += "line " + std::string(1, char('a' + i % 26)) + "....\r\n";
    }
    ASSERT_EQ(bytes.size(), 200u * 12);
    const FileLoadRules rules;
    const auto whole = plainParagraphs(bytes, true);
    ASSERT_EQ(whole, loadedParagraphs(bytes, rules));
    checkEveryCut(bytes, rules, whole);
    for (std::size_t cut : {13u, 23u, 24u, 25u, 1211u, 1212u, 1213u}) {
        const auto text = firstPieceText(std::string_view(bytes).substr(0, cut), rules);
        ASSERT_TRUE(text) << cut;
        Document piece;
        piece.load(std::string(*text));
        EXPECT_EQ(piece.paragraphCount(), static_cast<Pos>((cut - 1) / 12)) << cut;
    }
    EXPECT_FALSE(firstPieceText(std::string_view(bytes).substr(0, 12), rules))
        << "the paragraph after the first break has not begun";
    EXPECT_FALSE(firstPieceText({}, FileLoadRules{true, false, EncodingChoice::Cp437}));
}

TEST(FirstPiece, repairedBreaksMatchTheWholeLoadAtEveryCut) {
    const std::vector<std::string> texts = {
        lines(60, "\n"),                                  // Unix: expanded in the whole
        lines(30, "\n") + "a\r\nb\r\n" + lines(30, "\n"), // CR LF later: no expansion
        lines(20, "\r\r\n") + lines(20, "\r\r\r\n") + "\r\r\r\r\n" + lines(20, "\r\n"),
        lines(20, "\r") + lines(20, "\n\r") + lines(5, "\r\n"), // LF CR before the first CR LF
        lines(20, "\n\n\r") + lines(20, "\r\n"),
        "\r\n\r\n" + lines(30, "\r\n\r\n") + "\r\r",
    };
    for (const bool convert : {true, false}) {
        for (const std::string& bytes : texts) {
            const FileLoadRules rules{convert, !convert, EncodingChoice::Automatic};
            std::vector<std::string> whole = loadedParagraphs(bytes, rules);
            if (convert) {
                ASSERT_EQ(whole, plainParagraphs(bytes, true));
            }
            const Outcome outcome = checkEveryCut(bytes, rules, whole);
            EXPECT_GT(outcome.offered, 0) << bytes.substr(0, 40);
        }
    }
}

TEST(FirstPiece, nulBytesInTheHeadAreTextAndTheTextGoesOnAfterThem) {
    const std::string nuls(8, '\0');
    const std::string bytes = nuls + lines(10, "\r\n") + "tail" + nuls + lines(10, "\r\n");
    const FileLoadRules rules;
    const auto whole = loadedParagraphs(bytes, rules);
    ASSERT_EQ(whole, plainParagraphs(bytes, true));
    ASSERT_EQ(whole.front(), nuls + "Line 0 of text");
    const Outcome outcome = checkEveryCut(bytes, rules, whole);
    EXPECT_GT(outcome.longest, 11u) << "pieces reach past the paragraph with NULs inside";
}

TEST(FirstPiece, encodingIsDecidedFromTheHeadOnlyWhereTheWholeFileAgrees) {
    // Plain ASCII reads the same either way, even when the file turns out to be UTF-8 art.
    const std::string art =
        lines(40, "\r\n") + "\xE2\x96\x88\xE2\x96\x91 art\r\n" + lines(5, "\r\n");
    const FileLoadRules automatic;
    const auto decoded = loadedParagraphs(art, automatic);
    ASSERT_EQ(decoded[40], "\xDB\xB0 art") << "the file is read as UTF-8 art";
    Outcome outcome = checkEveryCut(art, automatic, decoded);
    EXPECT_GE(outcome.longest, 39u);
    // A head that is valid art so far leaves the decision to the whole file.
    const std::size_t inArt = art.find("\xE2\x96\x91") + 2; // cut inside a sequence as well
    EXPECT_FALSE(firstPieceText(std::string_view(art).substr(0, inArt + 6), automatic));
    EXPECT_FALSE(firstPieceText(std::string_view(art).substr(0, inArt), automatic));

    // A Windows-1252 byte early means the file is never UTF-8: bytes from the head on, also
    // where the head's end cuts a sequence that would have been valid.
    const std::string bytes =
        "caf\xE9\r\n" + lines(20, "\r\n") + "\xE2\x96\x88\r\n" + lines(5, "\r\n");
    const auto asBytes = loadedParagraphs(bytes, automatic);
    ASSERT_EQ(asBytes[0], "caf\xE9");
    outcome = checkEveryCut(bytes, automatic, asBytes);
    EXPECT_GE(outcome.longest, 21u);
    EXPECT_TRUE(
        firstPieceText(std::string_view(bytes).substr(0, bytes.find("\xE2") + 2), automatic));

    // Marks and UTF-16 are left to the whole file; a chosen code page never needs it.
    EXPECT_FALSE(headKeepsItsBytes("\xEF\xBB\xBFtext\r\n", EncodingChoice::Automatic));
    EXPECT_FALSE(headKeepsItsBytes("\xFF\xFEt\0e\0", EncodingChoice::Automatic));
    EXPECT_FALSE(headKeepsItsBytes("text\r\n", EncodingChoice::Utf16));
    EXPECT_TRUE(headKeepsItsBytes("\xE2\x96\x88\r\n", EncodingChoice::Cp437));
    EXPECT_FALSE(headKeepsItsBytes("\xE2\x96\x88\r\n", EncodingChoice::Utf8));
}

// The load's own first piece comes from its first read of 8 MB: here the read ends between a
// CR and its LF, and inside a UTF-8 sequence of an art file.
TEST(FirstPiece, theLoadPublishesItsFirstPieceOnceFromTheFirstRead) {
    constexpr std::size_t kRead = std::size_t(8) << 20;
    TempFolder folder;
    const std::string line = "0123456789 first piece line\r\n"; // 29 bytes
    std::string bytes;
    while (bytes.size() + line.size() <= kRead + 1) {
        bytes += line;
    }
    // Move the end of the first read in between the CR and the LF of a line.
    bytes.insert(0, std::string(kRead - 1 - (bytes.rfind('\r', kRead)), 'x'));
    ASSERT_EQ(bytes[kRead - 1], '\r');
    ASSERT_EQ(bytes[kRead], '\n');
    bytes += bytes.substr(0, 1 << 20);
    const std::string path = folder.folderText() + "big.nfo";
    std::ofstream(path, std::ios::binary) << bytes;

    FileLoad load(path, FileLoadRules{});
    int calls = 0;
    load.onFirstPiece = [&] { ++calls; };
    load.run();
    ASSERT_EQ(load.status(), FileLoad::Status::Done);
    ASSERT_EQ(calls, 1);
    const auto shown = paragraphsOf(load.firstPiece());
    const auto whole = plainParagraphs(bytes, true);
    // The paragraph whose CR LF the read cut in two is not complete yet.
    const std::size_t complete = static_cast<std::size_t>(
        std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(kRead), '\n'));
    ASSERT_EQ(shown.size(), complete);
    EXPECT_TRUE(std::equal(shown.begin(), shown.end(), whole.begin()));

    // UTF-8 art: the first read ends inside a glyph; the file might still turn out to be
    // art or not, so nothing is shown early, and the whole is decoded.
    std::string art = "\xE2\x96\x88 art\r\n";
    while (art.size() < kRead + (1 << 20)) {
        art += "\xE2\x96\x91\xE2\x96\x92 more art\r\n";
    }
    const std::string artPath = folder.folderText() + "art.nfo";
    std::ofstream(artPath, std::ios::binary) << art;
    FileLoad artLoad(artPath, FileLoadRules{});
    calls = 0;
    artLoad.onFirstPiece = [&] { ++calls; };
    artLoad.run();
    ASSERT_EQ(artLoad.status(), FileLoad::Status::Done);
    EXPECT_EQ(artLoad.form().encoding, TextEncoding::Utf8);
    EXPECT_EQ(calls, 0);

    // ANSI art: its escape sequences are not what is shown, so nothing shows early either.
    std::string ansi = "\x1B[1;31m";
    while (ansi.size() < kRead + (1 << 20)) {
        ansi += "red line\r\n";
    }
    const std::string ansiPath = folder.folderText() + "red.nfo";
    std::ofstream(ansiPath, std::ios::binary) << ansi;
    FileLoad ansiLoad(ansiPath, FileLoadRules{});
    calls = 0;
    ansiLoad.onFirstPiece = [&] { ++calls; };
    ansiLoad.run();
    ASSERT_EQ(ansiLoad.status(), FileLoad::Status::Done);
    EXPECT_TRUE(ansiLoad.art().isAnsi());
    EXPECT_EQ(calls, 0);
}

TEST(FirstPiece, corpusFilesCutAnywhereShowOnlyTheirOwnFirstParagraphs) {
    const auto files = corpusFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no corpus at " << corpusDir();
    }
    int offered = 0;
    for (const auto& path : files) {
        if (path.extension() == ".ans") {
            continue; // drawn ANSI art shows no first piece (see the load's own test above)
        }
        const std::string bytes = readFile(path);
        for (const EncodingChoice encoding :
             {EncodingChoice::Automatic, EncodingChoice::Cp437, EncodingChoice::Utf8}) {
            for (const bool convert : {true, false}) {
                SCOPED_TRACE(path.string() + (convert ? " converted" : " as it is") + ", choice " +
                             std::to_string(static_cast<int>(encoding)));
                const FileLoadRules rules{convert, !convert, encoding};
                FileLoad load(path.string(), rules);
                load.run();
                ASSERT_EQ(load.status(), FileLoad::Status::Done);
                const std::vector<std::string> whole = paragraphsOf(load.document());
                // Cuts spread over the file and right around its first breaks.
                std::vector<std::size_t> cuts;
                for (std::size_t k = 1; k <= 40; ++k) {
                    cuts.push_back(bytes.size() * k / 40);
                }
                for (std::size_t i = 0, found = 0; i < bytes.size() && found < 20; ++i) {
                    if (bytes[i] == '\r' || bytes[i] == '\n') {
                        ++found;
                        cuts.insert(cuts.end(), {i, i + 1, i + 2, i + 3});
                    }
                }
                for (const std::size_t cut : cuts) {
                    const auto text = firstPieceText(
                        std::string_view(bytes).substr(0, std::min(cut, bytes.size())), rules);
                    if (!text) {
                        continue;
                    }
                    ++offered;
                    Document piece;
                    piece.load(std::string(*text), !convert);
                    const std::vector<std::string> shown = paragraphsOf(piece);
                    ASSERT_LE(shown.size(), whole.size()) << "cut " << cut;
                    ASSERT_TRUE(std::equal(shown.begin(), shown.end(), whole.begin()))
                        << "cut " << cut;
                }
            }
        }
    }
    EXPECT_GT(offered, 0);
}

} // namespace
} // namespace tavrel::test
