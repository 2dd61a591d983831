// The built program, copied into a temporary folder and started on the offscreen platform,
// then ended by SIGTERM or SIGINT the way a desktop ends it at log-out: it must close its
// window in order and leave its settings where its mode says.
#include "platform/temp_folder.h"

#include <QProcess>
#include <QSettings>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <thread>

namespace tavrel {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempFolder;
using test::writeFile;

// Whether the process has its own handler for the signal yet (Linux's "SigCgt" mask), which
// start-up installs once the main window exists.
[[nodiscard]] bool catches(qint64 pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("SigCgt:", 0) == 0) {
            const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
            return ((mask >> (signal - 1)) & 1) != 0;
        }
    }
    return false;
}

struct Run {
    bool cameUp = false;
    bool ended = false;
    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    std::string errors;
};

// Starts the program, waits until it is up, sends the signal and waits for the end.
Run startAndEnd(const std::string& program, const std::string& configHome, int signal) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(configHome));
    process.setProcessEnvironment(environment);
    process.start(QString::fromStdString(program), {});
    Run run;
    if (!process.waitForStarted(10000)) {
        run.errors = process.errorString().toStdString();
        return run;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!(run.cameUp = catches(process.processId(), signal)) &&
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

// A folder holding a copy of the program, as an installation or a USB stick would.
struct Installation {
    TempFolder root;
    std::string folder = root / "Tavrel/";
    std::string program = folder + "tavrel";
    std::string configHome = root / "config";

    Installation() {
        fs::create_directories(folder);
        fs::copy_file(TAVREL_BINARY_DIR "/bin/tavrel", program);
    }
};

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
    EXPECT_EQ(readFile(install.folder + "Tavrel.ini"), "[Info]\r\nVersion=4.2\r\n\r\n");

    // The second start must read what is there and write it back beside its own entry.
    writeFile(install.folder + "Tavrel.ini",
              "[Options]\r\nWordWrap=0\r\n[info]\r\nversion=1.0\r\n");
    expectOrderlyEnd(startAndEnd(install.program, install.configHome, SIGINT));
    EXPECT_EQ(readFile(install.folder + "Tavrel.ini"),
              "[Options]\r\nWordWrap=0\r\n\r\n[info]\r\nVersion=4.2\r\n\r\n");
    EXPECT_FALSE(fs::exists(install.configHome));
}

TEST(EndToEnd, normalModeWritesNothingBesideTheProgram) {
    const Installation install;
    writeFile(install.folder + "highlight.dat", "left by an older installation");

    expectOrderlyEnd(startAndEnd(install.program, install.configHome, SIGTERM));

    std::vector<std::string> beside;
    for (const auto& entry : fs::directory_iterator(install.folder)) {
        beside.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(beside, std::vector<std::string>{"tavrel"});
    const fs::path userFolder = fs::path(install.configHome) / "Velmantic/Tavrel";
    EXPECT_TRUE(fs::is_directory(userFolder));
    EXPECT_EQ(readFile((userFolder / "highlight.dat").string()), "left by an older installation");

    const QSettings native(QString::fromStdString(install.configHome + "/Velmantic/Tavrel.conf"),
                           QSettings::IniFormat);
    EXPECT_EQ(native.value("Info_Version").toString(), "4.2");
}

} // namespace
} // namespace tavrel
