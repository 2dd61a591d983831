// The built program on a real X server with a window manager (the CTest entry
// tavrel_app_xvfb_end_to_end): started in portable mode on a corpus file, closed as a user
// closes it, with the keyboard on the Exit button, and its settings file checked.
#include "end_to_end_support.h"
#include "support/x_session.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace tavrel::test {
namespace {

namespace fs = std::filesystem;

TEST(XvfbEndToEnd, theExitButtonReachedByKeysClosesTheWindowAndWritesTheSettings) {
    if (const std::string missing = xSessionMissing(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    const Installation install;
    writeFile(install.folder + "usb.dat", "");
    const std::string art = (corpusDir() / "nfo/emerge.nfo").string();
    ASSERT_TRUE(fs::exists(art)) << art;

    QProcess program;
    QProcessEnvironment environment = xProgramEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       QString::fromStdString(install.configHome));
    program.setProcessEnvironment(environment);
    program.start(QString::fromStdString(install.program), {QString::fromStdString(art)});
    ASSERT_TRUE(program.waitForStarted(10000)) << program.errorString().toStdString();

    // The window shows the file's name in its title once it has loaded it.
    const QString id = waitForWindow(QStringLiteral("^Tavrel - "));
    if (id.isEmpty()) {
        program.kill();
        program.waitForFinished();
        FAIL() << "the window did not appear: " << program.readAllStandardError().toStdString();
    }
    // The Exit button has the focus after loading (Initial Focus: Exit button), and Alt+X is
    // its key.
    ASSERT_TRUE(sendKeys(id, {"alt+x"}));

    const bool ended = program.waitForFinished(20000);
    if (!ended) {
        program.kill();
        program.waitForFinished();
    }
    ASSERT_TRUE(ended) << "the window did not close: "
                       << program.readAllStandardError().toStdString();
    const std::string errors = program.readAllStandardError().toStdString();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << errors;
    EXPECT_EQ(program.exitCode(), 0) << errors;

    const std::string ini = readFile(install.folder + "Tavrel.ini");
    expectSectionsInOrder(ini,
                          {"[Info]", "[Options]", "[Find]", "[Window]", "[nfo]", "[Recent Files]"});
    EXPECT_NE(ini.find("[Recent Files]\r\n0=" + art + "\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("ExitFocus=1\r\n"), std::string::npos) << ini;
    EXPECT_FALSE(fs::exists(install.configHome)); // portable: nothing in the user's folder
}

} // namespace
} // namespace tavrel::test
