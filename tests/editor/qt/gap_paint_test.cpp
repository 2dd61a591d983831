// A long paragraph typed into in its middle keeps a gap there; the view reads only the lines
// it shows, each from its own offset. Every wrapped line must look exactly as the same bytes
// do as a paragraph of their own, and the caret, the arrow keys and clicks must land where
// they do in that reference.
#include <QImage>

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "editor/layout_test_support.h"
#include "editor/qt/widget_test_support.h"

namespace tavrel {
namespace {

constexpr int kColumns = 20;

std::unique_ptr<TextEditor> wrappedEditor(const std::string& text) {
    auto editor = test::makeEditor(text, {.wordWrap = true});
    editor->setColumnWrap(kColumns);
    test::finishFormatting(*editor);
    return editor;
}

TEST(EditedLongParagraph, wrappedLinesPaintAndPlaceTheCaretAsTheSameBytesOneLinePerParagraph) {
    std::string text;
    for (int i = 0; i < 600; ++i) {
        text += "ab\xDB cd\xB1"
                "ef ghi jk\xB2 lmn q ";
    }
    auto edited = wrappedEditor(text);
    // Typing a word into line 350 leaves the document's gap there, kilobytes from both ends
    // and from what the view reads around it.
    const Pos at = 350 * kColumns + 3;
    edited->engine().setSelStart(at);
    edited->engine().setSelText("XY");
    edited->engine().setSelText("Z");
    text.insert(static_cast<std::size_t>(at), "XYZ");
    const auto gapAt = [&] {
        return static_cast<Pos>(edited->engine().document().paragraphHalves(0).first.size());
    };
    ASSERT_GT(gapAt(), 4000);
    ASSERT_LT(gapAt(), static_cast<Pos>(text.size()) - 4000);

    // The reference: each display line a paragraph of its own, so each is read from 0.
    std::string lines;
    std::vector<Pos> starts;
    Pos start = 0;
    for (const std::string& line : test::breakAll(text, kColumns, test::unitWidths())) {
        lines += (lines.empty() ? "" : "\r\n") + line;
        starts.push_back(start);
        start += static_cast<Pos>(line.size());
    }
    // A position inside a display line, in the reference: two more for each break before.
    const auto inReference = [&](Pos position) {
        const auto line =
            std::upper_bound(starts.begin(), starts.end(), position) - starts.begin() - 1;
        return position + 2 * static_cast<Pos>(line);
    };
    auto reference = wrappedEditor(lines);
    ASSERT_EQ(edited->layout().knownLineCount(), reference->layout().knownLineCount());
    const auto show = [&](Pos position) {
        edited->engine().setSelStart(position);
        edited->scrollInView();
        reference->engine().setSelStart(inReference(position));
        reference->scrollInView();
        ASSERT_EQ(edited->topLine(), reference->topLine());
    };
    show(at + 3);
    QApplication::processEvents(); // the window's own repaints too
    const QImage picture = edited->renderViewport().convertToFormat(QImage::Format_RGB32);
    EXPECT_GT(gapAt(), 4000) << "painting closed the gap";
    EXPECT_LT(gapAt(), static_cast<Pos>(text.size()) - 4000) << "painting closed the gap";
    EXPECT_EQ(picture, reference->renderViewport().convertToFormat(QImage::Format_RGB32));

    // The caret after the typed word, then one line down and back up.
    EXPECT_EQ(edited->caretRect(), reference->caretRect());
    for (const auto k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}) {
        test::key(*edited, k);
        test::key(*reference, k);
        EXPECT_EQ(edited->caretRect(), reference->caretRect());
    }
}

} // namespace
} // namespace tavrel
