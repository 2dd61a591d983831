// The main window offscreen: its components, menus, title and file class, the recent files
// and the sizing rules, on files made by each test.
#include "window_fixture.h"

#include "app/button_bar.h"
#include "app/file_properties.h"
#include "app/main_menus.h"
#include "editor/qt/line_gutter.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <map>

namespace tavrel::test {
namespace {

std::string line(int length, char c = 'x') {
    return std::string(static_cast<std::size_t>(length), c);
}

using MainWindowTest = WindowTest;

// A caption with its mnemonic marker taken out; "&&" (a shown ampersand) stays.
QString withoutMnemonic(QString caption) {
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(u'&');
    caption.replace(QStringLiteral("\x01"), QStringLiteral("&&"));
    return caption;
}

TEST_F(MainWindowTest, everyMenuItemHasItsCaptionTagAndShortcut) {
    MainWindow& w = open();
    int items = 0;
    for (const MenuRow& row : mainMenuRows()) {
        if (row.kind != MenuRowKind::Item) {
            continue;
        }
        ++items;
        QAction* action = w.action(row.name);
        EXPECT_EQ(action->objectName().toStdString(), row.name);
        EXPECT_EQ(action->property("tag").toInt(), row.tag) << row.name;
        EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(row.shortcut))) << row.name;
        // The English language file gives the same texts as the built-in ones; the window
        // adds a mnemonic where a caption has none.
        if (row.tag != 21) {
            EXPECT_EQ(withoutMnemonic(action->text()),
                      withoutMnemonic(QString::fromLatin1(row.caption)))
                << row.name;
        }
        // Items whose target this build or installation lacks are hidden (and so disabled).
        if (action->isVisible()) {
            EXPECT_EQ(action->isEnabled(), (row.flags & (kNotYet | kStartsDisabled)) == 0)
                << row.name;
        }
    }
    EXPECT_GE(items, 50);
    EXPECT_EQ(w.action("Save1")->text(), "&Save"); // tag 21 is shared with the Save button
    EXPECT_EQ(withoutMnemonic(w.action("DragDrop1")->text()), "Drag && Drop");
    EXPECT_FALSE(w.action("DonatePaypal1")->isVisible());
    EXPECT_EQ(w.menu("Format1")->property("tag").toInt(), 68);
    EXPECT_EQ(w.menu("options_language")->title().remove(u'&'), "Language");
    EXPECT_FALSE(w.menu("file_recentfiles")->isEnabled());
    for (const MenuRow& row : popupMenuRows()) {
        if (row.kind == MenuRowKind::Item) {
            EXPECT_TRUE(w.popupAction(row.name)->shortcut().isEmpty()) << row.name;
            EXPECT_EQ(w.popupAction(row.name)->property("tag").toInt(), row.tag);
        }
    }
}

TEST_F(MainWindowTest, componentsStartAsDesigned) {
    MainWindow& w = open();
    EXPECT_EQ(w.objectName(), "TavrelF");
    EXPECT_EQ(w.windowTitle(), "Tavrel");
    EXPECT_EQ(w.maximumSize(), QSize(3000, 2000));
    EXPECT_FALSE(w.gutter().isVisibleTo(&w));
    EXPECT_EQ(w.gutter().width(), 30);
    EXPECT_EQ(w.editor().color(), QColor(0, 0, 0x4A));
    EXPECT_EQ(w.editor().editorFont().family(), "TavrelLarge");
    EXPECT_EQ(w.handoffTimer().interval(), 10);
    EXPECT_FALSE(w.handoffTimer().isActive());
    EXPECT_EQ(w.saveBoundsTimer().interval(), 1000);
    EXPECT_FALSE(w.saveBoundsTimer().isActive());
    EXPECT_EQ(w.buttonBar().height(), 26);
    EXPECT_EQ(w.buttonBar().copyButton()->text(), "&Copy");
    EXPECT_EQ(w.buttonBar().exitButton()->text(), "E&xit");
    EXPECT_EQ(w.buttonBar().saveButton()->property("tag").toInt(), 21);
    EXPECT_EQ(w.editor().engine().undoList().maxSpace(), 100000);
    EXPECT_EQ(w.editor().engine().separators(), std::string(kDefaultSeparators));
}

TEST(ButtonBarSlots, followTheLayoutRule) {
    const auto wide = buttonBarSlots(704);
    EXPECT_EQ(wide[0].width, 85);
    EXPECT_EQ(wide[1].width, 70);
    EXPECT_EQ(wide[1].left, 86);
    EXPECT_EQ(wide[2].left, 157);
    EXPECT_EQ(wide[3].left, 228);
    EXPECT_EQ(wide[4].left, 299);
    EXPECT_EQ(wide[4].width, 704 - (85 + 3 * 70) - 4);
    const auto narrow = buttonBarSlots(240);
    EXPECT_EQ(narrow[1].width, 40);
    EXPECT_EQ(narrow[4].width, 240 - (85 + 120) - 4);
    EXPECT_EQ(buttonBarSlots(270)[2].width, 55);
}

