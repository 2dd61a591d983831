// A wrapped editor left alone must come to rest: the vertical bar and the wrap width agree
// with each other, and no layout work runs any more. Checked over every corpus file at
// several sizes, where the bar's width decides whether the text fits.
#include <gtest/gtest.h>

#include <QScrollBar>

#include <string>

#include "editor/qt/widget_test_support.h"
#include "support/corpus.h"

namespace tavrel {
namespace {

struct ViewSize {
    int width;
    int height;
};

// Heights around the ones where a document starts to need the bar, and a narrow width
// where most lines wrap.
constexpr ViewSize kSizes[] = {{701, 300}, {701, 469}, {480, 230}, {480, 600}};

// Runs the event loop until layout work has stopped for a while; false when it never
// stops within the time allowed.
bool settle(TextEditor& editor) {
    std::uint64_t passes = editor.layoutPasses();
    int quietRounds = 0;
    for (int round = 0; round < 3000; ++round) {
        QTest::qWait(2);
        if (editor.layout().hasPendingWork() || editor.layoutPasses() != passes) {
            passes = editor.layoutPasses();
            quietRounds = 0;
        } else if (++quietRounds >= 5) {
            return true;
        }
    }
    return false;
}

// What a settled editor must show: hidden, the bar leaves no line cut off; shown, the text
// is at least about as tall as the view; and the lines are broken at the width the view
// has now, bar or no bar.
void expectFixedPoint(TextEditor& editor) {
    const std::int64_t content = editor.lineCount() * editor.lineHeight();
    const int viewHeight = editor.viewport()->height();
    if (editor.verticalScrollBar()->isVisible()) {
        EXPECT_GT(content, viewHeight - editor.lineHeight()) << "bar shown for a text that fits";
    } else {
        EXPECT_LE(content, viewHeight) << "text cut off without a bar";
    }
    EXPECT_EQ(editor.layout().width(),
              editor.viewport()->width() - editor.leftMargin() - editor.rightMargin());
}

void checkSettles(const std::string& name, const std::string& bytes) {
    for (const ViewSize size : kSizes) {
        SCOPED_TRACE(name + " at " + std::to_string(size.width) + " x " +
                     std::to_string(size.height));
        auto editor =
            test::makeEditor(bytes, {true, kDefaultEditorOptions, size.width, size.height});
        ASSERT_TRUE(settle(*editor)) << "layout work never stops";
        const std::uint64_t before = editor->layoutPasses();
        QTest::qWait(40);
        EXPECT_EQ(editor->layoutPasses(), before) << "layout runs in an idle window";
        expectFixedPoint(*editor);
    }
}

TEST(EditorSettles, aSingleLongLineComesToRest) {
    checkSettles("5000 characters", std::string(5000, 'x'));
    std::string words;
    for (int i = 0; i < 1000; ++i) {
        words += "word ";
    }
    checkSettles("1000 words", words);
}

TEST(EditorSettles, everyCorpusFileComesToRestAtSeveralSizes) {
    const auto files = test::corpusFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no corpus at " << test::corpusDir();
    }
    for (const auto& file : files) {
        checkSettles(file.filename().string(), test::readFile(file));
    }
}

// Switching wrapping off hands the bar back to the scroll area; the text no longer
// depends on it.
TEST(EditorSettles, wrapOffShowsTheBarOnlyWhenNeeded) {
    auto editor = test::makeEditor("short\r\ntext", {true, kDefaultEditorOptions, 400, 300});
    ASSERT_TRUE(settle(*editor));
    EXPECT_FALSE(editor->verticalScrollBar()->isVisible());
    editor->setWordWrap(false);
    ASSERT_TRUE(settle(*editor));
    EXPECT_FALSE(editor->verticalScrollBar()->isVisible());
    std::string tall;
    for (int i = 0; i < 100; ++i) {
        tall += "line\r\n";
    }
    editor->engine().loadBytes(std::string(tall));
    ASSERT_TRUE(settle(*editor));
    EXPECT_TRUE(editor->verticalScrollBar()->isVisible());
}

} // namespace
} // namespace tavrel
