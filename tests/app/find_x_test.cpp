// Find with its two boxes, the repeat keys, the clipboard and Replace All driven through the
// real window on an X server with a window manager (the CTest entry
// tavrel_app_xvfb_end_to_end): the saved file shows every step.
#include "end_to_end_support.h"
#include "support/x_session.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace tavrel::test {
namespace {

TEST(XvfbEndToEnd, findRepeatCopyPasteAndReplaceAllReachTheSavedFile) {
    if (const std::string missing = xSessionMissing(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    const Installation install;
    writeFile(install.folder + "usb.dat", "");
    // The editor, not the Exit button, has the focus after loading.
    writeFile(install.folder + "Tavrel.ini", "[Options]\r\nExitFocus=0\r\n");
    const std::string document = install.root / "cats.txt";
    writeFile(document, "cat1 cat2 cat3\r\n");

    RunningProgram program;
    const QString window = startOnX(program.process, install, document);
    ASSERT_FALSE(window.isEmpty()) << "the window did not appear: " << program.errors();

    // Ctrl+F, the find text, Enter: the first "cat" is selected and the dialog goes.
    ASSERT_TRUE(sendKeys(window, {"ctrl+f"}));
    const QString dialog = waitForWindow(QStringLiteral("^Replace$"));
    ASSERT_FALSE(dialog.isEmpty()) << "the find dialog did not appear: " << program.errors();
    ASSERT_TRUE(typeText(dialog, QStringLiteral("cat")));
    ASSERT_TRUE(sendKeys(dialog, {"Return"}));
    ASSERT_TRUE(waitForWindowGone(QStringLiteral("^Replace$"))) << program.errors();

    // F3 twice reaches "cat3", Ctrl+F3 goes back to "cat2" and leaves the caret at its start,
    // so Shift+End selects from the end of that match: "2 cat3". Copied, and pasted at the
    // end of the line.
    ASSERT_TRUE(sendKeys(window, {"F3", "F3", "ctrl+F3", "shift+End", "ctrl+c", "End", "ctrl+v"}));

    // Replace All of "cat" by "dog", then save and leave.
    ASSERT_TRUE(sendKeys(window, {"ctrl+f"}));
    const QString again = waitForWindow(QStringLiteral("^Replace$"));
    ASSERT_FALSE(again.isEmpty()) << program.errors();
    ASSERT_TRUE(sendKeys(again, {"ctrl+a"}));
    ASSERT_TRUE(typeText(again, QStringLiteral("cat")));
    ASSERT_TRUE(sendKeys(again, {"Tab", "ctrl+a"}));
    ASSERT_TRUE(typeText(again, QStringLiteral("dog")));
    ASSERT_TRUE(sendKeys(again, {"alt+a"}));
    ASSERT_TRUE(waitForWindowGone(QStringLiteral("^Replace$"))) << program.errors();
    ASSERT_TRUE(sendKeys(window, {"ctrl+s", "alt+x"}));

    ASSERT_TRUE(program.process.waitForFinished(20000)) << "the window did not close";
    EXPECT_EQ(program.process.exitCode(), 0) << program.errors();
    EXPECT_EQ(readFile(document), "dog1 dog2 dog32 dog3\r\n");
    const std::string ini = readFile(install.folder + "Tavrel.ini");
    EXPECT_NE(ini.find("\r\nText=cat\r\nReplaceText=dog\r\n"), std::string::npos) << ini;
}

// Each box of the dialog, ticked with its mnemonic, decides which occurrence Find Next
// selects: what is typed next replaces exactly that one.
TEST(XvfbEndToEnd, theDialogsBoxesDecideWhichOccurrenceIsSelected) {
    if (const std::string missing = xSessionMissing(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    struct Case {
        const char* box;
        const char* text;
        const char* expected; // after "#" was typed over the selected occurrence
    };
    const Case cases[] = {
        {"alt+w", "concat cat\r\n", "concat #\r\n"},
        {"alt+c", "Cat cat\r\n", "Cat #\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        const Installation install;
        writeFile(install.folder + "usb.dat", "");
        writeFile(install.folder + "Tavrel.ini", "[Options]\r\nExitFocus=0\r\n");
        const std::string document = install.root / "find.txt";
        writeFile(document, c.text);

        RunningProgram program;
        const QString window = startOnX(program.process, install, document);
        ASSERT_FALSE(window.isEmpty()) << "the window did not appear: " << program.errors();
        ASSERT_TRUE(sendKeys(window, {"ctrl+f"}));
        const QString dialog = waitForWindow(QStringLiteral("^Replace$"));
        ASSERT_FALSE(dialog.isEmpty()) << program.errors();
        ASSERT_TRUE(typeText(dialog, QStringLiteral("cat")));
        // The mnemonic takes the focus to the box and presses it for a tenth of a second
        // before it toggles; Enter there is still Find Next.
        ASSERT_TRUE(sendKeys(dialog, {c.box}));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ASSERT_TRUE(sendKeys(dialog, {"Return"}));
        ASSERT_TRUE(waitForWindowGone(QStringLiteral("^Replace$"))) << program.errors();
        ASSERT_TRUE(typeText(window, QStringLiteral("#")));
        ASSERT_TRUE(sendKeys(window, {"ctrl+s", "alt+x"}));
        ASSERT_TRUE(program.process.waitForFinished(20000)) << "the window did not close";
        EXPECT_EQ(readFile(document), c.expected);
    }
}

// With the glyphs option on, a glyph copied from the text and pasted into the dialog finds
// the byte it was copied from: Replace All changes that byte and leaves the '?' alone.
TEST(XvfbEndToEnd, aCopiedGlyphFindsItsByteInReplaceAll) {
    if (const std::string missing = xSessionMissing(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    const Installation install;
    writeFile(install.folder + "usb.dat", "");
    writeFile(install.folder + "Tavrel.ini", "[Options]\r\nExitFocus=0\r\nCopyUnicode=1\r\n");
    const std::string document = install.root / "art.nfo";
    writeFile(document, "a?\xB0"
                        "b\r\n"); // 0xB0: the light shade block in code page 437

    RunningProgram program;
    const QString window = startOnX(program.process, install, document);
    ASSERT_FALSE(window.isEmpty()) << "the window did not appear: " << program.errors();
    ASSERT_TRUE(sendKeys(window, {"Right", "Right", "shift+Right", "ctrl+c", "ctrl+f"}));
    const QString dialog = waitForWindow(QStringLiteral("^Replace$"));
    ASSERT_FALSE(dialog.isEmpty()) << program.errors();
    ASSERT_TRUE(sendKeys(dialog, {"ctrl+v", "Tab", "ctrl+a"}));
    ASSERT_TRUE(typeText(dialog, QStringLiteral("X")));
    ASSERT_TRUE(sendKeys(dialog, {"alt+a"}));
    ASSERT_TRUE(waitForWindowGone(QStringLiteral("^Replace$"))) << program.errors();
    ASSERT_TRUE(sendKeys(window, {"ctrl+s", "alt+x"}));
    ASSERT_TRUE(program.process.waitForFinished(20000)) << "the window did not close";
    EXPECT_EQ(readFile(document), "a?Xb\r\n");
}

// The X habit: what is selected is offered as the primary selection, and a middle click in
// the editor pastes it where it clicks, even after a click has taken the selection away.
TEST(XvfbEndToEnd, aMiddleClickPastesTheSelectedText) {
    if (const std::string missing = xSessionMissing(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    const Installation install;
    writeFile(install.folder + "usb.dat", "");
    writeFile(install.folder + "Tavrel.ini", "[Options]\r\nExitFocus=0\r\n");
    const std::string document = install.root / "words.txt";
    writeFile(document, "alpha beta\r\n");

    RunningProgram program;
    const QString window = startOnX(program.process, install, document);
    ASSERT_FALSE(window.isEmpty()) << "the window did not appear: " << program.errors();

    ASSERT_TRUE(sendKeys(window, {"End", "shift+Home"}));
    // Right of the text on the first or the second line: the paste lands at a line's end.
    // A plain click there first only places the caret: what was selected stays offered, as
    // other X programs keep theirs until a new selection is made.
    ASSERT_TRUE(clickAt(window, 200, 45, 1));
    ASSERT_TRUE(clickAt(window, 200, 45, 2));
    ASSERT_TRUE(sendKeys(window, {"ctrl+s", "alt+x"}));
    ASSERT_TRUE(program.process.waitForFinished(20000)) << "the window did not close";

    std::string saved = readFile(document);
    std::erase(saved, '\r');
    std::erase(saved, '\n');
    EXPECT_EQ(saved, "alpha betaalpha beta") << readFile(document);
}

} // namespace
} // namespace tavrel::test
