// The keyword dialog: the list it is given, what it writes on every close, and that reopening
// shows the text as it was left.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "editor/qt/keyword_dialog.h"
#include "support/temp_folder.h"
#include "widget_test_support.h"

namespace tavrel {
namespace {

struct DialogFixture {
    test::TempFolder folder;
    std::unique_ptr<QWidget> owner = std::make_unique<QWidget>();
    std::unique_ptr<TextEditor> mainEditor = test::makeEditor("");
    std::vector<std::pair<std::string, std::string>> writes;
    bool fail = false;

    std::unique_ptr<KeywordDialog> make(const std::string& path, std::string text = {}) {
        mainEditor->setColor(QColor(1, 2, 3));
        mainEditor->setTextColor(QColor(200, 201, 202));
        return std::make_unique<KeywordDialog>(
            owner.get(), *mainEditor, path, std::move(text),
            [this](const std::string& p, std::string_view bytes) {
                writes.emplace_back(p, std::string(bytes));
                return fail ? WriteStatus{"disk full"} : WriteStatus{};
            });
    }
};

TEST(KeywordDialog, LoadsAnyLineEndsAndPutsTheCaretAtTheEnd) {
    DialogFixture f;
    const std::string path = f.folder / "highlight.dat";
    auto dialog = f.make(path, "nfo\nwww\rgreets  \r\n");
    TextEngine& engine = dialog->editor().engine();
    ASSERT_EQ(engine.paragraphs().count(), 3);
    EXPECT_EQ(engine.paragraphs().at(2), "greets  ");
    EXPECT_EQ(engine.selection().caret(), engine.charCount());
    EXPECT_EQ(dialog->editor().color(), QColor(1, 2, 3));
    EXPECT_EQ(dialog->editor().textColor(), QColor(200, 201, 202));
    EXPECT_EQ(dialog->size(), QSize(453, 272));
    EXPECT_FALSE(dialog->isModal());
    EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(dialog->windowTitle(), "Highlighted keywords (one keyword per line)");
}

TEST(KeywordDialog, EveryCloseWritesTheLinesWithCrLfAndReopeningKeepsTheText) {
    DialogFixture f;
    const std::string path = f.folder / "highlight.dat";
    auto dialog = f.make(path); // no file yet: an empty list
    EXPECT_EQ(dialog->editor().engine().charCount(), 0);
    QSignalSpy closed(dialog.get(), &KeywordDialog::closedAndSaved);
    dialog->showCentred();
    test::type(dialog->editor(), "nfo");
    test::key(dialog->editor(), Qt::Key_Return);
    test::type(dialog->editor(), "co op");
    dialog->close();
    ASSERT_EQ(f.writes.size(), 1u);
    EXPECT_EQ(f.writes[0], (std::pair<std::string, std::string>{path, "nfo\r\nco op\r\n"}));
    ASSERT_EQ(closed.count(), 1);
    EXPECT_TRUE(closed.at(0).at(0).toString().isEmpty());

    // The file changes behind its back; reopening shows what was left, closing writes again.
    test::writeFile(path, "other\r\n");
    dialog->showCentred();
    EXPECT_EQ(dialog->editor().engine().paragraphs().text(), "nfo\r\nco op");
    dialog->reject();
    ASSERT_EQ(f.writes.size(), 2u);
    EXPECT_EQ(f.writes[1].second, "nfo\r\nco op\r\n");
}

TEST(KeywordDialog, AFailedWriteIsReportedAndTheTextStays) {
    DialogFixture f;
    auto dialog = f.make(f.folder / "highlight.dat");
    QSignalSpy closed(dialog.get(), &KeywordDialog::closedAndSaved);
    f.fail = true;
    dialog->showCentred();
    test::type(dialog->editor(), "kept");
    dialog->close();
    ASSERT_EQ(closed.count(), 1);
    EXPECT_EQ(closed.at(0).at(0).toString(), "disk full");
    EXPECT_EQ(dialog->editor().engine().paragraphs().text(), "kept");
}

} // namespace
} // namespace tavrel
