// The built program started on a file whose name is not valid UTF-8, as names from old
// archives often are (Latin-1 "café"): the name is taken byte for byte from the command line.
#include "end_to_end_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace tavrel {
namespace {

using test::Installation;
using test::readFile;
using test::writeFile;

// Starts the program with raw argument bytes (a QProcess would re-encode them as UTF-8),
// ends it with SIGTERM once it is up; the exit status, or -1.
int runWithRawArgument(const Installation& install, const std::string& argument) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("XDG_CONFIG_HOME", install.configHome.c_str(), 1);
        // The C locale of a script or a bare login: names stay bytes there too.
        for (const char* name : {"LANG", "LANGUAGE", "LC_ALL", "LC_CTYPE"}) {
            ::unsetenv(name);
        }
        std::vector<char*> argv{const_cast<char*>(install.program.c_str()),
                                const_cast<char*>(argument.c_str()), nullptr};
        ::execv(install.program.c_str(), argv.data());
        ::_exit(127);
    }
    if (pid < 0) {
        return -1;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int status = 0;
    while (!test::catchesSignal(pid, SIGTERM) && std::chrono::steady_clock::now() < deadline) {
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            return -1; // ended on its own
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(pid, SIGTERM);
    if (::waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(RawNameEndToEnd, aLatin1FileNameOnTheCommandLineIsLoaded) {
    const Installation install;
    writeFile(install.folder + "usb.dat", "");
    const std::string name = install.root / "caf\xe9.nfo"; // é in Latin-1: not UTF-8
    writeFile(name, "menu\r\n");

    EXPECT_EQ(runWithRawArgument(install, name), 0);
    const std::string ini = readFile(install.folder + "Tavrel.ini");
    // Only a file that was loaded becomes a recent file, and it is kept as the same bytes.
    EXPECT_NE(ini.find("[Recent Files]\r\n0=" + name + "\r\n"), std::string::npos) << ini;
}

} // namespace
} // namespace tavrel
