// F1 on the real window, as a reader presses it: the help opens in the language the menus
// speak. The expected window title is read from each language's help file itself.
#include "end_to_end_support.h"

#include <QFile>
#include <QRegularExpression>

namespace tavrel::test {
namespace {

QString helpTitle(const QString& helpFile) {
    QFile html(helpFile);
    if (!html.open(QIODevice::ReadOnly)) {
        return {};
    }
    const auto match =
        QRegularExpression(QStringLiteral("<title>([^<]+)</title>")).match(html.readAll());
    return match.captured(1);
}

struct HelpCase {
    const char* language;
    const char* helpFile; // under docs/help
};

class XvfbHelp : public XProgramTest, public ::testing::WithParamInterface<HelpCase> {};

TEST_P(XvfbHelp, f1OpensTheHelpOfTheMenusLanguage) {
    std::filesystem::copy(TAVREL_BINARY_DIR "/bin/help", install.folder + "help",
                          std::filesystem::copy_options::recursive);
    writeFile(install.folder + "usb.dat", "");
    writeFile(install.folder + "Tavrel.ini",
              std::string("[Options]\r\nLanguage=") + GetParam().language + "\r\n");
    const std::string document = install.root / "art.nfo";
    writeFile(document, "a line of art\r\n");
    const QString title =
        helpTitle(QStringLiteral(TAVREL_SOURCE_DIR "/docs/help/") + GetParam().helpFile);
    ASSERT_FALSE(title.isEmpty());

    const QString window = startOnX(program, install, document, QStringLiteral("art\\.nfo"));
    ASSERT_FALSE(window.isEmpty()) << program.readAllStandardError().toStdString();
    ASSERT_TRUE(sendKeys(window, {"F1"}));
    EXPECT_FALSE(
        waitForWindow(QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$'))
            .isEmpty())
        << "no help window titled " << title.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Languages, XvfbHelp,
                         ::testing::Values(HelpCase{"English", "index.html"},
                                           HelpCase{"German", "German/index.html"}),
                         [](const auto& testCase) { return std::string(testCase.param.language); });

} // namespace
} // namespace tavrel::test
