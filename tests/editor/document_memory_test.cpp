// Memory of the paragraph store and the engine: large inserted texts are freed once no
// paragraph uses them, and running out of memory in a replace, a load or an undo leaves the
// document, the undo steps and the caller's text as they were.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "editor/document.h"
#include "editor/text_engine.h"
#include "support/memory_limit.h"

namespace tavrel {
namespace {

// n lines of `width` bytes each, CR LF after every line: a text whose paragraphs are easy
// to count and whose bytes say where they came from.
std::string lines(int n, int width, char fill) {
    std::string out;
    out.reserve(static_cast<std::size_t>(n) * (width + 2));
    for (int i = 0; i < n; ++i) {
        out.append(static_cast<std::size_t>(width), fill);
        out.append("\r\n");
    }
    return out;
}

// --- Freeing inserted texts -----------------------------------------------------------------

TEST(DocumentChunks, aPastedTextGoesWhenItIsDeletedAgain) {
    Document d;
    const std::string file = lines(20, 30, 'f');
    d.load(std::string(file));
    ASSERT_EQ(d.sharedChunkCount(), 1u);
    const std::string paste = lines(40, 20, 'p'); // 880 bytes, kept as a chunk of its own
    d.replace(64, 64, std::string(paste));
    EXPECT_EQ(d.sharedChunkCount(), 2u);
    EXPECT_EQ(d.sharedChunkBytes(), file.size() + paste.size());

    d.replace(64, 64 + static_cast<Pos>(paste.size()), std::string_view());
    EXPECT_EQ(d.text(), file);
    EXPECT_EQ(d.sharedChunkCount(), 1u);
    EXPECT_EQ(d.sharedChunkBytes(), file.size());
}

TEST(DocumentChunks, aChunkStaysWhileOneParagraphStillPointsIntoIt) {
    Document d;
    std::string model = "head\r\ntail";
    d.load(std::string(model));
    std::string paste;
    for (int i = 0; i < 30; ++i) {
        paste += "line " + std::to_string(100 + i) + " of the pasted text\r\n";
    }
    d.replace(6, 6, std::string(paste));
    model.insert(6, paste);
    ASSERT_EQ(d.sharedChunkCount(), 2u);

    // Everything of the paste but its third line goes: that line still lives in the chunk.
    const std::size_t third = paste.find("line 102");
    const std::size_t afterThird = paste.find("line 103");
    d.replace(6 + static_cast<Pos>(afterThird), 6 + static_cast<Pos>(paste.size()), "");
    d.replace(6, 6 + static_cast<Pos>(third), "");
    model.erase(6 + afterThird, paste.size() - afterThird);
    model.erase(6, third);
    EXPECT_EQ(d.text(), model);
    EXPECT_EQ(d.sharedChunkCount(), 2u);

    // Editing that line copies it into a buffer of its own; then the chunk goes.
    d.replace(6, 6, "x");
    model.insert(6, "x");
    EXPECT_EQ(d.text(), model);
    EXPECT_EQ(d.sharedChunkCount(), 1u);
}

TEST(DocumentChunks, aBigPasteCutDownToOneLineKeepsOnlyThatLine) {
    Document d;
    std::string model = "head\r\ntail";
    d.load(std::string(model));
    const std::string paste = lines(2000, 60, 'p'); // 124 000 bytes
    d.replace(6, 6, std::string(paste));
    model.insert(6, paste);
    // All but the paste's first line goes: the line is copied out and the chunk freed.
    d.replace(6 + 62, 6 + static_cast<Pos>(paste.size()), "");
    model.erase(6 + 62, paste.size() - 62);
    EXPECT_EQ(d.text(), model);
    EXPECT_EQ(d.sharedChunkCount(), 1u);
    EXPECT_EQ(d.sharedChunkBytes(), 10u);
    // A small paste is not worth the pass: it stays while a line of it is used.
    const std::string small = lines(100, 60, 's');
    d.replace(0, 0, std::string(small));
    d.replace(62, static_cast<Pos>(small.size()), "");
    model.insert(0, small.substr(0, 62));
    EXPECT_EQ(d.text(), model);
    EXPECT_EQ(d.sharedChunkCount(), 2u);
}

TEST(DocumentChunks, aTextCopiedIntoAnEditedParagraphLeavesNoChunk) {
    Document d;
    d.load(std::string("abc"));
    d.replace(1, 1, std::string(600, 'z')); // no break: merged into one edited paragraph
    EXPECT_EQ(d.text(), "a" + std::string(600, 'z') + "bc");
    // The only paragraph now has a buffer of its own: neither the paste nor the file's
    // bytes are needed any more.
    EXPECT_EQ(d.sharedChunkCount(), 0u);
}

TEST(DocumentChunks, randomEditsAgreeWithAPlainStringAndLeaveNothingOnceEmptied) {
    // Chunks are shared, cut down, compacted and dropped on the way; the text must never
    // notice.
    std::mt19937 random(20261207);
    Document d;
    std::string model = lines(200, 17, 'a');
    d.load(std::string(model));
    const char alphabet[] = "bcdefgh \r\n";
    for (int round = 0; round < 600; ++round) {
        const auto size = static_cast<Pos>(model.size());
        // Positions on CR LF boundaries only, so that the model needs no break rules.
        auto anyPosition = [&] {
            Pos p = std::uniform_int_distribution<Pos>(0, size)(random);
            while (p > 0 && p < size && model[static_cast<std::size_t>(p) - 1] == '\r') {
                --p;
            }
            return p;
        };
        Pos a = anyPosition();
        Pos b = anyPosition();
        if (b < a) {
            std::swap(a, b);
        }
        const int kind = std::uniform_int_distribution<int>(0, 4)(random);
        std::string text;
        if (kind == 4 && round % 10 == 0) {
            // Now and then a paste big enough to be compacted once mostly deleted.
            text = lines(std::uniform_int_distribution<int>(6000, 9000)(random), 9, 'B');
        } else if (kind == 0) {
            text = lines(std::uniform_int_distribution<int>(1, 60)(random), 9, 'L');
        } else if (kind == 1) {
            const int n = std::uniform_int_distribution<int>(0, 12)(random);
            for (int i = 0; i < n; ++i) {
                const char c = alphabet[random() % 8];
                text += c;
            }
            if (random() % 3 == 0) {
                text += "\r\n";
            }
        }
        model.replace(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a), text);
        d.replace(a, b, std::move(text));
        ASSERT_EQ(d.text(), model) << "round " << round;
        ASSERT_EQ(d.charCount(), static_cast<Pos>(model.size()));
    }
    d.replace(0, d.charCount(), "");
    EXPECT_EQ(d.sharedChunkCount(), 0u);
}

TEST(EngineChunks, pasteUndoRedoRoundsKeepOneCopyOfThePaste) {
    TextEngine engine;
    const std::string file = lines(500, 40, 'f');
    engine.loadBytes(std::string(file));
    const std::string paste = lines(3000, 60, 'p'); // 186 000 bytes
    engine.setSelStart(42 * 100);
    engine.setUndoMaxSpace(0);
    engine.setSelText(std::string(paste));
    for (int round = 0; round < 40; ++round) {
        engine.undo();
        ASSERT_EQ(engine.paragraphs().text(), file);
        engine.redo();
    }
    std::string expected = file;
    expected.insert(42 * 100, paste);
    EXPECT_EQ(engine.paragraphs().text(), expected);
    // The file and one paste at most; before, every round left another copy behind.
    EXPECT_LE(engine.document().sharedChunkBytes(), file.size() + paste.size());
}

// --- Running out of memory ------------------------------------------------------------------

#define SKIP_WITHOUT_ADDRESS_LIMIT()                                                               \
    if (const char* reason = test::memoryLimitSkipReason())                                        \
    GTEST_SKIP() << reason

// The child's verdict: 0 when every check held, else the number of the first that failed,
// with a line on standard error.
#define CHILD_CHECK(condition, code)                                                               \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "failed: %s\n", #condition);                                      \
            return code;                                                                           \
        }                                                                                          \
    } while (0)

