// Unicode art in the window offscreen: a UTF-8 or UTF-16 file shown as the code page 437
// bytes of the art it was made from (made here with iconv), the title marked, Save writing
// the file's own bytes back; the Encoding submenu; the clipboard with the option on and off;
// typing in the shown file's form.
#include "window_fixture.h"

#include "app/notice_bar.h"
#include "support/charset_converter.h"
#include "support/corpus.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

#include <filesystem>

namespace tavrel::test {
namespace {

using UnicodeWindowTest = WindowTest;

// The file converted by the system's converter (iconv); empty when it refuses.
std::string converted(const std::filesystem::path& path, const char* from, const char* to) {
    return convertFile(path, from, to).value_or(std::string());
}

TEST_F(UnicodeWindowTest, convertedArtShowsItsBytesAndSavesBackByteForByte) {
    const auto original = corpusDir() / "nfo/us-alove.asc"; // CR LF, a 0x03 heart
    const auto lfArt = corpusDir() / "nfo/emerge.nfo";      // LF
    if (!std::filesystem::exists(original) || !std::filesystem::exists(lfArt)) {
        GTEST_SKIP() << "corpus not found";
    }
    MainWindow& w = open();
    for (const auto& source : {original, lfArt}) {
        SCOPED_TRACE(source.string());
        const std::string bytes = readFile(source);
        const std::string utf8 = converted(source, "IBM437", "UTF-8");
        const std::string utf16 = "\xFE\xFF" + converted(source, "IBM437", "UTF-16BE");
        ASSERT_FALSE(utf8.empty());
        // The file shown as bytes, with the repair on, for comparison.
        ASSERT_TRUE(w.load(source.string()));
        const std::string shown = text(w);

        struct Case {
            std::string name, file, mark;
        } cases[] = {{"art-utf8.nfo", utf8, " [UTF-8]"}, {"art-utf16.nfo", utf16, " [UTF-16 BE]"}};
        for (const Case& c : cases) {
            const std::string path = file(c.name, c.file);
            ASSERT_TRUE(w.load(path));
            EXPECT_TRUE(text(w) == shown);
            EXPECT_EQ(w.windowTitle().toStdString(), "Tavrel - " + path + c.mark);
            std::filesystem::remove(path);
            ASSERT_TRUE(w.save());
            EXPECT_TRUE(readFile(path) == c.file);
        }
    }
}

TEST_F(UnicodeWindowTest, anEditIsSavedInTheFilesEncodingAndTextOutsideTheGlyphsIsLeftAlone) {
    MainWindow& w = open();
    const std::string path = file("frame.nfo", "\xE2\x95\x94\xE2\x95\x97\n");
    ASSERT_TRUE(w.load(path));
    EXPECT_EQ(text(w), "\xC9\xBB\r\n");
    w.editor().engine().setSelStart(1);
    w.editor().engine().setSelText("\xCD"); // ═ between the corners
    ASSERT_TRUE(w.save());
    EXPECT_EQ(readFile(path), "\xE2\x95\x94\xE2\x95\x90\xE2\x95\x97\n");

    // A CJK character has no glyph, and a lone invalid byte is not UTF-8: both stay bytes,
    // and are saved as they were.
    for (const std::string bytes : {"\xE2\x95\x94\xE4\xB8\xAD", "\xE2\x95\x94\xDB"}) {
        const std::string other = file("other.txt", bytes);
        ASSERT_TRUE(w.load(other));
        EXPECT_EQ(text(w), bytes);
        EXPECT_EQ(w.windowTitle().toStdString(), "Tavrel - " + other);
        EXPECT_EQ(w.textForm().encoding, TextEncoding::Bytes);
        ASSERT_TRUE(w.save());
        EXPECT_EQ(readFile(other), bytes);
    }
}

TEST_F(UnicodeWindowTest, typingFollowsTheShownFileAndARefusedCharacterIsNoticed) {
    MainWindow& w = open();
    const auto typeText = [&w](const char* utf8) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8(utf8));
        QApplication::sendEvent(&w.editor(), &press);
    };
    const std::string path = file("frame.nfo", "\xE2\x95\x94\xE2\x95\x97\n");
    ASSERT_TRUE(w.load(path));
    w.editor().engine().setSelStart(1);
    typeText("\u20AC");
    EXPECT_EQ(text(w), "\xC9\xBB\r\n");
    EXPECT_FALSE(w.notice().isHidden());
    EXPECT_TRUE(w.notice().text().contains(QString::fromUtf8("\u20AC")))
        << w.notice().text().toStdString();
    EXPECT_TRUE(w.notice().text().contains(QStringLiteral("UTF-8")));
    typeText("\u00E9");
    ASSERT_TRUE(w.save());
    EXPECT_EQ(readFile(path), "\xE2\x95\x94\xC3\xA9\xE2\x95\x97\n");

    // New is a file of bytes: typed text is Windows-1252 again.
    w.action("New1")->trigger();
    typeText("\u00E9\u20AC");
    EXPECT_EQ(text(w), "\xE9\x80");
}

