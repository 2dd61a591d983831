// Running out of memory in the window: a file too big to read or to lay out into paragraphs
// is refused with a message while the old document and its edit stay; a handler of ours that
// fails for memory is reported after its event, one that escaped ends the program with the
// text kept; and the text that a signal's
// recovery copy kept is reported on the next start.
#include "window_fixture.h"

#include "app/guarded_application.h"
#include "app/recovery_file.h"
#include "platform/command_guard.h"
#include "support/memory_limit.h"

#include <QCoreApplication>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace tavrel::test {
namespace {

const std::string kOutOfMemory =
    "There is not enough memory for this command. The text was kept as it was.";

// 40 MB of three-byte lines: little to read, but thirteen million paragraphs to lay out.
void writeShortLines(const std::string& path) {
    std::string block;
    for (int i = 0; i < 1 << 20; ++i) {
        block += "a\r\n";
    }
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    for (int i = 0; i < 13; ++i) {
        ASSERT_EQ(std::fwrite(block.data(), 1, block.size(), out), block.size());
    }
    std::fclose(out);
}

// A sparse file of 6 GB: nothing on disk, far more than the limit lets the reader reserve.
void writeSparse(const std::string& path) {
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t(6) << 30), 0);
    ::close(fd);
}

#define CHILD_CHECK(condition, code)                                                               \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "failed: %s\n", #condition);                                      \
            return code;                                                                           \
        }                                                                                          \
    } while (0)

class OutOfMemoryTest : public WindowTest {
protected:
    int loadUnderLimit(const std::string& small, const std::string& big, bool convert);
};

// In the child: an edited small document, then a load of `big` under the limit.
int OutOfMemoryTest::loadUnderLimit(const std::string& small, const std::string& big,
                                    bool convert) {
    MainWindow& w = open(small);
    w.options().convert = convert;
    w.editor().engine().setSelStart(4);
    type(w, "EDIT ");
    const std::string before = text(w);
    CHILD_CHECK(before == "old EDIT text\r\nsecond line\r\n", 1);
    CHILD_CHECK(w.isModified(), 2);
    CHILD_CHECK(limitAddressSpace(150 << 20), 3);

    // A big file loads on a worker thread, or here when no thread can be had; either way
    // the failure comes once it has ended.
    w.load(big);
    for (int i = 0; i < 6000 && w.isLoading(); ++i) {
        QTest::qWait(10);
    }
    CHILD_CHECK(!w.isLoading(), 4);
    CHILD_CHECK(text(w) == before, 5);
    CHILD_CHECK(w.isModified(), 6);
    CHILD_CHECK(w.fileName() == small, 7);
    const auto& log = dialogs.log;
    CHILD_CHECK(std::count(log.begin(), log.end(), "error:Error:" + kOutOfMemory) == 1, 8);
    CHILD_CHECK(dialogs.details.back().find(big) != std::string::npos, 11); // names the file
    // The window goes on: it paints, takes more typing, and Undo still knows the edit.
    w.editor().grab();
    QCoreApplication::processEvents();
    w.editor().engine().breakUndoGroup(); // "more " becomes an undo step of its own
    type(w, "more ");
    CHILD_CHECK(text(w) == "old EDIT more text\r\nsecond line\r\n", 9);
    w.editor().engine().undo();
    CHILD_CHECK(text(w) == before, 10);
    return 0;
}

TEST_F(OutOfMemoryTest, aFileTooBigToLayOutKeepsTheDocumentAndItsEdit) {
    if (!addressSpaceLimitUsable()) {
        GTEST_SKIP() << "sanitizer builds cannot run under an address-space limit";
    }
    // Earlier tests of the suite leave Qt's threads running; a child forked from them could
    // wait forever on a lock one of them held, so the child starts the program afresh.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string small = file("small.nfo", "old text\r\nsecond line\r\n");
    const std::string big = folder / "big.txt";
    writeShortLines(big);
    for (const bool convert : {true, false}) {
        EXPECT_EXIT(std::_Exit(loadUnderLimit(small, big, convert)), testing::ExitedWithCode(0), "")
            << (convert ? "with" : "without") << " the line-end repair";
    }
}

