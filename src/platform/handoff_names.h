// The names under which a running instance and a later start find each other on Windows:
// the mutex the running instance holds, the shared block and the mutex that guards it, the
// registered message and the hidden window it is sent to.
#pragma once

#include <string>
#include <string_view>

namespace tavrel::platform {

struct HandoffNames {
    std::string mutex;       // held by the running instance for its life
    std::string block;       // the shared block with the queue of handed names
    std::string blockGuard;  // held for the moment a name is put in or taken out
    std::string message;     // registered once per desktop session
    std::string windowClass; // the hidden window that receives the message
    std::string windowTitle; // tells the instances of different settings folders apart
};

// Portable and installed copies keep separate instances, so every name but the message's
// carries the instance key. A backslash, which the system reads as a namespace separator,
// becomes "_". Without a key the names are the plain ones.
[[nodiscard]] HandoffNames handoffNames(std::string_view instanceKey);

} // namespace tavrel::platform
