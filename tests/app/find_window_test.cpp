// Find and replace through the main window offscreen: the dialog's buttons, the repeat
// items with their captions and states, the not-found message, the shortcuts the open
// dialog takes away, and the remembered texts in the settings.
#include "window_fixture.h"

#include "app/find_dialog.h"
#include "app/notice_bar.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace tavrel::test {
namespace {

using FindWindowTest = WindowTest;
using Range = std::pair<Pos, Pos>;

const std::string kNotFound = "plain:The search text was not found.";

Range selection(const MainWindow& w) {
    const TextEngine& e = w.editor().engine();
    return {e.selection().low(), e.selection().high()};
}

// Opens the dialog as Ctrl+F does and fills it as the user would.
FindDialog& ask(MainWindow& w, const char* what, const char* with = "") {
    w.action("Find1")->trigger();
    FindDialog& dialog = w.findDialog();
    EXPECT_TRUE(dialog.isVisible());
    dialog.findField()->setEditText(QString::fromLatin1(what));
    dialog.replaceField()->setEditText(QString::fromLatin1(with));
    return dialog;
}

void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

TEST_F(FindWindowTest, findNextThenF3AndCtrlF3WalkTheMatches) {
    MainWindow& w = open(file("cats.txt", "cat cat cat"));
    w.show();
    w.editor().engine().setSelStart(11);
    EXPECT_FALSE(w.action("FindNext1")->isEnabled());
    EXPECT_FALSE(w.action("FindPrev1")->isEnabled());

    FindDialog& dialog = ask(w, "cat");
    dialog.findNextButton()->click();
    EXPECT_EQ(selection(w), Range(0, 3));
    settle();
    EXPECT_FALSE(dialog.isVisible()); // it closes after every action
    EXPECT_TRUE(w.action("FindNext1")->isEnabled());
    EXPECT_FALSE(w.action("FindPrev1")->isEnabled());
    EXPECT_EQ(w.action("FindNext1")->text(), "Find Next");

    w.action("FindNext1")->trigger();
    EXPECT_EQ(selection(w), Range(4, 7));
    EXPECT_TRUE(w.action("FindPrev1")->isEnabled());
    w.action("FindNext1")->trigger();
    EXPECT_EQ(selection(w), Range(8, 11));
    EXPECT_TRUE(dialogs.log.empty());
    w.action("FindNext1")->trigger();
    EXPECT_EQ(selection(w), Range(8, 11));
    ASSERT_EQ(dialogs.log.size(), 1U);
    EXPECT_EQ(dialogs.log.back(), kNotFound);

    w.action("FindPrev1")->trigger();
    EXPECT_EQ(selection(w), Range(4, 7));
}

// ANSI art is searched as drawn (the sequences are no text) and is not replaced in.
TEST_F(FindWindowTest, ansiArtIsSearchedAsDrawnAndNeverReplacedIn) {
    MainWindow& w = open(file("rows.ans", "\x1B[1;33;44mAB\x1B[0m\r\nC\x1B[42m  \x1B[0m"));
    w.show();
    FindDialog& dialog = ask(w, "C", "x");
    dialog.findNextButton()->click();
    EXPECT_EQ(selection(w), Range(4, 5));
    settle();
    ask(w, "C", "x").replaceAllButton()->click();
    settle();
    EXPECT_EQ(w.editor().engine().paragraphs().text(), "AB\r\nC  ");
    EXPECT_FALSE(w.notice().isHidden());
}

TEST_F(FindWindowTest, enterInTheDialogIsFindNextAndEscCloses) {
    MainWindow& w = open(file("cats.txt", "dog cat"));
    w.show();
    FindDialog& dialog = ask(w, "cat");
    QTest::keyClick(dialog.findField()->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(selection(w), Range(4, 7));
    settle();
    EXPECT_FALSE(dialog.isVisible());

    w.action("Find1")->trigger();
    EXPECT_EQ(dialog.findText(), "cat"); // reopened with the remembered text
    QTest::keyClick(dialog.findField()->lineEdit(), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(FindWindowTest, aFailedDialogFindDisablesBothRepeatItems) {
    MainWindow& w = open(file("cats.txt", "cat"));
    w.show();
    ask(w, "cat").findNextButton()->click();
    w.action("FindNext1")->trigger();
    ASSERT_TRUE(w.action("FindPrev1")->isEnabled());
    ask(w, "cow").findNextButton()->click();
    EXPECT_FALSE(w.action("FindNext1")->isEnabled());
    EXPECT_FALSE(w.action("FindPrev1")->isEnabled());
    EXPECT_EQ(dialogs.log.back(), kNotFound);
}

TEST_F(FindWindowTest, replaceAndReplaceAllAndTheRepeatKeysAfterThem) {
    MainWindow& w = open(file("a.txt", "a b a"));
    w.show();
    FindDialog& dialog = ask(w, "a", "aa");
    dialog.replaceButton()->click();
    EXPECT_EQ(text(w), "aa b a");
    EXPECT_EQ(w.action("FindNext1")->text(), "Replace Next");
    settle();
    // Both repeat keys now replace the first occurrence from the top again.
    w.action("FindNext1")->trigger();
    EXPECT_EQ(text(w), "aaa b a");
    w.action("FindPrev1")->setEnabled(true); // as a successful F3 would leave it
    w.action("FindPrev1")->trigger();
    EXPECT_EQ(text(w), "aaaa b a");

    ask(w, "b", "c").replaceAllButton()->click();
    EXPECT_EQ(text(w), "aaaa c a");
    ask(w, "a", "x").replaceAllButton()->click();
    EXPECT_EQ(text(w), "xxxx c x");
    w.editor().engine().undo();
    EXPECT_EQ(text(w), "xxxx c a"); // each replacement is its own undo step
    EXPECT_TRUE(dialogs.log.empty());
}

TEST_F(FindWindowTest, replaceAllOfAnAbsentTextSaysSoAndDisablesNext) {
    MainWindow& w = open(file("a.txt", "a b a"));
    w.show();
    ask(w, "a").findNextButton()->click();
    ASSERT_TRUE(w.action("FindNext1")->isEnabled());
    ask(w, "zebra", "x").replaceAllButton()->click();
    EXPECT_EQ(text(w), "a b a");
    EXPECT_FALSE(w.action("FindNext1")->isEnabled());
    EXPECT_EQ(dialogs.log, std::vector<std::string>{kNotFound});
}

TEST_F(FindWindowTest, inGermanTheCaptionsComeFromItsFileAndF3StillReplaces) {
    MainWindow& w = open(file("a.txt", "a b a"));
    w.options().language = "German";
    w.languageChange();
    w.show();
    ask(w, "a", "o").replaceButton()->click();
    EXPECT_EQ(w.action("FindNext1")->text(), "Weiter ersetzen");
    w.action("FindNext1")->trigger();
    EXPECT_EQ(text(w), "o b o");
    ask(w, "b").findNextButton()->click();
    EXPECT_EQ(w.action("FindNext1")->text(), "Weitersuchen");
    EXPECT_EQ(w.findDialog().replaceAllButton()->text(), "&Alle ersetzen");
}

TEST_F(FindWindowTest, theOpenDialogTakesFiveShortcutsAndGivesThemBack) {
    MainWindow& w = open();
    w.show();
    const std::pair<const char*, const char*> taken[] = {{"Copy1", "Ctrl+C"},
                                                         {"Cut1", "Ctrl+X"},
                                                         {"Paste1", "Ctrl+V"},
                                                         {"Undo1", "Ctrl+Z"},
                                                         {"SelectAll1", "Ctrl+A"}};
    w.action("Find1")->trigger();
    for (const auto& [name, keys] : taken) {
        EXPECT_TRUE(w.action(name)->shortcut().isEmpty()) << name;
        EXPECT_EQ(w.action(name)->property("tag").toInt() > 0, true) << name;
    }
    EXPECT_EQ(w.action("Redo1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
    EXPECT_EQ(w.action("Deleteline1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+E")));
    w.action("Find1")->trigger(); // already shown: only brought to the front
    w.findDialog().cancelButton()->click();
    for (const auto& [name, keys] : taken) {
        EXPECT_EQ(w.action(name)->shortcut(), QKeySequence(QString::fromLatin1(keys))) << name;
    }
}

TEST_F(FindWindowTest, ctrlVPastesIntoTheDialogWhileItIsOpen) {
    MainWindow& w = open(file("doc.txt", "text"));
    w.show();
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    FindDialog& dialog = ask(w, "");
    QTest::keyClick(dialog.findField()->lineEdit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(dialog.findText(), "pasted");
    EXPECT_EQ(text(w), "text");
    dialog.cancelButton()->click();
    // Closed: the menu's Ctrl+V reaches the editor again.
    w.editor().engine().setSelStart(4);
    w.action("Paste1")->trigger();
    EXPECT_EQ(text(w), "textpasted");
}

TEST_F(FindWindowTest, textsComeFromTheSettingsAndGoBackAtExit) {
    settings.writeString("Find", "Text", "stored");
    settings.writeString("Find", "ReplaceText", "other");
    MainWindow& w = open(file("doc.txt", "a stored word"));
    w.show();
    w.action("Find1")->trigger();
    EXPECT_EQ(w.findDialog().findText(), "stored");
    EXPECT_EQ(w.findDialog().replaceText(), "other");
    w.findDialog().findNextButton()->click();
    EXPECT_EQ(selection(w), Range(2, 8));
    ask(w, "word", "verb").replaceButton()->click();
    w.writeSettings(settings);
    EXPECT_EQ(settings.readString("Find", "Text", ""), "word");
    EXPECT_EQ(settings.readString("Find", "ReplaceText", ""), "verb");
}

// The place is the dialog's own area, without its frame, as the window's bounds are; over
// three lifetimes of the window it neither creeps nor drifts.
TEST_F(FindWindowTest, theDialogStandsWhereTheSettingsSayAndItsPlaceIsWrittenBack) {
    settings.writeInteger("Find", "Left", 321);
    settings.writeInteger("Find", "Top", 234);
    for (int lifetime = 1; lifetime <= 3; ++lifetime) {
        MainWindow& w = open();
        w.show();
        w.action("Find1")->trigger();
        EXPECT_EQ(w.findDialog().geometry().topLeft(), QPoint(321, 234)) << lifetime;
        w.findDialog().cancelButton()->click();
        w.writeSettings(settings);
        EXPECT_EQ(settings.readInteger("Find", "Left", 0), 321) << lifetime;
        EXPECT_EQ(settings.readInteger("Find", "Top", 0), 234) << lifetime;
        window.reset();
    }
    MainWindow& w = open();
    w.show();
    w.action("Find1")->trigger();
    const QPoint frame = w.findDialog().pos() - w.findDialog().geometry().topLeft();
    w.findDialog().move(QPoint(400, 300) + frame); // the user drags it by its frame
    w.findDialog().cancelButton()->click();
    w.writeSettings(settings);
    EXPECT_EQ(settings.readInteger("Find", "Left", 0), 400);
    EXPECT_EQ(settings.readInteger("Find", "Top", 0), 300);
}

TEST_F(FindWindowTest, theFieldsHoldAtMost255Characters) {
    MainWindow& w = open();
    FindDialog& dialog = ask(w, "");
    dialog.setFindText(std::string(300, 'q'));
    EXPECT_EQ(dialog.findText().size(), 255U);
    QTest::keyClicks(dialog.replaceField()->lineEdit(), QString(260, QLatin1Char('r')));
    EXPECT_EQ(dialog.replaceText().size(), 255U);
}

} // namespace
} // namespace tavrel::test