TEST(ButtonBarSlots, exitKeepsItsCaptionWhereTheRuleLeavesItNothing) {
    // At 287 pixels the rule gives the middle three 70 each and Exit -12: they give up
    // 14 pixels each so that Exit keeps the 30 its caption needs.
    const auto placed = buttonBarSlots(287, {0, 0, 0, 0, 30});
    EXPECT_EQ(placed[1].width, 56);
    EXPECT_EQ(placed[2].width, 56);
    EXPECT_EQ(placed[3].width, 56);
    EXPECT_EQ(placed[4].width, 30);
    EXPECT_EQ(placed[4].left + placed[4].width, 287);
}

TEST(ButtonBarSlots, longCaptionsWidenTheirButtonsAndTheBarsMinimum) {
    const std::array<int, 5> least{90, 94, 63, 70, 62};
    EXPECT_EQ(buttonBarMinimumWidth(least), 90 + 94 + 63 + 70 + 62 + 4);
    const auto placed = buttonBarSlots(383, least);
    const int widths[] = {90, 94, 63, 70, 62};
    const int lefts[] = {0, 91, 186, 250, 321};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(placed[i].width, widths[i]) << i;
        EXPECT_EQ(placed[i].left, lefts[i]) << i;
    }
    // Wide enough, the layout rule applies as ever above the captions' needs.
    EXPECT_EQ(buttonBarSlots(704, least)[2].width, 70);
    EXPECT_EQ(buttonBarSlots(704, least)[1].width, 94);
}

TEST(ButtonBarSlots, captionsShowWithoutTheirMnemonicMarks) {
    EXPECT_EQ(visibleCaption(QStringLiteral("E&xit")), "Exit");
    EXPECT_EQ(visibleCaption(QStringLiteral("Drag && Drop")), "Drag & Drop");
    EXPECT_EQ(visibleCaption(QStringLiteral("&&&Save")), "&Save");
}

TEST_F(MainWindowTest, titleAndFileClassFollowTheLoadedName) {
    MainWindow& w = open();
    const std::string nfo = file("Art.NFO", "x\r\n");
    ASSERT_TRUE(w.load(nfo));
    EXPECT_EQ(w.windowTitle().toStdString(), "Tavrel - " + nfo);
    EXPECT_EQ(w.fileClass(), "nfo");
    ASSERT_TRUE(w.load(file("notes.md", "x")));
    EXPECT_EQ(w.fileClass(), "Other");
    w.newDocument();
    EXPECT_EQ(w.windowTitle(), "Tavrel");
    EXPECT_EQ(w.fileClass(), "Other");
    EXPECT_EQ(text(w), "");
}

TEST_F(MainWindowTest, tenOpensLeaveNineRecentFilesNewestFirst) {
    MainWindow& w = open();
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(w.load(file("f" + std::to_string(i) + ".txt", "text")));
    }
    const QList<QAction*> items = w.menu("file_recentfiles")->actions();
    ASSERT_EQ(items.size(), 9);
    EXPECT_EQ(items.front()->text().toStdString(), folder / "f9.txt");
    EXPECT_EQ(items.back()->text().toStdString(), folder / "f1.txt");
    EXPECT_TRUE(w.menu("file_recentfiles")->isEnabled());
}

TEST_F(MainWindowTest, aNameDifferingInCaseIsAnotherFileWhereTheFileSystemKeepsCase) {
    MainWindow& w = open();
    const std::string lower = file("case.txt", "lower");
    const std::string upper = file("CASE.txt", "upper");
    ASSERT_TRUE(w.load(lower));
    ASSERT_TRUE(w.load(file("other.txt", "other")));
    ASSERT_TRUE(w.load(upper));
    const QList<QAction*> items = w.menu("file_recentfiles")->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text().toStdString(), upper);
    EXPECT_EQ(items[2]->text().toStdString(), lower);
    items[2]->trigger();
    EXPECT_EQ(text(w), "lower");
    w.menu("file_recentfiles")->actions()[1]->trigger(); // CASE.txt, now second
    EXPECT_EQ(text(w), "upper");
    EXPECT_EQ(w.fileName(), upper);
}

