// The font dialog of the Options menu on a real X server, answered with keys: Esc cancels it
// at once, and Enter keeps the font it opened at, which is the stored one, whether or not
// that family is installed and whatever sizes Qt knows of it.
#include "end_to_end_support.h"
#include "support/x_session.h"

#include <gtest/gtest.h>

#include <string>

namespace tavrel::test {
namespace {

class XvfbFontDialog : public XProgramTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(XvfbFontDialog, escCancelsAtOnceAndEnterKeepsTheFontItOpenedAt) {
    const std::string font = GetParam();
    writeFile(install.folder + "usb.dat", "");
    writeFile(install.folder + "Tavrel.ini",
              "[Options]\r\nLanguage=English\r\nFont5=" + font + "\r\n");
    const std::string document = install.root / "short.nfo";
    writeFile(document, "some text\r\n");
    const QString window = startOnX(program, install, document, QStringLiteral("short\\.nfo"));
    ASSERT_FALSE(window.isEmpty()) << program.readAllStandardError().toStdString();
    const QString dialogTitle = QStringLiteral("^Select Font$");

    // Options, then its font item by its key.
    ASSERT_TRUE(sendKeys(window, {"alt+o", "f"}));
    QString dialog = waitForWindow(dialogTitle);
    ASSERT_FALSE(dialog.isEmpty()) << "the font dialog did not open";
    ASSERT_TRUE(sendKeys(dialog, {"Escape"}));
    ASSERT_TRUE(waitForWindowGone(dialogTitle, 5000)) << "one Esc left the dialog open";

    // Enter where the dialog opens (in the font list) and in the size field.
    for (const QStringList& enter : {QStringList{"Return"}, QStringList{"alt+s", "Return"}}) {
        ASSERT_TRUE(sendKeys(window, {"alt+o", "f"}));
        dialog = waitForWindow(dialogTitle);
        ASSERT_FALSE(dialog.isEmpty()) << "the font dialog did not open again";
        ASSERT_TRUE(sendKeys(dialog, enter));
        ASSERT_TRUE(waitForWindowGone(dialogTitle, 5000))
            << enter.join(QLatin1Char(' ')).toStdString() << " left the dialog open";
    }

    ASSERT_TRUE(sendKeys(window, {"alt+x"}));
    ASSERT_TRUE(program.waitForFinished(20000)) << "Exit did not close the window";
    const std::string ini = readFile(install.folder + "Tavrel.ini");
    EXPECT_NE(ini.find("Font5=" + font + "\r\n"), std::string::npos) << ini;
}

// The program's own default (a family it names but does not carry here), a bitmap family
// at a size Qt does not list for it, in a style whose name is not Qt's; an outline family.
INSTANTIATE_TEST_SUITE_P(Fonts, XvfbFontDialog,
                         ::testing::Values("TavrelLarge,9,0000,clWhite", "Terminus,14,0100,clLime",
                                           "DejaVu Sans Mono,11,1000,clRed"));

} // namespace
} // namespace tavrel::test
