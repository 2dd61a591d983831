// What the end-to-end tests share: a temporary installation of the built program with its
// language files, and a check of the section order of the settings file it writes.
#pragma once

#include "support/corpus.h"
#include "support/temp_folder.h"
#include "support/x_session.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tavrel::test {

// The program started by a test, stopped whatever happened so that a failing test leaves no
// window behind.
struct RunningProgram {
    QProcess process;
    RunningProgram() = default;
    RunningProgram(const RunningProgram&) = delete; // owns a running process
    RunningProgram& operator=(const RunningProgram&) = delete;
    ~RunningProgram() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    std::string errors() { return process.readAllStandardError().toStdString(); }
};

// A folder holding a copy of the program and its language files, as an installation or a
// USB stick would.
struct Installation {
    TempFolder root;
    std::string folder = root / "Tavrel/";
    std::string program = folder + "tavrel";
    std::string configHome = root / "config";

    Installation() {
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(TAVREL_BINARY_DIR "/bin/tavrel", program);
        std::filesystem::copy(TAVREL_BINARY_DIR "/bin/languages", folder + "languages");
    }
};

// Starts the installation's program with these arguments on the X server, with its own
// settings folder.
inline void launchOnX(QProcess& program, const Installation& install,
                      const QStringList& arguments) {
    QProcessEnvironment environment = xProgramEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       QString::fromStdString(install.configHome));
    program.setProcessEnvironment(environment);
    program.start(QString::fromStdString(install.program), arguments);
}

// The same on one file, answering its window found by the title: empty when none appeared
// in time.
[[nodiscard]] inline QString startOnX(QProcess& program, const Installation& install,
                                      const std::string& document,
                                      const QString& titlePattern = QStringLiteral("^Tavrel - ")) {
    launchOnX(program, install, {QString::fromStdString(document)});
    if (!program.waitForStarted(10000)) {
        return {};
    }
    return waitForWindow(titlePattern);
}

// A test of the installed program on the X server: skipped where there is none, and the
// program it started is stopped when the test ends, however it ended.
class XProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string missing = xSessionMissing(); !missing.empty()) {
            GTEST_SKIP() << missing;
        }
    }
    void TearDown() override {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
    }

    Installation install;
    QProcess program;
};

// Whether the process has its own handler for the signal yet (Linux's "SigCgt" mask), which
// start-up installs once the main window exists and has loaded its file.
[[nodiscard]] inline bool catchesSignal(long long pid, int signal) {
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

// Each section header appears, and in the given order.
inline void expectSectionsInOrder(const std::string& ini, const std::vector<std::string>& order) {
    std::size_t last = 0;
    for (const std::string& section : order) {
        const std::size_t at = ini.find(section + "\r\n");
        ASSERT_NE(at, std::string::npos) << section << " missing in\n" << ini;
        EXPECT_GE(at, last) << section << " out of order in\n" << ini;
        last = at;
    }
}

} // namespace tavrel::test