TEST_F(MainWindowTest, aSecondNameOfTheSameFileInOtherCaseKeepsTheFirstCaption) {
    // A link that differs only in case stands for a file system that folds case: both
    // names open one file, so the list keeps one item with its first caption.
    MainWindow& w = open();
    const std::string lower = file("art.nfo", "art");
    std::filesystem::create_symlink("art.nfo", folder / "ART.NFO");
    ASSERT_TRUE(w.load(lower));
    ASSERT_TRUE(w.load(file("other.txt", "other")));
    ASSERT_TRUE(w.load(folder / "ART.NFO"));
    const QList<QAction*> items = w.menu("file_recentfiles")->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items.front()->text().toStdString(), lower);
}

// --- Sizing -------------------------------------------------------------------------------

class SizingTest : public WindowTest {
protected:
    void SetUp() override {
        MainWindow& w = open();
        w.show();
        if (w.averageCharWidth() != w.maxCharWidth()) {
            GTEST_SKIP() << "the display font in use is not fixed-pitch here";
        }
    }
    int charWidth() const { return window->averageCharWidth(); }
};

TEST_F(SizingTest, widthComesFromTheWidestLineWithTheAllowance) {
    ASSERT_TRUE(window->load(file("a.nfo", line(80) + "\r\n" + line(20) + "\r\n")));
    EXPECT_EQ(window->width(), 80 * charWidth() + 53);
}

TEST_F(SizingTest, theLastLineWithoutABreakDoesNotCount) {
    ASSERT_TRUE(window->load(file("a.nfo", line(40) + "\r\n" + line(90))));
    EXPECT_EQ(window->width(), 40 * charWidth() + 53);
    ASSERT_TRUE(window->load(file("b.nfo", line(40) + "\r\n" + line(90) + "\r\n")));
    EXPECT_EQ(window->width(), 90 * charWidth() + 53);
}

TEST_F(SizingTest, linesOf133OrMoreAreIgnoredAndShortTextsGet34Chars) {
    ASSERT_TRUE(window->load(file("a.nfo", line(10) + "\r\n" + line(200) + "\r\n")));
    EXPECT_EQ(window->width(), 34 * charWidth() + 53);
    ASSERT_TRUE(window->load(file("b.nfo", line(133) + "\r\n" + line(132) + "\r\n")));
    EXPECT_EQ(window->width(), 132 * charWidth() + 53);
}

TEST_F(SizingTest, lineNumbersAddTheGutter) {
    window->options().lineNumbers = true;
    ASSERT_TRUE(window->load(file("a.nfo", line(80) + "\r\n\r\n")));
    EXPECT_EQ(window->width(), 80 * charWidth() + 53 + 30);
}

TEST_F(SizingTest, aWidthCutByTheWorkAreaNeverGoesBelow230NorBelowTheButtonBar) {
    settings.writeInteger("nfo", "Left", 1280 - 100);
    ASSERT_TRUE(window->load(file("a.nfo", line(80) + "\r\n\r\n")));
    // The English captions need a little more than 230 pixels in a row.
    EXPECT_EQ(window->width(), std::max(230, window->buttonBar().minimumWidth()));
    EXPECT_GT(window->buttonBar().minimumWidth(), 230);
}

TEST_F(SizingTest, withoutAutoWidthTheStoredWidthApplies) {
    window->options().autoWidth = false;
    settings.writeInteger("nfo", "Width", 444);
    ASSERT_TRUE(window->load(file("a.nfo", line(80) + "\r\n\r\n")));
    EXPECT_EQ(window->width(), 444);
}

TEST_F(SizingTest, autoHeightGivesAThreeLineDocumentTheHeightOfTen) {
    window->options().autoHeight = true;
    ASSERT_TRUE(window->load(file("a.nfo", "one\r\ntwo\r\nthree\r\n")));
    const int chrome = window->height() - window->editor().height();
    EXPECT_EQ(window->height(), 10 * window->editor().lineHeight() + chrome + 20);
}

TEST_F(SizingTest, eachFileClassUsesItsOwnSectionAndSameDimensionsUsesOther) {
    settings.writeInteger("nfo", "Height", 333);
    settings.writeInteger("diz", "Height", 222);
    settings.writeInteger("Other", "Height", 255);
    ASSERT_TRUE(window->load(file("a.nfo", "x")));
    EXPECT_EQ(window->height(), 333);
    ASSERT_TRUE(window->load(file("b.diz", "x")));
    EXPECT_EQ(window->height(), 222);
    ASSERT_TRUE(window->load(file("README", "x")));
    EXPECT_EQ(window->height(), 255);
    window->options().sameDim = true;
    ASSERT_TRUE(window->load(file("c.nfo", "x")));
    EXPECT_EQ(window->height(), 255);
}