TEST_F(UnicodeWindowTest, theEncodingMenuReloadsOrRedrawsTheFile) {
    MainWindow& w = open();
    const std::string path = file("note.txt", "\xE2\x96\x88 Gr\xC3\xBC\xC3\x9F"
                                              "e");
    ASSERT_TRUE(w.load(path));
    EXPECT_EQ(text(w), "\xDB Gr\x81\xE1"
                       "e");

    w.action("EncodingCp4371")->trigger(); // the file's own bytes
    EXPECT_EQ(text(w), "\xE2\x96\x88 Gr\xC3\xBC\xC3\x9F"
                       "e");
    EXPECT_EQ(w.textForm().encoding, TextEncoding::Bytes);
    EXPECT_EQ(w.windowTitle().toStdString(), "Tavrel - " + path);

    // Between code page 437 and Windows-1252 only the glyphs change; an edit stays.
    w.editor().engine().setSelStart(0);
    w.editor().engine().setSelText("x");
    w.action("EncodingWindows12521")->trigger();
    EXPECT_EQ(w.editor().byteGlyphs(), ByteGlyphs::Windows1252);
    EXPECT_EQ(text(w).substr(0, 1), "x");
    EXPECT_TRUE(w.isModified());

    // Reloading asks first; Cancel keeps the edit and the choice it had.
    dialogs.saveAnswers.push_back(SaveAnswer::Cancel);
    w.action("EncodingUtf81")->trigger();
    EXPECT_EQ(text(w).substr(0, 1), "x");
    EXPECT_EQ(encodingChoiceOf(w.options().encoding), EncodingChoice::Windows1252);
    dialogs.saveAnswers.push_back(SaveAnswer::No);
    w.action("EncodingUtf81")->trigger();
    EXPECT_EQ(text(w), "\xDB Gr\x81\xE1"
                       "e");
    EXPECT_EQ(w.editor().byteGlyphs(), ByteGlyphs::Cp437);

    // UTF-16 cannot read this file: it is shown as its bytes, and the notice says why.
    w.action("EncodingUtf161")->trigger();
    EXPECT_EQ(w.textForm().encoding, TextEncoding::Bytes);
    EXPECT_EQ(text(w), "\xE2\x96\x88 Gr\xC3\xBC\xC3\x9F"
                       "e");
    EXPECT_TRUE(w.notice().text().contains(QStringLiteral("UTF-16")));
}

// A reading chosen for one file is not how the next file is read, nor kept for the next
// start; the title says whenever the text is not shown as plain code page 437 bytes.
TEST_F(UnicodeWindowTest, anEncodingChoiceHoldsForItsFileOnly) {
    MainWindow& w = open();
    const std::string note = file("note.txt", "Gr\xFC\xDF"
                                              "e aus K\xF6ln \x80");
    const std::string art = file("art.nfo", "\xB3\xB3\xDB\xDB\r\n");
    ASSERT_TRUE(w.load(note));
    w.action("EncodingWindows12521")->trigger();
    EXPECT_EQ(w.editor().byteGlyphs(), ByteGlyphs::Windows1252);
    EXPECT_EQ(w.windowTitle().toStdString(), "Tavrel - " + note + " [Windows-1252]");

    ASSERT_TRUE(w.load(art));
    EXPECT_EQ(w.editor().byteGlyphs(), ByteGlyphs::Cp437);
    EXPECT_EQ(encodingChoiceOf(w.options().encoding), EncodingChoice::Automatic);
    EXPECT_EQ(w.windowTitle().toStdString(), "Tavrel - " + art);

    // Chosen again and the settings written: the next start reads automatically.
    w.action("EncodingWindows12521")->trigger();
    w.writeSettingsNow();
    EXPECT_EQ(settings.readInteger("Options", "Encoding", -1), 0) << "kept as Automatic";
    window.reset();
    MainWindow& next = open(art);
    EXPECT_EQ(next.editor().byteGlyphs(), ByteGlyphs::Cp437);
    EXPECT_EQ(next.windowTitle().toStdString(), "Tavrel - " + art);
}

TEST_F(UnicodeWindowTest, clipboardRoundTripsArtWithTheOptionOnAndOff) {
    MainWindow& w = open();
    const std::string art = "\xDB\xB2\xB1\xB0\x0F\r\n\xC9\xCD\xBB";
    ASSERT_TRUE(w.load(file("art.nfo", art)));
    TextEngine& engine = w.editor().engine();

    // Off: the Windows-1252 text of the bytes, as always.
    engine.selectAll();
    w.action("Copy1")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(),
              QString::fromUtf8("\u00DB\u00B2\u00B1\u00B0\u000F\r\n\u00C9\u00CD\u00BB"));

    w.action("CopyUnicode1")->trigger();
    EXPECT_TRUE(w.options().copyUnicode);
    engine.selectAll();
    w.action("Copy1")->trigger();
    const QString glyphs =
        QString::fromUtf8("\u2588\u2593\u2592\u2591\u263C\r\n\u2554\u2550\u2557");
    EXPECT_EQ(QApplication::clipboard()->text(), glyphs);
    // Pasted back, the glyphs are the art's bytes again.
    engine.selectAll();
    engine.setSelText("");
    w.action("Paste1")->trigger();
    EXPECT_EQ(text(w), art);
    // So is art copied from elsewhere, and other text pastes as it always did.
    QApplication::clipboard()->setText(QString::fromUtf8("\u2580\u20AC"));
    engine.selectAll();
    w.action("Paste1")->trigger();
    EXPECT_EQ(text(w), "\xDF\x80");
}

} // namespace
} // namespace tavrel::test
