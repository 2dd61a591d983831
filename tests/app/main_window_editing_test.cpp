// The main window's editor as a user meets it offscreen: the editing options it carries,
// the keys and menus of the window around it (Ctrl+Q, Undo, the Menu key, mnemonics) and
// the gutter's look.
#include "window_fixture.h"

#include "app/button_bar.h"
#include "app/mnemonics.h"
#include "editor/qt/line_gutter.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <set>

namespace tavrel::test {
namespace {

using EditingTest = WindowTest;

TextEditor& shownEditor(MainWindow& w) {
    w.show();
    TextEditor& m = w.editor();
    m.setWordWrap(false); // column blocks and smart tabs need it off
    m.setFocus();
    QApplication::processEvents();
    return m;
}

TEST_F(EditingTest, enterIndentsAndTabAlignsWithTheWordAbove) {
    MainWindow& w = open(file("code.txt", "int  x"));
    TextEditor& m = shownEditor(w);
    m.engine().setSelStart(m.engine().charCount());
    QTest::keyClick(&m, Qt::Key_Return);
    EXPECT_EQ(text(w), "int  x\r\n");
    // Tab under "int  x" moves to the x, five columns, as spaces.
    QTest::keyClick(&m, Qt::Key_Tab);
    EXPECT_EQ(text(w), "int  x\r\n     ");
    // Enter copies that indentation.
    QTest::keyClicks(&m, QStringLiteral("y"));
    QTest::keyClick(&m, Qt::Key_Return);
    EXPECT_EQ(text(w), "int  x\r\n     y\r\n     ");
}

TEST_F(EditingTest, copyingLeavesOutTheStyleCodeBytes) {
    MainWindow& w = open(file("codes.txt", std::string("a\x01\x02\x03\x04\x15\x05z", 8)));
    TextEditor& m = shownEditor(w);
    m.engine().selectAll();
    m.copyToClipboard();
    // Byte 5 stays (U+0005 in Windows-1252); 1, 2, 3, 4 and 21 go.
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("a") + QChar(5) + QChar(u'z'));
}

TEST_F(EditingTest, altDragAndCtrlShiftBMakeColumnBlocks) {
    MainWindow& w = open(file("block.txt", "abcdef\r\nab\r\nabcdef"));
    TextEditor& m = shownEditor(w);
    const int advance = m.glyphMetrics().spaceWidth();
    const QPoint from(m.leftMargin() + advance, m.lineHeight() / 2);
    const QPoint to(m.leftMargin() + 4 * advance, 2 * m.lineHeight() + 2);
    for (const Qt::KeyboardModifiers mods :
         {Qt::KeyboardModifiers(Qt::AltModifier), Qt::AltModifier | Qt::ShiftModifier}) {
        m.engine().setSelStart(0);
        QTest::mousePress(m.viewport(), Qt::LeftButton, mods, from);
        QTest::mouseMove(m.viewport(), to);
        QTest::mouseRelease(m.viewport(), Qt::LeftButton, mods, to);
        ASSERT_TRUE(m.engine().selection().isBlock()) << mods;
        EXPECT_EQ(m.engine().selText(), "bcd\r\nb\r\nbcd\r\n");
    }
    m.engine().setSelStart(1);
    QTest::keyClick(&m, Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(&m, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&m, Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_TRUE(m.engine().selection().isBlock());
    EXPECT_EQ(m.engine().selText(), "b\r\nb\r\n");
}

TEST_F(EditingTest, ctrlQQuitsAsExitDoes) {
    MainWindow& w = open();
    w.show();
    QApplication::processEvents();
    ASSERT_TRUE(w.isVisible());
    EXPECT_EQ(w.action("Exit1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QTest::keyClick(&w.editor(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(EditingTest, undoFromTheMenuBringsTheChangeIntoView) {
    std::string lines;
    for (int i = 0; i < 400; ++i) {
        lines += "line " + std::to_string(i) + "\r\n";
    }
    MainWindow& w = open(file("long.txt", lines));
    TextEditor& m = shownEditor(w);
    m.engine().setSelStart(m.engine().charCount());
    m.engine().setSelText(std::string_view("the end"));
    m.engine().setSelStart(0);
    m.scrollInView();
    ASSERT_EQ(m.verticalOffset(), 0);
    w.action("Undo1")->trigger();
    ASSERT_EQ(text(w), lines);
    const QRect caret = m.caretRect();
    EXPECT_GT(m.verticalOffset(), 0);
    EXPECT_GE(caret.top(), 0);
    EXPECT_LE(caret.bottom(), m.viewport()->height());
}

TEST_F(EditingTest, theMenuKeyOpensThePopupAtTheCaret) {
    MainWindow& w = open(file("menu.txt", "hello\r\nworld\r\nagain"));
    TextEditor& m = shownEditor(w);
    m.engine().setSelStart(10);
    QSignalSpy requested(&m, &QWidget::customContextMenuRequested);
    QTest::keyClick(&m, Qt::Key_Menu);
    ASSERT_EQ(requested.count(), 1);
    const QPoint at = requested.front().front().toPoint();
    const QRect caret = m.caretRect();
    EXPECT_EQ(at.x(), caret.left());
    EXPECT_EQ(at.y(), caret.bottom());
    w.popupMenu()->close();
}

TEST_F(EditingTest, aFocusedButtonShowsAFrameWhetherTheWindowOrTheUserFocusedIt) {
    MainWindow& w = open();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QPushButton* exit = w.buttonBar().exitButton();
    ASSERT_TRUE(exit->hasFocus());
    const QImage atStart = exit->grab().toImage();
    w.editor().setFocus();
    ASSERT_FALSE(exit->hasFocus());
    const QImage unfocused = exit->grab().toImage();
    // Space and Enter press Exit when the window gave it the focus after loading, so it shows.
    EXPECT_NE(atStart, unfocused) << "Exit focused at start shows no frame";

    exit->setFocus(Qt::TabFocusReason);
    EXPECT_NE(exit->grab().toImage(), unfocused);
    // A click gives a button the focus too, and shows it.
    QPushButton* copy = w.buttonBar().copyButton();
    const QImage copyUnfocused = copy->grab().toImage();
    QTest::mouseClick(copy, Qt::LeftButton);
    ASSERT_TRUE(copy->hasFocus());
    EXPECT_NE(copy->grab().toImage(), copyUnfocused);
}

TEST_F(EditingTest, theGutterIsPaintedWithoutARightBorder) {
    MainWindow& w = open(file("numbers.txt", "a\r\nb"));
    w.options().lineNumbers = true;
    w.gutter().show();
    w.show();
    QApplication::processEvents();
    const QImage gutter = w.gutter().grab().toImage();
    const QColor background = w.editor().color();
    // The two rightmost columns, from top to bottom, are the gutter's own colour.
    for (int x = gutter.width() - 2; x < gutter.width(); ++x) {
        for (int y = 0; y < gutter.height(); y += 3) {
            ASSERT_EQ(QColor(gutter.pixel(x, y)), background) << x << "," << y;
        }
    }
}

// Every menu, the bar included: every shown item has a mnemonic, a letter of any keyboard,
// and no two share one. A long menu's early items must not take every letter of a short
// caption further down.
void expectMnemonics(const QList<QAction*>& actions, const std::string& where) {
    std::set<QChar> keys;
    for (QAction* action : actions) {
        if (action->isSeparator() || !action->isVisible()) {
            continue;
        }
        const QString text = action->text();
        const auto key = mnemonicOf(text.toStdU16String());
        EXPECT_TRUE(key.has_value()) << where << ": " << text.toStdString() << " has no key";
        if (key) {
            EXPECT_TRUE(keys.insert(QChar(*key).toLower()).second)
                << where << ": " << text.toStdString();
            // Every keyboard types it; the shipped captions never need an umlaut.
            EXPECT_LT(*key, 0x80) << where << ": " << text.toStdString();
        }
        if (action->menu() != nullptr && action->menu()->objectName() != "file_recentfiles") {
            expectMnemonics(action->menu()->actions(), text.toStdString());
        }
    }
}

// The menu titles' keys and the buttons' keys are all different: Alt and a letter that two
// of them answer does nothing.
void expectMenuBarKeysFreeOfButtonKeys(MainWindow& w) {
    std::set<QChar> keys;
    for (QAction* title : w.menuBar()->actions()) {
        keys.insert(QChar(mnemonicOf(title->text().toStdU16String()).value_or(u' ')).toLower());
    }
    const ButtonBar& bar = w.buttonBar();
    for (const QAbstractButton* button : {bar.copyButton(), bar.cutButton(), bar.pasteButton(),
                                          bar.saveButton(), bar.exitButton()}) {
        const auto key = mnemonicOf(button->text().toStdU16String());
        ASSERT_TRUE(key.has_value()) << button->text().toStdString();
        EXPECT_EQ(keys.count(QChar(*key).toLower()), 0u) << button->text().toStdString();
    }
}

TEST_F(EditingTest, everyMenuItemGetsAMnemonicInEveryShippedLanguage) {
    MainWindow& w = open();
    expectMnemonics(w.menuBar()->actions(), "menu bar");
    expectMenuBarKeysFreeOfButtonKeys(w);
    expectMnemonics(w.popupMenu()->actions(), "popup");
    EXPECT_EQ(w.menuBar()->actions().front()->text(), "&File");
    // The language file's own mnemonics stay where it put them.
    EXPECT_EQ(w.action("Saveas1")->text().remove(u'&'), "Save as...");

    w.options().language = "German";
    w.languageChange();
    ASSERT_EQ(w.menuBar()->actions().front()->text().remove(u'&'), "Datei");
    expectMnemonics(w.menuBar()->actions(), "menu bar (German)");
    expectMenuBarKeysFreeOfButtonKeys(w);
    expectMnemonics(w.popupMenu()->actions(), "popup (German)");
}

// Every caption of the menu bar's menus, in order.
QStringList allCaptions(const QList<QAction*>& actions) {
    QStringList captions;
    for (QAction* action : actions) {
        captions << action->text();
        if (action->menu() != nullptr) {
            captions << allCaptions(action->menu()->actions());
        }
    }
    return captions;
}

TEST_F(EditingTest, aChangeOfLanguageChoosesTheKeysAfreshAsAStartInThatLanguageDoes) {
    settings.writeString("Options", "Language", "German");
    MainWindow& german = open();
    const QStringList startedGerman = allCaptions(german.menuBar()->actions());
    window.reset();

    settings.writeString("Options", "Language", "English");
    MainWindow& w = open();
    const QStringList startedEnglish = allCaptions(w.menuBar()->actions());
    w.options().language = "German";
    w.languageChange();
    EXPECT_EQ(allCaptions(w.menuBar()->actions()), startedGerman);
    w.options().language = "English";
    w.languageChange();
    EXPECT_EQ(allCaptions(w.menuBar()->actions()), startedEnglish);
}

} // namespace
} // namespace tavrel::test