TEST_F(SizingTest, boundsAreSavedOnlyAfterTheUserMovesTheWindow) {
    ASSERT_TRUE(window->load(file("a.nfo", "x\r\n")));
    EXPECT_FALSE(window->saveBoundsTimer().isActive()); // the window's own sizing
    window->move(window->x() + 17, window->y());
    EXPECT_TRUE(window->saveBoundsTimer().isActive());
    window->saveBoundsTimer().stop();
    window->saveBounds();
    EXPECT_EQ(settings.readInteger("nfo", "Left", -1), window->geometry().x());
    EXPECT_EQ(settings.readInteger("nfo", "Width", -1), window->width());
    EXPECT_EQ(settings.readBool("Window", "Maximized", true), false);
}

TEST_F(SizingTest, aMaximisedWindowIsNotResizedByLoadingAndWritesOnlyThatFlag) {
    window->showMaximized();
    QApplication::processEvents();
    if (!window->isMaximized()) {
        GTEST_SKIP() << "this platform does not maximise windows";
    }
    const QSize before = window->size();
    ASSERT_TRUE(window->load(file("a.nfo", line(40) + "\r\n\r\n")));
    EXPECT_EQ(window->size(), before);
    window->saveBounds();
    EXPECT_TRUE(settings.readBool("Window", "Maximized", false));
    EXPECT_EQ(settings.readInteger("nfo", "Left", -1), -1);
}

TEST_F(MainWindowTest, ourPropertiesDialogListsNameFolderSizeDatesPermissionsAndLines) {
    const std::string path = file("props.nfo", "one\r\ntwo\nthree");
    const auto rows = filePropertyRows(QString::fromStdString(path), 3);
    std::map<QString, QString> values;
    for (const auto& [label, value] : rows) {
        values[label] = value;
    }
    EXPECT_EQ(values["Name:"], "props.nfo");
    EXPECT_EQ(values["Folder:"].toStdString(), folder.path().string());
    EXPECT_TRUE(values["Size:"].startsWith("14 ")) << values["Size:"].toStdString();
    EXPECT_FALSE(values["Modified:"].isEmpty());
    EXPECT_EQ(values["Permissions:"].left(9), "rw-r--r--");
    EXPECT_EQ(values["Lines:"], "3");
    EXPECT_TRUE(filePropertyRows(QString::fromStdString(folder / "gone.nfo"), 0).isEmpty());
}

TEST_F(MainWindowTest, showingClearsTheModifiedFlag) {
    MainWindow& w = open();
    type(w, "typed before the window showed");
    ASSERT_TRUE(w.isModified());
    w.show();
    EXPECT_FALSE(w.isModified());
}

TEST_F(MainWindowTest, thePopupEnablesUndoRedoAndPasteWhenItOpens) {
    MainWindow& w = open();
    Q_EMIT w.popupMenu()->aboutToShow();
    EXPECT_FALSE(w.popupAction("Undo2")->isEnabled());
    type(w, "x");
    Q_EMIT w.popupMenu()->aboutToShow();
    EXPECT_TRUE(w.popupAction("Undo2")->isEnabled());
    EXPECT_FALSE(w.popupAction("Redo2")->isEnabled());
    EXPECT_TRUE(w.popupAction("Cut2")->isEnabled());
}

TEST_F(MainWindowTest, theFocusedExitButtonPagesTheText) {
    std::string lines;
    for (int i = 1; i <= 400; ++i) {
        lines += "line " + std::to_string(i) + "\r\n";
    }
    MainWindow& w = open(file("long.nfo", lines));
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QPushButton* exit = w.buttonBar().exitButton();
    ASSERT_EQ(QApplication::focusWidget(), exit) << "Exit is focused after loading by default";
    ASSERT_EQ(w.editor().topLine(), 0);

    QTest::keyClick(exit, Qt::Key_PageDown);
    EXPECT_GT(w.editor().topLine(), 0);
    QTest::keyClick(exit, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(w.editor().topLine(), 0);
    EXPECT_EQ(QApplication::focusWidget(), exit);
    EXPECT_TRUE(w.isVisible());
}

TEST(MainWindowStarting, boundsAreNeverSavedWhileStarting) {
    ConfigSaver settings("", "",
                         [](const std::string&, std::string_view) { return WriteStatus{}; });
    ScriptedDialogs dialogs;
    MainWindowSetup setup;
    setup.settings = &settings;
    setup.locations.programFolder = TAVREL_BINARY_DIR "/bin/";
    setup.dialogs = &dialogs;
    setup.starting = [] { return true; };
    setup.workArea = WorkArea{1280, 1000};
    MainWindow w(std::move(setup));
    w.show();
    w.move(w.x() + 40, w.y() + 40);
    w.resize(w.width() + 40, w.height());
    EXPECT_FALSE(w.saveBoundsTimer().isActive());
}

} // namespace
} // namespace tavrel::test