int wholeReplaceUnderLimit() {
    Document d;
    const std::string old = lines(1000, 30, 'o');
    d.load(std::string(old));
    // 16 MB of empty lines: their paragraph records alone need 8 million * 24 bytes.
    std::string big = lines(8 << 20, 0, 'x');
    const std::size_t bigSize = big.size();
    CHILD_CHECK(test::limitAddressSpace(32 << 20), 1);
    bool threw = false;
    try {
        d.replace(0, d.charCount(), std::move(big));
    } catch (const std::bad_alloc&) {
        threw = true;
    }
    CHILD_CHECK(threw, 2);
    CHILD_CHECK(d.text() == old, 3);
    CHILD_CHECK(d.paragraphCount() == 1001, 4);
    CHILD_CHECK(big.size() == bigSize, 5); // the caller still has its text
    // The document still edits.
    d.replace(0, 0, "ok ");
    CHILD_CHECK(d.text() == "ok " + old, 6);
    CHILD_CHECK(test::liftAddressSpaceLimit(), 7);
    d.replace(0, d.charCount(), std::move(big));
    CHILD_CHECK(d.paragraphCount() == (8 << 20) + 1, 8);
    return 0;
}

TEST(DocumentOutOfMemory, aWholeReplaceThatDoesNotFitKeepsTheOldText) {
    SKIP_WITHOUT_ADDRESS_LIMIT();
    EXPECT_EXIT(std::_Exit(wholeReplaceUnderLimit()), testing::ExitedWithCode(0), "");
}

int loadUnderLimit() {
    Document d;
    const std::string old = lines(1000, 30, 'o');
    d.load(std::string(old));
    std::string big = lines(8 << 20, 0, 'y');
    CHILD_CHECK(test::limitAddressSpace(32 << 20), 1);
    bool threw = false;
    try {
        d.load(std::move(big));
    } catch (const std::bad_alloc&) {
        threw = true;
    }
    CHILD_CHECK(threw, 2);
    CHILD_CHECK(d.text() == old, 3);
    CHILD_CHECK(d.sharedChunkCount() == 1, 4);
    return 0;
}

