// Work in a second process with a time limit: a check that used to hang (opening a FIFO for
// reading) fails instead of holding the whole test run, and a test can hand something from
// one process to another (a settings store, a message between two instances).
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tavrel::test {

enum class ChildOutcome { Passed, Failed, Hung };

inline constexpr const char* kChildRoleVariable = "TAVREL_TEST_CHILD_ROLE";

// The role this process was started for by runTestInChild, or "" in the test run itself.
[[nodiscard]] inline std::string childRole() {
    const char* role = std::getenv(kChildRoleVariable);
    return role != nullptr ? role : "";
}

#ifndef _WIN32

namespace detail {

[[nodiscard]] inline ChildOutcome waitForChild(pid_t child, std::chrono::milliseconds limit) {
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

} // namespace detail

// `check` runs in a forked child; its answer becomes the child's exit status. A child still
// running after `limit` is killed and reported as hung. POSIX only: Windows cannot fork.
[[nodiscard]] inline ChildOutcome runInChild(const std::function<bool()>& check,
                                             std::chrono::milliseconds limit) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(check() ? 0 : 1);
    }
    if (child < 0) {
        return ChildOutcome::Failed;
    }
    return detail::waitForChild(child, limit);
}

#endif

// Starts this test program once more, running only the current test, with `role` as its
// childRole(): the test does the child's part when it finds the role set. The child passes
// when its test passes; one still running after `limit` is ended and reported as hung. Works
// the same on both systems (a new process, not a fork).
[[nodiscard]] inline ChildOutcome runTestInChild(const std::string& role,
                                                 std::chrono::milliseconds limit) {
    const testing::TestInfo* const test = testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter =
        std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
#ifdef _WIN32
    wchar_t program[32768];
    const DWORD length = ::GetModuleFileNameW(nullptr, program, 32768);
    if (length == 0 || length >= 32768) {
        return ChildOutcome::Failed;
    }
    std::wstring line = L"\"" + std::wstring(program, length) + L"\" ";
    line.append(filter.begin(), filter.end()); // test names are ASCII
    const std::string name = kChildRoleVariable;
    const std::wstring variable(name.begin(), name.end());
    // The child inherits the environment; the role is set only while it starts.
    ::SetEnvironmentVariableW(variable.c_str(), std::wstring(role.begin(), role.end()).c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    const BOOL started = ::CreateProcessW(program, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                          nullptr, &startup, &child);
    ::SetEnvironmentVariableW(variable.c_str(), nullptr);
    if (!started) {
        return ChildOutcome::Failed;
    }
    ::CloseHandle(child.hThread);
    ChildOutcome outcome = ChildOutcome::Failed;
    if (::WaitForSingleObject(child.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) {
        ::TerminateProcess(child.hProcess, 1);
        ::WaitForSingleObject(child.hProcess, INFINITE);
        outcome = ChildOutcome::Hung;
    } else {
        DWORD code = 1;
        ::GetExitCodeProcess(child.hProcess, &code);
        outcome = code == 0 ? ChildOutcome::Passed : ChildOutcome::Failed;
    }
    ::CloseHandle(child.hProcess);
    return outcome;
#else
    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv(kChildRoleVariable, role.c_str(), 1);
        char* const arguments[] = {const_cast<char*>("test"), const_cast<char*>(filter.c_str()),
                                   nullptr};
        ::execv("/proc/self/exe", arguments);
        ::_exit(127);
    }
    if (child < 0) {
        return ChildOutcome::Failed;
    }
    return detail::waitForChild(child, limit);
#endif
}

} // namespace tavrel::test
