// Edited paragraphs keep a gap at the last edit: whatever the edits, every way of reading
// the text (whole paragraphs, parts, halves, bytes, ranges, writing, undo, the display lines)
// must see exactly what a plain string edited the same way holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "editor/document.h"
#include "editor/layout_test_support.h"
#include "editor/text_engine.h"
#include "editor/wrapped_layout.h"

namespace tavrel {
namespace {

// The model's paragraphs: inserted and loaded texts here break with CR LF only.
std::vector<std::string> splitModel(const std::string& model) {
    std::vector<std::string> out(1);
    for (std::size_t i = 0; i < model.size(); ++i) {
        if (model[i] == '\r' && i + 1 < model.size() && model[i + 1] == '\n') {
            out.emplace_back();
            ++i;
        } else {
            out.back().push_back(model[i]);
        }
    }
    return out;
}

// A position between CR and LF stands for the end of the paragraph before.
Pos normalised(const std::string& model, Pos p) {
    if (p > 0 && p < static_cast<Pos>(model.size()) && model[p - 1] == '\r' && model[p] == '\n') {
        --p;
    }
    return p;
}

std::string letters(std::mt19937& random, std::size_t n) {
    static const char kBytes[] = "abcd efg\txyz\xDB\xB0 ";
    std::string out(n, ' ');
    for (char& c : out) {
        c = kBytes[random() % (sizeof(kBytes) - 1)];
    }
    return out;
}

std::string trimmedParagraphs(const std::string& model) {
    std::string out;
    const std::vector<std::string> paras = splitModel(model);
    for (std::size_t i = 0; i < paras.size(); ++i) {
        const std::size_t end = paras[i].find_last_not_of(" \t");
        out += paras[i].substr(0, end == std::string::npos ? 0 : end + 1);
        out += i + 1 < paras.size() ? "\n" : "";
    }
    return out;
}

// Every reader, against the model.
void expectSameText(Document& d, const std::string& model, std::mt19937& random) {
    const std::vector<std::string> paras = splitModel(model);
    ASSERT_EQ(d.paragraphCount(), static_cast<Pos>(paras.size()));
    ASSERT_EQ(d.charCount(), static_cast<Pos>(model.size()));
    // Parts and halves first: they must not need the gap closed to be right.
    for (int i = 0; i < 4; ++i) {
        const Pos p = static_cast<Pos>(random() % paras.size());
        const std::string& para = paras[static_cast<std::size_t>(p)];
        const Pos a = static_cast<Pos>(random() % (para.size() + 1));
        const Pos b = a + static_cast<Pos>(random() % (para.size() - a + 1));
        ASSERT_EQ(d.paragraphPart(p, a, b),
                  para.substr(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a)));
        const Document::Halves h = d.paragraphHalves(p);
        ASSERT_EQ(std::string(h.first) + std::string(h.second), para);
        const Pos at = static_cast<Pos>(random() % (model.size() + 1));
        ASSERT_EQ(d.charAt(at), at < static_cast<Pos>(model.size()) ? model[at] : '\0');
        const Pos from = static_cast<Pos>(random() % (model.size() + 1));
        const Pos to = from + static_cast<Pos>(random() % 5000);
        ASSERT_EQ(d.textRange(from, to), model.substr(static_cast<std::size_t>(from),
                                                      static_cast<std::size_t>(to - from)));
    }
    if (random() % 4 == 0) {
        std::string written;
        const bool trim = random() % 2 == 0;
        ASSERT_TRUE(d.write(
            [&](const char* data, std::size_t size) {
                written.append(data, size);
                return true;
            },
            LineBreak::Lf, trim));
        std::string expected = trim ? trimmedParagraphs(model) : model;
        if (!trim) {
            for (std::size_t at = expected.find("\r\n"); at != std::string::npos;
                 at = expected.find("\r\n", at)) {
                expected.erase(at, 1);
            }
        }
        ASSERT_EQ(written, expected);
    }
    if (random() % 3 == 0) {
        const Pos p = static_cast<Pos>(random() % paras.size());
        ASSERT_EQ(d.paragraph(p), paras[static_cast<std::size_t>(p)]);
    }
}

class DocumentGap : public testing::TestWithParam<int> {};

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer build runs these edits some forty times slower; fewer steps per seed there
// still walk every kind of edit, and the other build runs them all.
constexpr int kSteps = 75;
#else
constexpr int kSteps = 300;
#endif

// Runs of typing, Backspace and Delete at one place (the gap's own path), jumps, pastes
// with breaks that split and join paragraphs, and large pastes kept as shared chunks.
TEST_P(DocumentGap, randomEditsReadLikeAPlainString) {
    std::mt19937 random(static_cast<unsigned>(GetParam()));
    std::string model = letters(random, 60000) + "\r\nshort\r\n\r\n" + letters(random, 3000);
    Document d;
    d.load(std::string(model));
    for (int step = 0; step < kSteps; ++step) {
        Pos at = normalised(model, static_cast<Pos>(random() % (model.size() + 1)));
        const int kind = static_cast<int>(random() % 10);
        if (kind < 6) {
            for (int key = static_cast<int>(random() % 40); key > 0; --key) {
                const int which = static_cast<int>(random() % 6);
                const auto size = static_cast<Pos>(model.size());
                Pos a = at;
                Pos b = at;
                std::string text;
                if (which == 0 && at > 0) { // Backspace
                    a = normalised(model, at - 1 - (model[at - 1] == '\n' ? 1 : 0));
                } else if (which == 1 && at < size) { // Delete
                    b = model.compare(at, 2, "\r\n") == 0 ? at + 2 : at + 1;
                } else {
                    text = which == 2 ? " " : std::string(1, static_cast<char>('a' + step % 26));
                }
                d.replace(a, b, std::string_view(text));
                model.replace(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a), text);
                at = a + static_cast<Pos>(text.size());
            }
        } else {
            const Pos b = normalised(
                model, std::min<Pos>(static_cast<Pos>(model.size()),
                                     at + static_cast<Pos>(random() % (kind == 9 ? 20000 : 50))));
            const std::size_t longest = kind == 8 ? 3000 : 30;
            std::string text = letters(random, random() % longest);
            for (int i = 0; i < (kind == 6 ? 0 : 20); ++i) {
                text += "\r\n" + letters(random, random() % longest);
            }
            d.replace(at, b, std::string_view(text));
            model.replace(static_cast<std::size_t>(at), static_cast<std::size_t>(b - at), text);
        }
        expectSameText(d, model, random);
        if (HasFatalFailure()) {
            FAIL() << "seed " << GetParam() << " step " << step;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, DocumentGap, testing::Range(1, 13));

// Each edit its own undo step; every undo and redo must give back the text of that moment,
// with the gap wherever the edits left it.
TEST(DocumentGapUndo, undoAndRedoInALongParagraphRestoreEveryStep) {
    std::mt19937 random(7);
    TextEngine e;
    e.setUndoMaxLevel(100000);
    e.setUndoMaxSpace(0);
    std::string model = letters(random, 100000);
    e.loadBytes(std::string(model));
    std::vector<std::string> history{model};
    Pos at = 50000;
    for (int step = 0; step < 200; ++step) {
        if (random() % 8 == 0) {
            at = normalised(model, static_cast<Pos>(random() % (model.size() + 1)));
        }
        const Pos stop =
            normalised(model, std::min<Pos>(static_cast<Pos>(model.size()), at + random() % 3));
        const std::string text = random() % 10 == 0 ? "a\r\nb" : letters(random, random() % 3);
        if (stop == at && text.empty()) {
            continue; // no change, no undo step
        }
        e.breakUndoGroup();
        e.select(at, stop);
        e.setSelText(text);
        model.replace(static_cast<std::size_t>(at), static_cast<std::size_t>(stop - at), text);
        at = normalised(model, at + static_cast<Pos>(text.size()));
        history.push_back(model);
        ASSERT_EQ(e.document().text(), model) << "step " << step;
        // The bytes around the caret, read as a view does after a key.
        const std::size_t begin =
            model.rfind("\r\n", static_cast<std::size_t>(std::max<Pos>(at - 1, 0)));
        const std::size_t paraStart = begin == std::string::npos || at == 0 ? 0 : begin + 2;
        const Pos offset = at - static_cast<Pos>(paraStart);
        const std::string para = splitModel(model)[static_cast<std::size_t>(std::count(
            model.begin(), model.begin() + static_cast<std::ptrdiff_t>(paraStart), '\n'))];
        const Pos from = std::max<Pos>(0, offset - 10);
        ASSERT_EQ(
            e.document().paragraphPart(e.document().paragraphAt(at), offset - 10, offset + 10),
            para.substr(static_cast<std::size_t>(from),
                        static_cast<std::size_t>(offset + 10 - from)))
            << "step " << step;
    }
    for (std::size_t i = history.size() - 1; i > 0; --i) {
        e.undo();
        ASSERT_EQ(e.document().text(), history[i - 1]) << "undo to " << i - 1;
    }
    for (std::size_t i = 1; i < history.size(); ++i) {
        e.redo();
        ASSERT_EQ(e.document().text(), history[i]) << "redo to " << i;
    }
    EXPECT_EQ(e.consistencyCheck(), "");
}

// The display lines after typing in a long paragraph are those a breaker run over the whole
// text gives, also where a blank run or a word is longer than the stretch first read; and
// rebreaking reads around the edit only, so the gap stays at the caret.
TEST(DocumentGapLayout, typingKeepsTheLinesOfTheWholeTextAndTheGapAtTheCaret) {
    std::mt19937 random(11);
    std::string para = letters(random, 30000) + std::string(9000, ' ') + letters(random, 2000) +
                       std::string(12000, 'W') + letters(random, 30000);
    Document d;
    d.load(std::string(para));
    WrappedLayout layout(d, test::unitMetrics());
    layout.setWrap(true, 37);
    layout.formatAll();
    const std::vector<Pos> places = {29995, 30001, 35000, 39500, 41000, 47000, 80000};
    for (const Pos place : places) {
        for (int key = 0; key < 6; ++key) {
            const Pos at = place + key;
            const std::string text = key == 3 ? " " : "k";
            layout.textChanged(d.replace(at, at, std::string_view(text)));
            para.insert(static_cast<std::size_t>(at), text);
            // Closing the gap would put it at an end of the paragraph, tens of KB away.
            const auto gap = static_cast<Pos>(d.paragraphHalves(0).first.size());
            ASSERT_LT(std::abs(gap - (at + 1)), 8192)
                << "rebreaking at " << at << " closed the gap";
        }
        std::vector<Pos> expected;
        Pos s = 0;
        for (const std::string& line : test::breakAll(para, 37, test::unitWidths())) {
            expected.push_back(s);
            s += static_cast<Pos>(line.size());
        }
        std::vector<Pos> actual;
        for (Pos sub = 0; sub < layout.lineCountOf(0); ++sub) {
            actual.push_back(layout.lineStart(0, sub));
        }
        ASSERT_EQ(actual, expected) << "after typing at " << place;
    }
}

// After closeGaps no read moves a byte: a second thread may read the text while the first
// paints (a long save), which holds only when every edited paragraph lies in one piece.
TEST(DocumentGap, afterClosingTheGapsReadsMoveNothing) {
    const std::string long1(20000, 'a');
    const std::string long2(30000, 'b');
    Document d;
    d.load(long1 + "\r\n" + long2 + "\r\nshort");
    (void)d.replace(10000, 10000, std::string_view("XY"));
    (void)d.replace(20004 + 15000, 20004 + 15000, std::string_view("Z"));
    ASSERT_FALSE(d.paragraphHalves(0).second.empty()) << "the edit left no gap to close";
    d.closeGaps();
    for (Pos p = 0; p < d.paragraphCount(); ++p) {
        const Document::Halves before = d.paragraphHalves(p);
        EXPECT_TRUE(before.second.empty()) << "paragraph " << p << " is still in two pieces";
        (void)d.paragraphPart(p, 1, 3);
        (void)d.paragraph(p);
        EXPECT_EQ(d.paragraphHalves(p).first.data(), before.first.data());
    }
    EXPECT_EQ(d.text(), long1.substr(0, 10000) + "XY" + long1.substr(10000) + "\r\n" +
                            long2.substr(0, 15000) + "Z" + long2.substr(15000) + "\r\nshort");
}

// A read that may move a gap needs a document it may change; the readers that never move
// anything serve a const one, which threads may then share.
template <typename D>
concept ReadsWholeParagraph = requires(D& document) {
    document.paragraph(0);
};
template <typename D>
concept ReadsParagraphPart = requires(D& document) {
    document.paragraphPart(0, 0, 1);
};
static_assert(ReadsWholeParagraph<Document> && ReadsParagraphPart<Document>);
static_assert(!ReadsWholeParagraph<const Document> && !ReadsParagraphPart<const Document>);
static_assert(requires(const Document& document) {
    document.paragraphHalves(0);
    document.paragraphLength(0);
    document.textRange(0, 1);
});

// A paragraph number past the end stops the program with the reader and the number, in the
// release build too, instead of reading another allocation's bytes.
TEST(DocumentGapDeathTest, aParagraphOutsideTheDocumentStopsWithItsNumber) {
    const auto read = [](auto reader) {
        Document document;
        document.load(std::string("one\r\ntwo"));
        reader(document);
    };
    EXPECT_DEATH(read([](Document& d) { (void)d.paragraph(2); }),
                 "Document::paragraph\\(2\\) outside 0 \\.\\. 1");
    EXPECT_DEATH(read([](Document& d) { (void)d.paragraphPart(-1, 0, 1); }),
                 "Document::paragraphPart\\(-1\\)");
    EXPECT_DEATH(read([](Document& d) { (void)d.paragraphHalves(7); }),
                 "Document::paragraphHalves\\(7\\)");
    EXPECT_DEATH(read([](Document& d) { (void)d.paragraphLength(2); }),
                 "Document::paragraphLength\\(2\\)");
    EXPECT_DEATH(read([](Document& d) { (void)d.paragraphStart(3); }),
                 "Document::paragraphStart\\(3\\) outside 0 \\.\\. 2");
    // The end of the text is the start after the last paragraph.
    Document document;
    document.load(std::string("one\r\ntwo"));
    EXPECT_EQ(document.paragraphStart(2), document.charCount());
}

} // namespace
} // namespace tavrel
