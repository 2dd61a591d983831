// The one guard around the program's own handlers: menu commands, buttons, keys, paints,
// clicks and drops. Running out of memory inside one drops that handler's work and is
// reported once the event loop has the program again, before the failure could unwind
// through the toolkit's own frames, which are built without exceptions and would skip
// their clean-up. The guard is for the window's thread only.
#pragma once

#include <functional>
#include <new>
#include <type_traits>
#include <utility>

namespace tavrel::platform {

// Tells the user (the window's message box); set once the window exists. Without it, and
// for a failure while one report is waiting or on screen, a line on standard error says it.
void setOutOfMemoryReport(std::function<void()> report);

// Reports one failure: the report runs from the event loop after the handler has returned
// (never inside a paint or a key's handling), and only one is waiting at a time.
void reportOutOfMemory() noexcept;

// Runs `work`; true when it finished, false when it ran out of memory (then reported).
// Any other exception passes on.
template <typename Work>
bool runGuarded(Work&& work) {
    try {
        std::forward<Work>(work)();
        return true;
    } catch (const std::bad_alloc&) {
        reportOutOfMemory();
        return false;
    }
}

// A slot for connect() that runs `work` guarded, with the signal's arguments when it takes
// them (a timer's private one it does not).
template <typename Work>
auto guardedSlot(Work work) {
    return [work = std::move(work)](auto&&... arguments) {
        runGuarded([&] {
            if constexpr (std::is_invocable_v<const Work&, decltype(arguments)...>) {
                work(std::forward<decltype(arguments)>(arguments)...);
            } else {
                work();
            }
        });
    };
}

} // namespace tavrel::platform
