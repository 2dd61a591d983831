// Unicode art in the built program on a real X server: a UTF-8 file opens marked in the
// title, Ctrl+C with "Copy text art as Unicode glyphs" gives another X client the glyphs,
// glyphs that client offers paste back as their bytes, and Ctrl+S writes UTF-8 again; keys
// typed into it are saved as the characters typed, and a character without a glyph is not
// typed at all.
#include "end_to_end_support.h"
#include "support/x_session.h"

#include <QApplication>
#include <QClipboard>
#include <QProcess>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace tavrel::test {
namespace {

class XUnicode : public XProgramTest {
protected:
    // Waits, serving the clipboard to the program meanwhile, until `done` holds.
    template <typename Done>
    bool waitFor(Done done) {
        for (int i = 0; i < 200; ++i) {
            QApplication::processEvents();
            if (done()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
};

TEST_F(XUnicode, utf8ArtCopiesAsGlyphsPastesBackAndSavesAsUtf8) {
    writeFile(install.folder + "usb.dat", "");
    writeFile(install.folder + "Tavrel.ini",
              "[Options]\r\nWordWrap=0\r\nExitFocus=0\r\nCopyUnicode=1\r\nLanguage=English\r\n");
    const std::string document = install.root / "frame.nfo";
    // ╔═╗ and ▓♣▓, LF line ends as the file was converted.
    writeFile(document, "\xE2\x95\x94\xE2\x95\x90\xE2\x95\x97\n"
                        "\xE2\x96\x93\xE2\x99\xA3\xE2\x96\x93\n");
    const QString id = startOnX(program, install, document, QStringLiteral("frame\\.nfo"));
    ASSERT_FALSE(id.isEmpty()) << program.readAllStandardError().toStdString();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_TRUE(windowTitle(id).endsWith(QStringLiteral("[UTF-8]")))
        << windowTitle(id).toStdString();

    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    ASSERT_TRUE(xdotool({"windowactivate", "--sync", id}));
    ASSERT_TRUE(sendKeys(id, {"ctrl+a", "ctrl+c"}));
    // "Trim Selection before Copy" is on by default: the last line end stays behind. How
    // the X clipboard carries the line end itself is the toolkit's affair.
    const QString glyphs = QString::fromUtf8("\u2554\u2550\u2557\n\u2593\u2663\u2593");
    EXPECT_TRUE(waitFor([&] { return clipboard->text().remove(QLatin1Char('\r')) == glyphs; }))
        << clipboard->text().toStdString();

    // Another program's glyphs replace the text; the file is written in UTF-8 with its LF.
    clipboard->setText(QString::fromUtf8("\u2588\u2591\n"));
    ASSERT_TRUE(sendKeys(id, {"ctrl+a", "ctrl+v", "ctrl+s"}));
    EXPECT_TRUE(waitFor([&] { return readFile(document) == "\xE2\x96\x88\xE2\x96\x91\n"; }))
        << readFile(document);
    program.kill();
}

TEST_F(XUnicode, typedCharactersAreSavedAsTypedAndThoseWithoutAGlyphAreLeftOut) {
    writeFile(install.folder + "usb.dat", "");
    writeFile(install.folder + "Tavrel.ini",
              "[Options]\r\nWordWrap=0\r\nExitFocus=0\r\nLanguage=English\r\n");
    const std::string document = install.root / "frame.nfo";
    // ╔═╗ and ▓♣▓, LF line ends.
    const std::string first = "\xE2\x95\x94\xE2\x95\x90\xE2\x95\x97";
    const std::string rest = "\n\xE2\x96\x93\xE2\x99\xA3\xE2\x96\x93\n";
    writeFile(document, first + rest);
    const QString id = startOnX(program, install, document, QStringLiteral("frame\\.nfo"));
    ASSERT_FALSE(id.isEmpty()) << program.readAllStandardError().toStdString();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    // At the end of the first line: é, the light shade, sharp s and the right arrow (the
    // glyph of byte 26), then the euro sign and a check mark, which have none.
    ASSERT_TRUE(sendKeys(id, {"End"}));
    // One character a call, slowly: xdotool lends each one a spare key code and takes it back
    // afterwards, and on a busy machine the window may read the key only after that.
    ASSERT_TRUE(xdotool({"windowactivate", "--sync", id}));
    for (const QChar c : QString::fromUtf8("\u00E9\u2591\u00DF\u2192\u20AC\u2713")) {
        ASSERT_TRUE(xdotool({"type", "--clearmodifiers", "--delay", "400", QString(c)}));
    }
    ASSERT_TRUE(sendKeys(id, {"ctrl+s"}));
    const std::string typed = "\xC3\xA9\xE2\x96\x91\xC3\x9F\xE2\x86\x92";
    const std::string expected = first + typed + rest;
    bool saved = false;
    for (int i = 0; i < 200 && !saved; ++i) {
        saved = readFile(document) == expected;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(saved) << readFile(document);
    program.kill();
}

} // namespace
} // namespace tavrel::test
