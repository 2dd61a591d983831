// The built program, copied into a temporary folder and started on the offscreen platform,
// then ended by SIGTERM, SIGINT or SIGHUP the way a desktop ends it at log-out: it must close its
// window in order and leave its settings where its mode says.
#include "end_to_end_support.h"

#include <QProcess>
#include <QSettings>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <thread>

namespace tavrel {
namespace {

namespace fs = std::filesystem;
using test::expectSectionsInOrder;
using test::Installation;
using test::readFile;
using test::writeFile;

struct Run {
    bool cameUp = false;
    bool ended = false;
    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    std::string errors;
};

// Starts the program, waits until it is up, sends the signal and waits for the end.
Run startAndEnd(const std::string& program, const std::string& configHome, int signal,
                const QStringList& arguments = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(configHome));
    process.setProcessEnvironment(environment);
    process.start(QString::fromStdString(program), arguments);
    Run run;
    if (!process.waitForStarted(10000)) {
        run.errors = process.errorString().toStdString();
        return run;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!(run.cameUp = test::catchesSignal(process.processId(), signal)) &&
           process.state() == QProcess::Running && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (run.cameUp) {
        ::kill(static_cast<pid_t>(process.processId()), signal);
    } else {
        process.kill();
    }
    run.ended = process.waitForFinished(20000);
    run.exitCode = process.exitCode();
    run.exitStatus = process.exitStatus();
    run.errors += process.readAllStandardError().toStdString();
    return run;
}

void expectOrderlyEnd(const Run& run) {
    EXPECT_TRUE(run.cameUp) << run.errors;
    EXPECT_TRUE(run.ended) << run.errors;
    EXPECT_EQ(run.exitStatus, QProcess::NormalExit) << run.errors;
    EXPECT_EQ(run.exitCode, 0) << run.errors;
}

TEST(EndToEnd, portableProgramKeepsItsSettingsBesideItselfAcrossStarts) {
    const Installation install;
    writeFile(install.folder + "usb.dat", "");

    expectOrderlyEnd(startAndEnd(install.program, install.configHome, SIGTERM));
    const std::string first = readFile(install.folder + "Tavrel.ini");
    EXPECT_EQ(first.rfind("[Info]\r\nVersion=4.2\r\n\r\n[Options]\r\nLanguage=English\r\n", 0), 0u)
        << first;
    EXPECT_NE(first.find("WordWrap=1\r\n"), std::string::npos);

    // The second start must read what is there and write it back beside its own entries.
    writeFile(install.folder + "Tavrel.ini",
              "[Options]\r\nWordWrap=0\r\n[info]\r\nversion=1.0\r\n");
    expectOrderlyEnd(startAndEnd(install.program, install.configHome, SIGINT));
    const std::string second = readFile(install.folder + "Tavrel.ini");
    EXPECT_EQ(second.rfind("[Options]\r\nWordWrap=0\r\nLanguage=English\r\n", 0), 0u) << second;
    EXPECT_NE(second.find("[info]\r\nVersion=4.2\r\n"), std::string::npos) << second;
    EXPECT_FALSE(fs::exists(install.configHome));
}

// A damaged settings file asks for fonts no font engine can draw: the program starts all the
// same, with those sizes brought into range and every other setting as stored.
TEST(EndToEnd, absurdFontSizesInTheSettingsAreBroughtIntoRange) {
    for (const char* size : {"999999", "100000", "-7"}) {
        const Installation install;
        writeFile(install.folder + "usb.dat", "");
        writeFile(install.folder + "Tavrel.ini",
                  std::string("[Options]\r\nFont5=TavrelLarge,") + size +
                      ",0000,clWhite\r\nPrintFont=Courier New," + size +
                      ",0000,clBlack\r\nBackColor=clMaroon\r\n");
        expectOrderlyEnd(startAndEnd(install.program, install.configHome, SIGTERM));
        const std::string ini = readFile(install.folder + "Tavrel.ini");
        const std::string points = size[0] == '-' ? "9" : "144";
        EXPECT_NE(ini.find("Font5=TavrelLarge," + points + ",0000,clWhite\r\n"), std::string::npos)
            << size << "\n"
            << ini;
        EXPECT_NE(ini.find("PrintFont=Courier New," + points + ","), std::string::npos) << ini;
        EXPECT_NE(ini.find("BackColor=clMaroon\r\n"), std::string::npos) << ini;
    }
}

// SIGTERM at log-out closes a window showing a file as the Exit button would: the file is
// among the recent files and its class has bounds, in the order a fresh file gets them.
TEST(EndToEnd, aSignalClosesAWindowWithAFileAndWritesEverySetting) {
    const Installation install;
    writeFile(install.folder + "usb.dat", "");
    const std::string art = (test::corpusDir() / "nfo/emerge.nfo").string();
    ASSERT_TRUE(fs::exists(art)) << art;

    expectOrderlyEnd(
        startAndEnd(install.program, install.configHome, SIGTERM, {QString::fromStdString(art)}));
    const std::string ini = readFile(install.folder + "Tavrel.ini");
    expectSectionsInOrder(ini,
                          {"[Info]", "[Options]", "[Find]", "[Window]", "[nfo]", "[Recent Files]"});
    EXPECT_NE(ini.find("[Recent Files]\r\n0=" + art + "\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("[Window]\r\nMaximized=0\r\n"), std::string::npos) << ini;
}

// The terminal that started the program closes: SIGHUP ends it as SIGTERM does, in order,
// with every setting written, instead of killing it.
TEST(EndToEnd, aHangUpClosesLikeATerminateAndWritesEverySetting) {
    const Installation install;
    writeFile(install.folder + "usb.dat", "");
    const std::string art = (test::corpusDir() / "nfo/emerge.nfo").string();
    ASSERT_TRUE(fs::exists(art)) << art;

    expectOrderlyEnd(
        startAndEnd(install.program, install.configHome, SIGHUP, {QString::fromStdString(art)}));
    const std::string ini = readFile(install.folder + "Tavrel.ini");
    expectSectionsInOrder(ini,
                          {"[Info]", "[Options]", "[Find]", "[Window]", "[nfo]", "[Recent Files]"});
    EXPECT_NE(ini.find("[Recent Files]\r\n0=" + art + "\r\n"), std::string::npos) << ini;
}

TEST(EndToEnd, normalModeWritesNothingBesideTheProgram) {
    const Installation install;
    writeFile(install.folder + "highlight.dat", "left by an older installation");

    expectOrderlyEnd(startAndEnd(install.program, install.configHome, SIGTERM));

    std::vector<std::string> beside;
    for (const auto& entry : fs::directory_iterator(install.folder)) {
        beside.push_back(entry.path().filename().string());
    }
    std::sort(beside.begin(), beside.end());
    EXPECT_EQ(beside, (std::vector<std::string>{"languages", "tavrel"}));
    const fs::path userFolder = fs::path(install.configHome) / "Velmantic/Tavrel";
    EXPECT_TRUE(fs::is_directory(userFolder));
    EXPECT_EQ(readFile((userFolder / "highlight.dat").string()), "left by an older installation");

    const QSettings native(QString::fromStdString(install.configHome + "/Velmantic/Tavrel.conf"),
                           QSettings::IniFormat);
    EXPECT_EQ(native.value("Info_Version").toString(), "4.2");
}

} // namespace
} // namespace tavrel
