// The built program on a real X server with a window manager, driven as a user drives it:
// Alt+Shift+drag makes a column block where Alt+drag belongs to the window manager, a triple
// click takes a paragraph, the Menu key opens the popup at the caret, Ctrl+Q quits.
#include "end_to_end_support.h"
#include "support/x_session.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace tavrel::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

struct Point {
    int x = 0;
    int y = 0;
};

// "Position: 10,20 (screen: 0)" from xdotool getwindowgeometry.
std::optional<Point> windowPosition(const QString& window) {
    const auto out = xdotool({"getwindowgeometry", window});
    if (!out) {
        return std::nullopt;
    }
    const qsizetype at = out->indexOf(QStringLiteral("Position: "));
    if (at < 0) {
        return std::nullopt;
    }
    const QStringList xy =
        out->mid(at + 10).section(QLatin1Char(' '), 0, 0).split(QLatin1Char(','));
    if (xy.size() != 2) {
        return std::nullopt;
    }
    return Point{xy[0].toInt(), xy[1].toInt()};
}

// "x:10 y:20 screen:0 window:123" from xdotool getmouselocation.
std::optional<Point> mouseLocation() {
    const auto out = xdotool({"getmouselocation"});
    if (!out) {
        return std::nullopt;
    }
    Point p;
    for (const QString& field : out->split(QLatin1Char(' '))) {
        if (field.startsWith(QStringLiteral("x:"))) {
            p.x = field.mid(2).toInt();
        } else if (field.startsWith(QStringLiteral("y:"))) {
            p.y = field.mid(2).toInt();
        }
    }
    return p;
}

// The program in portable mode on one file, word wrap off and the editor focused, its
// window found by the file's name in the title.
class XHabits : public XProgramTest {
protected:
    // Starts the program on `text`; answers the window's id or empty.
    QString start(const std::string& text) {
        writeFile(install.folder + "usb.dat", "");
        writeFile(install.folder + "Tavrel.ini",
                  "[Options]\r\nWordWrap=0\r\nExitFocus=0\r\nAutoHeight=1\r\nLanguage=English\r\n");
        document = install.root / "habits.txt";
        writeFile(document, text);
        const QString id = startOnX(program, install, document, QStringLiteral("habits\\.txt"));
        // The window manager maps and places the window; give Qt the moment to settle.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        return id;
    }

    // Saves with Ctrl+S and answers what the file then holds.
    std::string saveAndRead(const QString& id) {
        const std::string before = readFile(document);
        EXPECT_TRUE(sendKeys(id, {"ctrl+s"}));
        for (int i = 0; i < 100 && readFile(document) == before; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return readFile(document);
    }

    std::string document;
};

TEST_F(XHabits, altShiftDragMakesAColumnBlockUnderAWindowManager) {
    std::string text;
    for (int i = 0; i < 8; ++i) {
        text += "0123456789abcdefghijklmnopqrstuvwxyz0123456789\r\n";
    }
    const QString id = start(text);
    ASSERT_FALSE(id.isEmpty()) << program.readAllStandardError().toStdString();
    const auto before = windowPosition(id);
    ASSERT_TRUE(before);
    // From a point on one of the first lines to one a few lines further down and right.
    ASSERT_TRUE(xdotool({"windowactivate", "--sync", id}));
    ASSERT_TRUE(xdotool({"mousemove", "--sync",    "--window",  id,   "40",        "45",
                         "keydown",   "shift+alt", "mousedown", "1",  "mousemove", "--sync",
                         "--window",  id,          "80",        "70", "sleep",     "0.2",
                         "mousemove", "--sync",    "--window",  id,   "120",       "100",
                         "sleep",     "0.2",       "mouseup",   "1",  "keyup",     "shift+alt"}));
    // The window manager left the window where it was: the drag was the editor's.
    const auto after = windowPosition(id);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->x, before->x);
    EXPECT_EQ(after->y, before->y);
    ASSERT_TRUE(sendKeys(id, {"Delete"}));
    const std::vector<std::string> original = linesOf(text);
    const std::vector<std::string> saved = linesOf(saveAndRead(id));
    // A column block leaves every line in place and cuts the same columns out of the
    // lines it spans; a stream selection would have joined lines.
    ASSERT_EQ(saved.size(), original.size());
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (saved[i] != original[i]) {
            changed.push_back(i);
        }
    }
    ASSERT_GE(changed.size(), 2u);
    EXPECT_EQ(changed.back() - changed.front() + 1, changed.size()) << "not one run of lines";
    for (const std::size_t i : changed) {
        EXPECT_EQ(saved[i], saved[changed.front()]) << "line " << i;
        EXPECT_LT(saved[i].size(), original[i].size());
    }
    program.kill();
}

