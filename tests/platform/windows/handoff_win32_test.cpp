// The handoff under Wine or Windows with real second starts: this process is the running
// instance, windows_peer.exe the later starts. Each test uses an instance key of its own.
#include "platform/handoff_block.h"
#include "platform/handoff_names.h"
#include "platform/handoff_win32.h"
#include "platform/windows/peer_program.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace tavrel::platform {
namespace {

[[nodiscard]] std::string keyFor(const char* test) {
    return std::string("test-") + test + "-" + std::to_string(GetCurrentProcessId());
}

// Runs this thread's message loop, as the program's event loop does, until done() or the
// time is up.
template <typename Done>
bool pumpUntil(Done done, DWORD limitMs = 20000) {
    const ULONGLONG end = GetTickCount64() + limitMs;
    while (!done()) {
        if (GetTickCount64() > end) {
            return false;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

TEST(Handoff, namesFromStartsAtTheSameMomentAllArriveWhole) {
    const std::string key = keyFor("queue");
    std::vector<std::string> received;
    const auto receiver =
        HandoffReceiver::start(key, [&](const std::string& name) { received.push_back(name); });
    ASSERT_NE(receiver, nullptr);

    const std::vector<std::string> names{"C:\\Art\\Gr\xC3\xBC\xC3\x9F"
                                         "e \xE2\x82\xAC.nfo",
                                         std::string(2000, 'a'), std::string(1500, 'b'), ""};
    std::vector<std::unique_ptr<test::PeerProcess>> starts;
    for (const std::string& name : names) {
        starts.push_back(std::make_unique<test::PeerProcess>(
            std::vector<std::string>{"send", key, name.empty() ? std::string() : name}));
    }
    // The window is busy for a moment (a long load, say), so that every start has queued its
    // name before the first message is taken. The later starts wait in SendMessage for this
    // loop, so it then runs until they have ended.
    Sleep(2000);
    ASSERT_TRUE(pumpUntil([&] {
        return std::all_of(starts.begin(), starts.end(), [](const auto& s) { return s->ended(); });
    }));
    for (const auto& start : starts) {
        EXPECT_EQ(start->exitCode(), static_cast<int>(HandoffOutcome::Delivered));
    }
    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end());
    std::sort(received.begin(), received.end());
    EXPECT_EQ(received, expected); // 3.5 kB of names and more: none lost to a full block
    // A name the block cannot hold at all opens in the start's own window instead.
    EXPECT_EQ(handToRunningWindow(key, std::string(longestHandedName(kHandoffBlockSize) + 1, 'x')),
              HandoffOutcome::NoAnswer);
}

TEST(Handoff, withNobodyRunningTheStartIsTheFirst) {
    EXPECT_EQ(test::PeerProcess({"send", keyFor("nobody"), "x"}).exitCode(),
              static_cast<int>(HandoffOutcome::NoInstance));
}

TEST(Handoff, aHolderWithoutAWindowLeavesTheStartToOpenItsOwn) {
    const std::string key = keyFor("windowless");
    const std::string release = key + "-release";
    const HANDLE event =
        CreateEventW(nullptr, TRUE, FALSE, std::wstring(release.begin(), release.end()).c_str());
    test::PeerProcess holder({"hold", key, release});
    const std::string mutex = handoffNames(key).mutex;
    ASSERT_TRUE(pumpUntil([&] {
        const HANDLE seen =
            OpenMutexW(SYNCHRONIZE, FALSE, std::wstring(mutex.begin(), mutex.end()).c_str());
        CloseHandle(seen);
        return seen != nullptr;
    })) << "the holder never took the mutex";
    EXPECT_EQ(HandoffReceiver::start(key, [](const std::string&) {}), nullptr); // one holder
    EXPECT_EQ(handToRunningWindow(key, "x", 500, 500), HandoffOutcome::NoAnswer);
    // Gone with its holder: the next start counts as the first, and a receiver can start.
    SetEvent(event);
    ASSERT_EQ(holder.exitCode(), 0);
    CloseHandle(event);
    EXPECT_NE(HandoffReceiver::start(key, [](const std::string&) {}), nullptr);
}

TEST(Handoff, aShortNameArrivesInItsLongForm) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("tavrel handoff " + keyFor("long"));
    fs::create_directories(folder);
    const fs::path file = folder / u8"a rather long name \u00FC.nfo";
    std::ofstream(file) << "x";
    std::wstring shortName(MAX_PATH, L'\0');
    shortName.resize(GetShortPathNameW(file.c_str(), shortName.data(), MAX_PATH));
    ASSERT_FALSE(shortName.empty());
    ASSERT_NE(shortName, file.wstring()) << "no short names on this volume";
    const std::u16string shortUnits(shortName.begin(), shortName.end());
    const std::u8string expected = file.u8string();
    EXPECT_EQ(longPathName(utf8FromUtf16(shortUnits)),
              std::string(expected.begin(), expected.end()));
    EXPECT_EQ(longPathName("C:\\no such folder\\x.nfo"), "C:\\no such folder\\x.nfo");
    fs::remove_all(folder);
}

} // namespace
} // namespace tavrel::platform
