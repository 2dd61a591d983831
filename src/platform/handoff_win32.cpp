// The Win32 calls of the handoff. Names are UTF-8 in the block and inside the program, UTF-16
// at the system calls.
#include "platform/handoff_win32.h"

#include "platform/handoff_block.h"
#include "platform/handoff_names.h"
#include "platform/utf16_text.h"

#include <windows.h>

#include <chrono>
#include <span>
#include <thread>
#include <vector>

namespace tavrel::platform {

namespace {

using Clock = std::chrono::steady_clock;

// A guard held longer than this belongs to a sender that hangs; the other side gives up.
constexpr DWORD kGuardWaitMs = 2000;

[[nodiscard]] std::wstring wideOf(std::string_view utf8) {
    const std::u16string units = utf16FromUtf8(utf8).value_or(std::u16string());
    return {units.begin(), units.end()};
}

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept {
        if (handle != nullptr) {
            CloseHandle(handle);
        }
    }
};
using Handle = std::unique_ptr<void, HandleCloser>;

struct ViewUnmapper {
    void operator()(void* view) const noexcept { UnmapViewOfFile(view); }
};
using View = std::unique_ptr<void, ViewUnmapper>;

[[nodiscard]] std::span<std::byte> blockOf(const View& view) {
    return {static_cast<std::byte*>(view.get()), kHandoffBlockSize};
}

// Holds the block's guard for one step. A guard left by a process that ended while holding
// it is taken over: the queue is whole between steps, since every step rewrites it at once.
class GuardLock {
public:
    explicit GuardLock(HANDLE guard) : guard_(guard) {
        const DWORD waited = WaitForSingleObject(guard_, kGuardWaitMs);
        held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    ~GuardLock() {
        if (held_) {
            ReleaseMutex(guard_);
        }
    }
    GuardLock(const GuardLock&) = delete; // released once, by its holder
    GuardLock& operator=(const GuardLock&) = delete;

    [[nodiscard]] bool held() const noexcept { return held_; }

private:
    HANDLE guard_;
    bool held_ = false;
};

// Whether the mutex can be had now, i.e. no live process holds it.
[[nodiscard]] bool takeMutex(HANDLE mutex) {
    const DWORD waited = WaitForSingleObject(mutex, 0);
    return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

LRESULT CALLBACK receiverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace

struct HandoffReceiver::Handles {
    Handle mutex;
    Handle mapping;
    View view;
    Handle guard;
    HWND window = nullptr;
    UINT message = 0;
    NameHandler onName;

    ~Handles() {
        if (window != nullptr) {
            DestroyWindow(window);
        }
        if (mutex != nullptr) {
            ReleaseMutex(mutex.get());
        }
    }

    // The registered message: every queued name, taken under the guard and handed on after
    // it, so that a handler that takes its time never holds up the next start.
    void takeNames() {
        std::vector<HandedName> names;
        {
            const GuardLock lock(guard.get());
            if (!lock.held()) {
                return; // the names stay queued; the sender takes its own back
            }
            names = takeHandedNames(blockOf(view));
        }
        for (const HandedName& handed : names) {
            onName(handed.name);
        }
    }
};

namespace {

LRESULT CALLBACK receiverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* handles =
        reinterpret_cast<HandoffReceiver::Handles*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (handles != nullptr && message == handles->message) {
        handles->takeNames();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

HandoffReceiver::HandoffReceiver(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}

HandoffReceiver::~HandoffReceiver() = default;

std::unique_ptr<HandoffReceiver> HandoffReceiver::start(std::string_view instanceKey,
                                                        NameHandler onName) {
    const HandoffNames names = handoffNames(instanceKey);
    auto handles = std::make_unique<Handles>();
    handles->onName = std::move(onName);
    handles->mutex.reset(CreateMutexW(nullptr, FALSE, wideOf(names.mutex).c_str()));
    if (handles->mutex == nullptr || !takeMutex(handles->mutex.get())) {
        return nullptr; // another live instance holds it
    }
    handles->mapping.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                              kHandoffBlockSize, wideOf(names.block).c_str()));
    if (handles->mapping == nullptr) {
        return nullptr;
    }
    handles->view.reset(MapViewOfFile(handles->mapping.get(), FILE_MAP_WRITE, 0, 0, 0));
    handles->guard.reset(CreateMutexW(nullptr, FALSE, wideOf(names.blockGuard).c_str()));
    handles->message = RegisterWindowMessageW(wideOf(names.message).c_str());
    if (handles->view == nullptr || handles->guard == nullptr || handles->message == 0) {
        return nullptr;
    }
    {
        // Holding the mutex, anything queued was meant for an instance that has ended.
        const GuardLock lock(handles->guard.get());
        if (lock.held()) {
            [[maybe_unused]] const auto stale = takeHandedNames(blockOf(handles->view));
        }
    }
    const std::wstring className = wideOf(names.windowClass);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = receiverProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className.c_str();
    if (RegisterClassW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return nullptr;
    }
    // A message-only window: never shown, in no task bar, and made also where no display is
    // (a service session, Wine without one).
    handles->window =
        CreateWindowExW(0, className.c_str(), wideOf(names.windowTitle).c_str(), 0, 0, 0, 0, 0,
                        HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (handles->window == nullptr) {
        return nullptr;
    }
    SetWindowLongPtrW(handles->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(handles.get()));
    return std::unique_ptr<HandoffReceiver>(new HandoffReceiver(std::move(handles)));
}

HandoffOutcome handToRunningWindow(std::string_view instanceKey, std::string_view name, int waitMs,
                                   int answerMs) {
    const HandoffNames names = handoffNames(instanceKey);
    const Handle mutex(CreateMutexW(nullptr, FALSE, wideOf(names.mutex).c_str()));
    if (mutex == nullptr) {
        return HandoffOutcome::NoAnswer; // cannot tell: better a window of our own
    }
    const std::wstring className = wideOf(names.windowClass);
    const std::wstring title = wideOf(names.windowTitle);
    const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    HWND window = nullptr;
    while ((window = FindWindowExW(HWND_MESSAGE, nullptr, className.c_str(), title.c_str())) ==
           nullptr) {
        if (takeMutex(mutex.get())) {
            ReleaseMutex(mutex.get());
            return HandoffOutcome::NoInstance;
        }
        if (Clock::now() >= deadline) {
            return HandoffOutcome::NoAnswer; // still starting, or hung before its window
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const Handle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            kHandoffBlockSize, wideOf(names.block).c_str()));
    const View view(mapping != nullptr ? MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, 0)
                                       : nullptr);
    const Handle guard(CreateMutexW(nullptr, FALSE, wideOf(names.blockGuard).c_str()));
    const UINT message = RegisterWindowMessageW(wideOf(names.message).c_str());
    if (view == nullptr || guard == nullptr || message == 0 ||
        name.size() > longestHandedName(kHandoffBlockSize)) {
        return HandoffOutcome::NoAnswer;
    }
    const DWORD self = GetCurrentProcessId();
    // A full queue empties as soon as the window takes it; until then this start waits.
    for (;;) {
        {
            const GuardLock lock(guard.get());
            if (lock.held() && putHandedName(blockOf(view), self, name)) {
                break;
            }
        }
        if (Clock::now() >= deadline) {
            return HandoffOutcome::NoAnswer;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    // The user started this program, so it may bring a window to the front; that right is
    // passed on to the running instance.
    DWORD receiver = 0;
    GetWindowThreadProcessId(window, &receiver);
    AllowSetForegroundWindow(receiver);
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(window, message, 0, 0, SMTO_NORMAL, static_cast<UINT>(answerMs),
                            &answer) != 0) {
        return HandoffOutcome::Delivered;
    }
    // No answer in time: the name is taken back, unless the window took it meanwhile (with
    // another start's message). Under the guard, only one of the two can happen.
    const GuardLock lock(guard.get());
    if (lock.held() && withdrawHandedNames(blockOf(view), self)) {
        return HandoffOutcome::NoAnswer;
    }
    return lock.held() ? HandoffOutcome::Delivered : HandoffOutcome::NoAnswer;
}

std::string longPathName(const std::string& path) {
    const std::wstring wide = wideOf(path);
    if (wide.empty()) {
        return path;
    }
    std::wstring longName(MAX_PATH, L'\0');
    DWORD length = GetLongPathNameW(wide.c_str(), longName.data(), MAX_PATH);
    if (length >= MAX_PATH) {
        longName.resize(length);
        length = GetLongPathNameW(wide.c_str(), longName.data(), length);
    }
    if (length == 0 || length >= longName.size()) {
        return path;
    }
    longName.resize(length);
    return utf8FromUtf16(std::u16string(longName.begin(), longName.end()));
}

} // namespace tavrel::platform