TEST_F(OutOfMemoryTest, aFileTooBigToReadKeepsTheDocumentAndItsEdit) {
    if (!addressSpaceLimitUsable()) {
        GTEST_SKIP() << "sanitizer builds cannot run under an address-space limit";
    }
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string small = file("small.nfo", "old text\r\nsecond line\r\n");
    const std::string big = folder / "huge.nfo";
    writeSparse(big);
    EXPECT_EXIT(std::_Exit(loadUnderLimit(small, big, true)), testing::ExitedWithCode(0), "");
}

// --- The guard around our own handlers, and the end behind it ------------------------------

TEST(CommandGuard, aHandlerThatRanOutOfMemoryIsReportedOnceAfterItsEvent) {
    int reports = 0;
    platform::setOutOfMemoryReport([&] {
        ++reports;
        // The message box's own loop runs a handler that fails too: no box on a box.
        EXPECT_FALSE(platform::runGuarded([] { throw std::bad_alloc(); }));
    });
    EXPECT_FALSE(platform::runGuarded([] { throw std::bad_alloc(); }));
    EXPECT_FALSE(platform::runGuarded([] { throw std::bad_alloc(); }));
    EXPECT_EQ(reports, 0); // not inside the handler (a paint, a key)
    QCoreApplication::processEvents();
    EXPECT_EQ(reports, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(reports, 1);
    // Once the box is gone, the next failure is reported again.
    EXPECT_FALSE(platform::runGuarded([] { throw std::bad_alloc(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(reports, 2);
    // Work that finishes, and other failures, are none of the guard's business.
    int ran = 0;
    EXPECT_TRUE(platform::runGuarded([&] { ++ran; }));
    EXPECT_EQ(ran, 1);
    EXPECT_THROW(platform::runGuarded([] { throw std::runtime_error("other"); }),
                 std::runtime_error);
    QCoreApplication::processEvents();
    EXPECT_EQ(reports, 2);
    platform::setOutOfMemoryReport({});
}

// Behind the guard: a failure that reached the delivery of an event keeps the text and ends.
TEST(GuardedDelivery, aFailureThatEscapedIntoTheToolkitKeepsTheTextAndEnds) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto keep = [] { std::fputs("the text was kept\n", stderr); };
    EXPECT_EXIT(deliverOrEnd([]() -> bool { throw std::bad_alloc(); }, keep),
                testing::ExitedWithCode(kOutOfMemoryExit),
                "not enough memory outside a command; the program ends\nthe text was kept");
    EXPECT_TRUE(deliverOrEnd([] { return true; }, keep));
}

// --- The next start after a recovery copy --------------------------------------------------

TEST_F(OutOfMemoryTest, theNextStartSaysWhereTheRecoveredTextIsAndOnlyOnce) {
    const std::string kept = file("a (recovered 2026-12-07 10-00-00).nfo", "kept text");
    writeFile(folder / kRecoveryNoteName, kept + "\n");
    open();
    QCoreApplication::processEvents();
    // The language text as it is, the file's path as the box's details.
    const std::string expected =
        "plain:The program was ended while a question was open. Your text was saved to:";
    ASSERT_EQ(std::count(dialogs.log.begin(), dialogs.log.end(), expected), 1)
        << ::testing::PrintToString(dialogs.log);
    EXPECT_EQ(dialogs.details.back(), kept);
    EXPECT_EQ(readFile(kept), "kept text");

    dialogs.log.clear();
    window.reset();
    open();
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialogs.log.empty()) << ::testing::PrintToString(dialogs.log);
}

} // namespace
} // namespace tavrel::test
