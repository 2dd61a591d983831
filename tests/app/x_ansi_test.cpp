// ANSI art in the built program on a real X server: the corpus's cl-al05.ans opens drawn
// (its first rows' colours, as ansilove draws them, are on screen), says so when typed into,
// and File > Properties shows its SAUCE title (read here from the file's last 128 bytes).
#include "end_to_end_support.h"
#include "support/x_session.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <set>
#include <thread>

namespace tavrel::test {
namespace {

using namespace std::chrono_literals;

std::set<QRgb> coloursIn(const QImage& image, int height) {
    std::set<QRgb> colours;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < std::min(height, rgb.height()); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            colours.insert(rgb.pixel(x, y));
        }
    }
    return colours;
}

class XAnsi : public XProgramTest {};

TEST_F(XAnsi, artOpensInItsColoursReadOnlyWithItsRecordInProperties) {
    const auto source = corpusDir() / "nfo/cl-al05.ans";
    if (!std::filesystem::exists(source) || std::system("command -v ansilove >/dev/null") != 0) {
        GTEST_SKIP() << "needs the corpus and ansilove";
    }
    const std::string bytes = readFile(source);
    const std::string art = install.root / "cl-al05.ans";
    writeFile(art, bytes);
    // The other renderer's first four rows (16 pixels each): the colours they hold.
    const std::string reference = install.root / "reference.png";
    const std::string command = "ansilove -q -b 8 -o '" + reference + "' '" + art + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::set<QRgb> expected = coloursIn(QImage(QString::fromStdString(reference)), 4 * 16);
    ASSERT_GE(expected.size(), 3u);

    writeFile(install.folder + "usb.dat", "");
    writeFile(install.folder + "Tavrel.ini",
              "[Options]\r\nWordWrap=0\r\nExitFocus=0\r\nLanguage=English\r\n");
    const QString id = startOnX(program, install, art, QStringLiteral("cl-al05\\.ans \\[ANSI\\]$"));
    ASSERT_FALSE(id.isEmpty()) << program.readAllStandardError().toStdString();
    std::this_thread::sleep_for(500ms);

    const std::string shot = install.root / "window.png";
    const QImage upper = grabWindowHalf(id, shot, true);
    ASSERT_FALSE(upper.isNull());
    const std::set<QRgb> shown = coloursIn(upper, upper.height());
    for (const QRgb colour : expected) {
        EXPECT_TRUE(shown.count(colour)) << "colour " << std::hex << colour << " not on screen";
    }

    // Typing changes nothing and puts the notice line up (the lower half changes).
    const QImage lowerBefore = grabWindowHalf(id, shot, false);
    ASSERT_TRUE(typeText(id, QStringLiteral("x")));
    bool noticed = false;
    for (int i = 0; i < 40 && !noticed; ++i) {
        std::this_thread::sleep_for(100ms);
        noticed = grabWindowHalf(id, shot, false) != lowerBefore;
    }
    EXPECT_TRUE(noticed) << "no notice after typing";
    ASSERT_TRUE(sendKeys(id, {"ctrl+s"}));

    // File > Properties, the item above Exit; Ctrl+C in the dialog copies its rows.
    QApplication::clipboard()->clear();
    ASSERT_TRUE(sendKeys(id, {"alt+f", "Up", "Up", "Return"}));
    const QString dialog = waitForWindow(QStringLiteral("^cl-al05\\.ans$"));
    ASSERT_FALSE(dialog.isEmpty());
    ASSERT_TRUE(sendKeys(dialog, {"ctrl+c"}));
    std::string title = bytes.substr(bytes.size() - 128 + 7, 35);
    title.erase(title.find_last_not_of(' ') + 1);
    const QString expectedRow = QStringLiteral("Title:\t") + QString::fromStdString(title);
    bool copied = false;
    for (int i = 0; i < 100 && !copied; ++i) {
        QApplication::processEvents();
        copied = QApplication::clipboard()->text().contains(expectedRow);
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_TRUE(copied) << QApplication::clipboard()->text().toStdString();
    ASSERT_TRUE(sendKeys(dialog, {"Escape"}));
    EXPECT_EQ(readFile(art), bytes);
    program.kill();
}

} // namespace
} // namespace tavrel::test
