// ANSI art in the window offscreen: shown as its drawn screen in the sixteen colours (each
// colour written here by hand from the VGA palette), read-only with its notice, marked in the
// title; "Plain text" shows and saves its bytes; a SAUCE record is never text and a save
// puts it back; a plain file keeps its bytes.
#include "window_fixture.h"

#include "app/notice_bar.h"
#include "support/sauce_record.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

#include <set>

namespace tavrel::test {
namespace {

using AnsiWindowTest = WindowTest;

// Bright yellow on blue, then on the next row a default grey C followed by two green blanks.
const std::string kArtText = "\x1B[1;33;44mAB\x1B[0m\r\nC\x1B[42m  \x1B[0m";
constexpr QRgb kBrightYellow = 0xFFFFFF55;
constexpr QRgb kBlue = 0xFF0000AA;
constexpr QRgb kGreen = 0xFF00AA00;

std::set<QRgb> coloursOf(const QImage& image) {
    std::set<QRgb> colours;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            colours.insert(rgb.pixel(x, y));
        }
    }
    return colours;
}

void typeKey(MainWindow& w, const char* text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromLatin1(text));
    QApplication::sendEvent(&w.editor(), &press);
}

TEST_F(AnsiWindowTest, drawnArtShowsItsColoursReadOnlyAndPlainTextEditsItsBytes) {
    const std::string trailer = sauceTrailer("Two rows", "Tester", 1, 80, 0);
    const std::string path = file("rows.txt", kArtText + trailer);
    MainWindow& w = open();
    w.show();
    w.options().autoWidth = false; // the art's own width sizes the window all the same
    ASSERT_TRUE(w.load(path));
    EXPECT_EQ(text(w), "AB\r\nC  "); // the green blanks are art; the record is not text
    if (w.averageCharWidth() == w.maxCharWidth()) {
        EXPECT_EQ(w.width(), 80 * w.averageCharWidth() + kWidthAllowance);
    }
    EXPECT_TRUE(w.windowTitle().endsWith(QStringLiteral("[ANSI]")))
        << w.windowTitle().toStdString();
    const std::set<QRgb> drawn = coloursOf(w.editor().renderViewport());
    for (const QRgb colour : {kBrightYellow, kBlue, kGreen}) {
        EXPECT_TRUE(drawn.count(colour)) << std::hex << colour;
    }
    // Cell-exact at every zoom step: the two green blanks cover two cells, z * z times as
    // many pixels at zoom z.
    const std::int64_t cellArea =
        std::int64_t{w.editor().glyphMetrics().spaceWidth()} * w.editor().lineHeight();
    for (int zoom = 1; zoom <= TextEditor::kMaxZoom; ++zoom) {
        w.setZoom(zoom);
        const QImage shown = w.editor().renderViewport().convertToFormat(QImage::Format_RGB32);
        std::int64_t green = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                green += shown.pixel(x, y) == kGreen ? 1 : 0;
            }
        }
        EXPECT_EQ(green, 2 * cellArea * zoom * zoom) << "zoom " << zoom;
    }
    w.setZoom(1);
    // Save as PNG image... writes the same colours.
    dialogs.fileNames.push_back(folder / "shot.png");
    w.action("Saveaspng1")->trigger();
    const std::set<QRgb> saved = coloursOf(QImage(QString::fromStdString(folder / "shot.png")));
    for (const QRgb colour : {kBrightYellow, kBlue, kGreen}) {
        EXPECT_TRUE(saved.count(colour)) << std::hex << colour;
    }

    // Copy gives the drawn text, not the escape sequences.
    w.editor().engine().selectAll();
    w.editor().copyToClipboard();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "AB\r\nC  ");

    typeKey(w, "x");
    EXPECT_EQ(text(w), "AB\r\nC  ");
    EXPECT_FALSE(w.isModified());
    EXPECT_FALSE(w.notice().isHidden());
    EXPECT_TRUE(w.notice().text().contains(QStringLiteral("Plain text")))
        << w.notice().text().toStdString();

    // Plain text: the bytes before the record, editable; Save writes the edit and the record.
    w.action("EncodingPlain1")->trigger();
    EXPECT_EQ(text(w), kArtText);
    EXPECT_FALSE(w.windowTitle().endsWith(QStringLiteral("[ANSI]")));
    EXPECT_FALSE(coloursOf(w.editor().renderViewport()).count(kGreen));
    w.editor().engine().setSelStart(0);
    typeKey(w, "x");
    ASSERT_TRUE(w.isModified());
    ASSERT_TRUE(w.save());
    EXPECT_EQ(readFile(path), "x" + kArtText + trailer);
}

TEST_F(AnsiWindowTest, aPlainFilesRecordIsKeptAsideAndSavedBack) {
    const std::string trailer = sauceTrailer("Plain", "Tester", 0, 80, 0);
    const std::string path = file("plain.nfo", "one\r\ntwo" + trailer);
    MainWindow& w = open();
    ASSERT_TRUE(w.load(path));
    EXPECT_EQ(text(w), "one\r\ntwo");
    EXPECT_FALSE(w.windowTitle().endsWith(QStringLiteral("[ANSI]")));
    ASSERT_TRUE(w.art().sauce.has_value());
    EXPECT_EQ(w.art().sauce->title, "Plain");
    type(w, "zero ");
    ASSERT_TRUE(w.save());
    EXPECT_EQ(readFile(path), "zero one\r\ntwo" + trailer);
}

} // namespace
} // namespace tavrel::test
