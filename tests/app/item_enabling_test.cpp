// The main window's enabling rules seen as the user meets them: each menu opened in a series
// of states (nothing loaded, typed without a name, a file loaded, selected, changed, undone,
// the file gone from disk), every ruled item read back and held against a table written
// here by hand; the Save button and the repeat-find items follow the state without a menu.
#include "window_fixture.h"

#include "app/button_bar.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPushButton>

#include <filesystem>
#include <map>

namespace tavrel::test {
namespace {

using ItemEnablingTest = WindowTest;
using States = std::map<std::string, bool>;

// Opens every menu the way the user would and reads what its opening left enabled.
States observed(MainWindow& w) {
    Q_EMIT w.menu("File1")->aboutToShow();
    Q_EMIT w.menu("Edit1")->aboutToShow();
    Q_EMIT w.menu("Format1")->aboutToShow();
    Q_EMIT w.popupMenu()->aboutToShow();
    States s;
    for (const char* item : {"New1", "Save1", "Properties1", "Undo1", "Redo1", "Cut1", "Copy1",
                             "Paste1", "Lowercase1", "UTF8toCharset1", "FindNext1", "FindPrev1"}) {
        s[item] = w.action(item)->isEnabled();
    }
    for (const char* item : {"Undo2", "Redo2", "Cut2", "Copy2", "Paste2"}) {
        s[item] = w.popupAction(item)->isEnabled();
    }
    s["buttonsave"] = w.buttonBar().saveButton()->isEnabled();
    // Closing the menus gives the guarded items back to their shortcuts.
    Q_EMIT w.menu("File1")->aboutToHide();
    Q_EMIT w.menu("Edit1")->aboutToHide();
    return s;
}

// The expected states: everything off except the items named.
States onlyOn(std::initializer_list<const char*> on) {
    States s;
    for (const char* item :
         {"New1", "Save1", "Properties1", "Undo1", "Redo1", "Cut1", "Copy1", "Paste1", "Lowercase1",
          "UTF8toCharset1", "FindNext1", "FindPrev1", "Undo2", "Redo2", "Paste2", "buttonsave"}) {
        s[item] = false;
    }
    // The popup's Cut and Copy never follow a rule.
    s["Cut2"] = true;
    s["Copy2"] = true;
    for (const char* item : on) {
        s[item] = true;
    }
    return s;
}

TEST_F(ItemEnablingTest, everyMenuFollowsTheWindowStateThroughAnEditingSession) {
    QApplication::clipboard()->clear();
    MainWindow& w = open();
    EXPECT_EQ(observed(w), onlyOn({}));

    // Typed text without a name: New and Undo, but nothing to Save under.
    type(w, "abc");
    EXPECT_EQ(observed(w), onlyOn({"New1", "Undo1", "Undo2"}));

    // A loaded file: nothing changed yet, so no Save; the name is a file.
    const std::string path = file("doc.txt", "hello world");
    ASSERT_TRUE(w.load(path));
    EXPECT_EQ(observed(w), onlyOn({"New1", "Properties1"}));

    // A selection enables Cut, Copy and the Format items; text on the clipboard, Paste.
    QApplication::clipboard()->setText(QStringLiteral("zz"));
    w.editor().engine().select(0, 5);
    EXPECT_EQ(observed(w), onlyOn({"New1", "Properties1", "Cut1", "Copy1", "Paste1", "Paste2",
                                   "Lowercase1", "UTF8toCharset1"}));

    // A change: Save and its button, Undo.
    type(w, "HELLO");
    EXPECT_EQ(observed(w), onlyOn({"New1", "Properties1", "Save1", "buttonsave", "Undo1", "Undo2",
                                   "Paste1", "Paste2"}));

    // Undone: Redo; the document is still modified, so Save stays.
    w.action("Undo1")->trigger();
    EXPECT_EQ(w.editor().engine().paragraphs().text(), "hello world");
    EXPECT_EQ(observed(w), onlyOn({"New1", "Properties1", "Save1", "buttonsave", "Redo1", "Redo2",
                                   "Paste1", "Paste2"}));

    // Saved: nothing to save; the file vanishes: no Properties.
    ASSERT_TRUE(w.save());
    std::filesystem::remove(path);
    QApplication::clipboard()->clear();
    EXPECT_EQ(observed(w), onlyOn({"New1", "Redo1", "Redo2"}));
}

TEST_F(ItemEnablingTest, aShortcutMeetsTheRuleOfItsClosedMenu) {
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    MainWindow& w = open();
    ASSERT_TRUE(w.load(file("doc.txt", "abc")));
    observed(w); // the menus opened and closed: the guarded items take shortcuts again
    EXPECT_TRUE(w.action("Copy1")->isEnabled());
    EXPECT_TRUE(w.action("Save1")->isEnabled());

    // Nothing selected: Ctrl+X cuts nothing; unmodified: Ctrl+S writes nothing.
    w.action("Cut1")->trigger();
    w.action("Save1")->trigger();
    EXPECT_EQ(text(w), "abc");
    EXPECT_TRUE(written.empty());
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));

    // F3 before any search: the item is disabled and has nothing to repeat.
    EXPECT_FALSE(w.action("FindNext1")->isEnabled());
    EXPECT_FALSE(w.action("FindPrev1")->isEnabled());
}

} // namespace
} // namespace tavrel::test
