// The main window's own geometry offscreen: the auto height of a file named on the command
// line, stored bounds far outside the work area, and the button bar's captions at every
// corpus file's width in English and German.
#include "window_fixture.h"

#include "app/button_bar.h"
#include "support/corpus.h"

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QPushButton>
#include <QThread>

#include <algorithm>
#include <array>

namespace tavrel::test {
namespace {

using WindowLayoutTest = WindowTest;

void showNow(MainWindow& w) {
    w.show();
    QApplication::processEvents();
}

// The window's chrome as the shown window has it: everything but the editor.
int shownChrome(MainWindow& w) {
    return w.height() - w.editor().height();
}

TEST_F(WindowLayoutTest, autoHeightOfAFileFromTheCommandLineEqualsOpeningIt) {
    settings.writeBool("Options", "AutoHeight", true);
    const std::string threeLines = file("three.nfo", "one\r\ntwo\r\nthree\r\n");

    MainWindow& started = open(threeLines);
    const int startHeight = started.height();
    showNow(started);
    // Ten lines (the least auto height gives) and the chrome the shown window really has.
    EXPECT_EQ(startHeight, 10 * started.editor().lineHeight() + shownChrome(started) + 20);

    MainWindow opened(setup());
    showNow(opened);
    ASSERT_TRUE(opened.load(threeLines));
    EXPECT_EQ(opened.height(), startHeight);
}

// The fixture's work area is 1280 x 1000 from the origin.
void expectOnWorkArea(const MainWindow& w) {
    const QRect frame = w.frameGeometry();
    EXPECT_GE(frame.left(), 0);
    EXPECT_GE(frame.top(), 0);
    EXPECT_LE(frame.right(), 1279);
    EXPECT_LE(frame.bottom(), 999);
}

TEST_F(WindowLayoutTest, storedBoundsFarOffTheScreenKeepTheWindowReachable) {
    for (const bool autoWidth : {false, true}) {
        SCOPED_TRACE(autoWidth ? "auto width" : "stored width");
        settings.writeBool("Options", "AutoWidth", autoWidth);
        settings.writeInteger("nfo", "Left", -100000);
        settings.writeInteger("nfo", "Top", -100000);
        settings.writeInteger("nfo", "Width", 99999999);
        MainWindow& w = open(file("far.nfo", "far away\r\n"));
        expectOnWorkArea(w);
        showNow(w);
        expectOnWorkArea(w);
        // The Exit button, at the bar's right end, lies on the work area too.
        const QPushButton* exit = w.buttonBar().exitButton();
        const QPoint exitRight = exit->mapToGlobal(QPoint(exit->width() - 1, 0));
        EXPECT_LE(exitRight.x(), 1279);
        EXPECT_GT(exit->width(), 0);
    }
}

// The buttons in a row inside the bar, each at least as wide as its caption's text.
void expectCaptionsFit(const MainWindow& w, const std::string& where) {
    const ButtonBar& bar = w.buttonBar();
    const std::array<QPushButton*, 5> buttons{bar.copyButton(), bar.cutButton(), bar.pasteButton(),
                                              bar.saveButton(), bar.exitButton()};
    int right = -1;
    for (const QPushButton* button : buttons) {
        QString caption = button->text();
        caption.remove(QLatin1Char('&')); // none of the captions shows an ampersand
        const int textWidth = QFontMetrics(button->font()).horizontalAdvance(caption);
        EXPECT_GE(button->width(), textWidth)
            << where << ": \"" << caption.toStdString() << "\" is cut";
        EXPECT_GT(button->x(), right) << where << ": buttons overlap";
        right = button->geometry().right();
    }
    EXPECT_LT(right, bar.width()) << where << ": Exit runs past the bar";
    EXPECT_LE(bar.width(), w.width()) << where;
}

TEST_F(WindowLayoutTest, buttonCaptionsFitAtEveryCorpusFilesWidthInEnglishAndGerman) {
    const auto files = corpusFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no corpus at " << corpusDir();
    }
    for (const char* language : {"English", "German"}) {
        settings.writeString("Options", "Language", language);
        MainWindow& w = open();
        showNow(w);
        ASSERT_EQ(w.buttonBar().cutButton()->text(),
                  std::string(language) == "German" ? "&Ausschneiden" : "C&ut");
        for (const auto& path : files) {
            ASSERT_TRUE(w.load(path.string()));
            QApplication::processEvents();
            expectCaptionsFit(w, std::string(language) + " " + path.filename().string() + " at " +
                                     std::to_string(w.width()));
        }
        // Narrower than the bar allows: the window keeps the bar's width.
        w.resize(120, w.height());
        QApplication::processEvents();
        expectCaptionsFit(w, std::string(language) + " at 120");
    }
}

// Runs the event loop for `ms` milliseconds.
void runEvents(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

// The sizes at which these documents kept the window busy for ever, and a smaller one.
TEST_F(WindowLayoutTest, anIdleWindowDoesNoLayoutWorkWithWordWrap) {
    const auto files = corpusFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no corpus at " << corpusDir();
    }
    settings.writeBool("Options", "WordWrap", true);
    MainWindow& w = open();
    showNow(w);
    for (const char* name : {"marathon2-readme", "clans-pxtit.asc", "pi-1m.txt"}) {
        const auto path = std::find_if(files.begin(), files.end(),
                                       [&](const auto& p) { return p.filename() == name; });
        ASSERT_NE(path, files.end()) << name;
        ASSERT_TRUE(w.load(path->string()));
        for (const QSize size : {QSize(701, 300), QSize(701, 469), QSize(420, 250)}) {
            w.resize(size);
            // Formatting a megabyte takes a few slices; a window that never settles keeps
            // work pending until the time runs out.
            QElapsedTimer clock;
            clock.start();
            do {
                runEvents(20);
            } while (w.editor().layout().hasPendingWork() && clock.elapsed() < 20000);
            const std::uint64_t before = w.editor().layoutPasses();
            runEvents(100);
            EXPECT_EQ(w.editor().layoutPasses(), before)
                << name << " at " << size.width() << " x " << size.height();
        }
    }
}

} // namespace
} // namespace tavrel::test
