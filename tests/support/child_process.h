// Runs a check in a child process with a time limit, so that a test of something that used
// to hang (opening a FIFO for reading) fails instead of holding the whole test run.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace tavrel::test {

enum class ChildOutcome { Passed, Failed, Hung };

// `check` runs in a forked child; its answer becomes the child's exit status. A child still
// running after `limit` is killed and reported as hung.
[[nodiscard]] inline ChildOutcome runInChild(const std::function<bool()>& check,
                                             std::chrono::milliseconds limit) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(check() ? 0 : 1);
    }
    if (child < 0) {
        return ChildOutcome::Failed;
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return ChildOutcome::Hung;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ChildOutcome::Passed
                                                         : ChildOutcome::Failed;
}

} // namespace tavrel::test