TEST_F(XHabits, aTripleClickSelectsOneWholeParagraph) {
    std::string text;
    for (int i = 0; i < 10; ++i) {
        text += "paragraph number " + std::to_string(i) + " with some words\r\n";
    }
    const QString id = start(text);
    ASSERT_FALSE(id.isEmpty()) << program.readAllStandardError().toStdString();
    ASSERT_TRUE(xdotool({"windowactivate", "--sync", id}));
    ASSERT_TRUE(xdotool({"mousemove", "--sync", "--window", id, "60", "60", "click", "--repeat",
                         "3", "--delay", "80", "1"}));
    ASSERT_TRUE(sendKeys(id, {"Delete"}));
    const std::vector<std::string> original = linesOf(text);
    const std::vector<std::string> saved = linesOf(saveAndRead(id));
    ASSERT_EQ(saved.size() + 1, original.size());
    // What is left is the original with exactly one line taken out.
    std::size_t skipped = 0;
    for (std::size_t i = 0, j = 0; i < original.size(); ++i) {
        if (j < saved.size() && saved[j] == original[i]) {
            ++j;
        } else {
            ++skipped;
        }
    }
    EXPECT_EQ(skipped, 1u);
    program.kill();
}

TEST_F(XHabits, theMenuKeyOpensThePopupAtTheCaretNotAtTheMouseOrTheMiddle) {
    std::string text;
    for (int i = 0; i < 30; ++i) {
        text += std::string(80, static_cast<char>('a' + i % 26)) + "\r\n";
    }
    const QString id = start(text);
    ASSERT_FALSE(id.isEmpty()) << program.readAllStandardError().toStdString();
    // The caret goes where the click is, near the top left; the mouse then moves away to
    // the bottom right, so that neither the pointer nor the editor's middle is near it.
    ASSERT_TRUE(xdotool({"windowactivate", "--sync", id}));
    ASSERT_TRUE(xdotool({"mousemove", "--sync", "--window", id, "60", "50"}));
    const auto clicked = mouseLocation();
    ASSERT_TRUE(clicked);
    ASSERT_TRUE(xdotool({"click", "1"}));
    ASSERT_TRUE(xdotool({"mousemove", "--sync", "--window", id, "500", "400"}));
    ASSERT_TRUE(sendKeys(id, {"Menu"}));
    // The popup is the program's other top-level window; Qt titles it with the program's
    // name alone.
    QString popup;
    for (int i = 0; i < 100 && popup.isEmpty(); ++i) {
        const auto found = xdotool({"search", "--onlyvisible", "--pid",
                                    QString::number(program.processId()), "--name", "^Tavrel$"});
        popup = found.value_or(QString()).section(QLatin1Char('\n'), 0, 0);
        if (popup.isEmpty()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    ASSERT_FALSE(popup.isEmpty()) << "no popup appeared";
    const auto at = windowPosition(popup);
    ASSERT_TRUE(at);
    // At the caret: within a character of the click sideways, within a line up or down.
    EXPECT_LT(std::abs(at->x - clicked->x), 30) << "popup at " << at->x << "," << at->y;
    EXPECT_LT(std::abs(at->y - clicked->y), 40) << "popup at " << at->x << "," << at->y;
    program.kill();
}

TEST_F(XHabits, ctrlQQuitsLikeExit) {
    const QString id = start("nothing changed\r\n");
    ASSERT_FALSE(id.isEmpty()) << program.readAllStandardError().toStdString();
    ASSERT_TRUE(sendKeys(id, {"ctrl+q"}));
    ASSERT_TRUE(program.waitForFinished(20000)) << "Ctrl+Q did not end the program";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    // Quitting as Exit does writes the settings on the way out.
    EXPECT_NE(readFile(install.folder + "Tavrel.ini").find("[Recent Files]"), std::string::npos);
}

} // namespace
} // namespace tavrel::test
