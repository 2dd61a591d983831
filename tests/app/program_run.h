// The built program run as a shell runs it, with no display and a settings folder of its own
// (a new user's defaults): what it wrote to standard output, byte for byte, what it said on
// standard error and its exit status.
#pragma once

#include "support/temp_folder.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace tavrel::test {

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// `arguments` and `before` are shell text: quote names with quoted(). `before` may pipe into
// the program ("cat x |") or limit it ("ulimit -v N;").
inline ProgramRun runProgram(const TempFolder& folder, const std::string& arguments,
                             const std::string& before = {}) {
    const std::string errFile = folder.path().string() + "/stderr.txt";
    const std::string command =
        "cd '" + folder.path().string() + "' && export XDG_CONFIG_HOME='" + folder.path().string() +
        "/config' && unset DISPLAY WAYLAND_DISPLAY " + "QT_QPA_PLATFORM && " + before +
        " '" TAVREL_BINARY_DIR "/bin/tavrel' " + arguments + " 2>'" + errFile + "'";
    ProgramRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) {
        run.out.append(chunk, got);
    }
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(errFile);
    std::ostringstream text;
    text << in.rdbuf();
    run.err = text.str();
    return run;
}

inline std::string quoted(const std::string& name) {
    return "'" + name + "'";
}

} // namespace tavrel::test
