// Starts the Windows tests' second process (windows_peer.exe, built beside the test program)
// and waits for its exit code: a second start of the program, or another program writing
// the settings.
#pragma once

#include "platform/utf16_text.h"

#include <windows.h>

#include <string>
#include <vector>

namespace tavrel::test {

// The peer's exit code, or -1 when it could not be started or ran past limitMs.
class PeerProcess {
public:
    explicit PeerProcess(const std::vector<std::string>& arguments) {
        std::wstring self(MAX_PATH, L'\0');
        self.resize(GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
        std::wstring line =
            L"\"" + self.substr(0, self.find_last_of(L"\\/") + 1) + L"windows_peer.exe\"";
        for (const std::string& argument : arguments) {
            const std::u16string units = platform::utf16FromUtf8(argument).value_or(u"?");
            line += L" \"" + std::wstring(units.begin(), units.end()) + L"\"";
        }
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process_) != FALSE;
    }
    ~PeerProcess() {
        if (started_) {
            TerminateProcess(process_.hProcess, 99);
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
    }
    PeerProcess(const PeerProcess&) = delete; // owns the process handles
    PeerProcess& operator=(const PeerProcess&) = delete;

    // Whether the peer has ended, without waiting.
    [[nodiscard]] bool ended() const {
        return started_ && WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
    }

    [[nodiscard]] int exitCode(DWORD limitMs = 20000) const {
        DWORD code = 0;
        if (!started_ || WaitForSingleObject(process_.hProcess, limitMs) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(process_.hProcess, &code)) {
            return -1;
        }
        return static_cast<int>(code);
    }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

} // namespace tavrel::test
