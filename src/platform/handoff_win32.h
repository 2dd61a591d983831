// The single-instance handoff on Windows, without the toolkit: the running instance holds a
// named mutex and a message-only window; a later start puts its file name into the shared block's
// queue and sends the window the registered message, which takes the queued names.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace tavrel::platform {

// The running instance's end. Lives on the thread that runs the message loop (the window's
// messages arrive there, and the mutex belongs to that thread).
class HandoffReceiver {
public:
    using NameHandler = std::function<void(const std::string& name)>;

    ~HandoffReceiver();
    HandoffReceiver(const HandoffReceiver&) = delete; // owns the mutex, block and window
    HandoffReceiver& operator=(const HandoffReceiver&) = delete;

    // Takes the mutex (also one whose holder ended without giving it back), creates the block
    // and the window; empty when another live process holds the mutex or something could not
    // be made. From then on onName is called, from the message loop, for each name handed
    // over, in the order they were queued; an empty name asks only for the window.
    [[nodiscard]] static std::unique_ptr<HandoffReceiver> start(std::string_view instanceKey,
                                                                NameHandler onName);

    struct Handles; // the system's handles, defined with the calls

private:
    explicit HandoffReceiver(std::unique_ptr<Handles> handles);
    std::unique_ptr<Handles> handles_;
};

enum class HandoffOutcome {
    Delivered,  // the running window has taken the name
    NoInstance, // nobody holds the mutex: this start is the first
    NoAnswer,   // held, but no window took the name in time (the name was taken back), or
                // the name is longer than the block holds: this start opens its own window
};

// Hands name (UTF-8, possibly empty) to the running instance: waits up to waitMs for its
// window to appear (it may still be starting), then up to answerMs for it to take the name.
[[nodiscard]] HandoffOutcome handToRunningWindow(std::string_view instanceKey,
                                                 std::string_view name, int waitMs = 2000,
                                                 int answerMs = 10000);

// The long form of a path (a short 8.3 name, say PROGRA~1, spelt out); the path itself when
// the system cannot tell (it does not exist).
[[nodiscard]] std::string longPathName(const std::string& path);

} // namespace tavrel::platform