TEST(DocumentOutOfMemory, aLoadThatDoesNotFitKeepsTheOldText) {
    SKIP_WITHOUT_ADDRESS_LIMIT();
    EXPECT_EXIT(std::_Exit(loadUnderLimit()), testing::ExitedWithCode(0), "");
}

// A paste of many short lines into the middle, with the memory running out at different
// points of the replace: each attempt either fails and changes nothing or succeeds whole.
int partialReplaceUnderLimit(std::size_t headroom) {
    Document d;
    std::string model = lines(2000, 25, 'm');
    d.load(std::string(model));
    d.replace(100, 100, "edited "); // an edited paragraph next to the paste
    model.insert(100, "edited ");
    std::string paste = lines(4 << 20, 1, 'p');
    const std::string pasteCopy = paste;
    CHILD_CHECK(test::limitAddressSpace(headroom), 1);
    bool threw = false;
    try {
        d.replace(103, 110, std::move(paste));
    } catch (const std::bad_alloc&) {
        threw = true;
    }
    if (threw) {
        CHILD_CHECK(d.text() == model, 2);
        CHILD_CHECK(paste == pasteCopy, 3);
        CHILD_CHECK(test::liftAddressSpaceLimit(), 4);
        d.replace(103, 110, std::move(paste));
    }
    model.replace(103, 7, pasteCopy);
    CHILD_CHECK(d.text() == model, 5);
    CHILD_CHECK(d.paragraphCount() == 2001 + (4 << 20), 6);
    return 0;
}

class DocumentOutOfMemoryAt : public testing::TestWithParam<int> {};

TEST_P(DocumentOutOfMemoryAt, aPasteEitherFailsWithoutChangeOrSucceedsWhole) {
    SKIP_WITHOUT_ADDRESS_LIMIT();
    const std::size_t headroom = static_cast<std::size_t>(GetParam()) << 20;
    EXPECT_EXIT(std::_Exit(partialReplaceUnderLimit(headroom)), testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(HeadroomMegabytes, DocumentOutOfMemoryAt,
                         testing::Values(8, 40, 72, 110, 150, 200, 1024));

int undoUnderLimit() {
    TextEngine engine;
    engine.setUndoMaxSpace(0);
    const std::string file = lines(1000, 30, 'f');
    engine.loadBytes(std::string(file));
    const std::string big = lines(4 << 20, 1, 'b');
    engine.setSelStart(64);
    engine.setSelText(std::string(big));
    std::string withBig = file;
    withBig.insert(64, big);
    engine.undo();
    engine.redo();
    engine.setSelStart(0);
    engine.setSelText("typed");
    const std::string typed = "typed" + withBig;
    engine.undo(); // "typed" waits as a redo step
    CHILD_CHECK(engine.paragraphs().text() == withBig, 1);

    // Undoing the paste deletes it: that needs little. Redoing it rebuilds four million
    // paragraphs, which does not fit.
    engine.undo();
    CHILD_CHECK(engine.paragraphs().text() == file, 2);
    CHILD_CHECK(test::limitAddressSpace(40 << 20), 3);
    bool threw = false;
    try {
        engine.redo();
    } catch (const std::bad_alloc&) {
        threw = true;
    }
    CHILD_CHECK(threw, 4);
    CHILD_CHECK(engine.paragraphs().text() == file, 5);
    CHILD_CHECK(engine.canRedo() && engine.undoList().redoCount() == 2, 6);
    // A paste that does not fit changes nothing either, and keeps the redo steps.
    threw = false;
    try {
        engine.setSelText(std::string(big));
    } catch (const std::bad_alloc&) {
        threw = true;
    }
    CHILD_CHECK(threw, 7);
    CHILD_CHECK(engine.paragraphs().text() == file, 8);
    CHILD_CHECK(engine.undoList().redoCount() == 2, 9);
    // Nor does a whole new text (a file opened with its line ends repaired), which also
    // leaves the selection where the user had it.
    engine.select(3, 10);
    threw = false;
    try {
        engine.paragraphs().setText(std::string(big));
    } catch (const std::bad_alloc&) {
        threw = true;
    }
    CHILD_CHECK(threw, 13);
    CHILD_CHECK(engine.paragraphs().text() == file, 14);
    CHILD_CHECK(engine.selection().anchor() == 3 && engine.selection().caret() == 10, 15);

    // Memory is back: both redo steps still bring back what they should.
    CHILD_CHECK(test::liftAddressSpaceLimit(), 10);
    engine.redo();
    CHILD_CHECK(engine.paragraphs().text() == withBig, 11);
    engine.redo();
    CHILD_CHECK(engine.paragraphs().text() == typed, 12);
    return 0;
}

TEST(EngineOutOfMemory, aRedoOrPasteThatDoesNotFitKeepsTextAndSteps) {
    SKIP_WITHOUT_ADDRESS_LIMIT();
    EXPECT_EXIT(std::_Exit(undoUnderLimit()), testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace tavrel
