// Ctrl+P on the real window (the CTest entry tavrel_app_xvfb_print): the system print dialog
// comes up over the program, Escape cancels it, and the program carries on and closes as
// usual.
#include "end_to_end_support.h"
#include "support/x_session.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace tavrel::test {
namespace {

TEST(XvfbPrint, ctrlPOpensThePrintDialogAndEscapeCancelsIt) {
    if (const std::string missing = xSessionMissing(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    const Installation install;
    writeFile(install.folder + "usb.dat", "");
    const std::string text = install.folder + "note.txt";
    writeFile(text, "one line to print\r\n");

    QProcess program;
    QProcessEnvironment environment = xProgramEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       QString::fromStdString(install.configHome));
    program.setProcessEnvironment(environment);
    program.start(QString::fromStdString(install.program), {QString::fromStdString(text)});
    ASSERT_TRUE(program.waitForStarted(10000)) << program.errorString().toStdString();
    const auto stop = [&program] {
        program.kill();
        program.waitForFinished();
    };

    const QString id = waitForWindow(QStringLiteral("^Tavrel - "));
    if (id.isEmpty()) {
        stop();
        FAIL() << "the window did not appear: " << program.readAllStandardError().toStdString();
    }
    ASSERT_TRUE(sendKeys(id, {"ctrl+p"}));
    const QString dialog = waitForWindow(QStringLiteral("^Print$"));
    if (dialog.isEmpty()) {
        stop();
        FAIL() << "no print dialog: " << program.readAllStandardError().toStdString();
    }
    ASSERT_TRUE(sendKeys(dialog, {"Escape"}));
    EXPECT_TRUE(waitForWindowGone(QStringLiteral("^Print$")));
    // Cancelled: nothing was printed, and the window still answers.
    EXPECT_FALSE(std::filesystem::exists(install.folder + "note.pdf"));
    ASSERT_TRUE(sendKeys(id, {"alt+x"}));
    const bool ended = program.waitForFinished(20000);
    if (!ended) {
        stop();
    }
    ASSERT_TRUE(ended) << program.readAllStandardError().toStdString();
    EXPECT_EQ(program.exitCode(), 0);
}

} // namespace
} // namespace tavrel::test
