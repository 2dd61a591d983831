// A long save on a worker thread while the window goes on painting, running its timers and
// answering the window system; the user's keys and clicks wait until the save has ended.
#pragma once

#include "settings/write_status.h"

#include <functional>

namespace tavrel {

// Runs `write` on a worker thread and this thread's event loop until it returns, calling
// `tick` every `tickMs` meanwhile (to show progress); gives what `write` gave, or throws
// what it threw. Input events are left queued, not dropped: what the user typed during the
// save reaches the text after it. Without a thread to be had, `write` runs here.
WriteStatus writeWhileWindowAnswers(const std::function<WriteStatus()>& write,
                                    const std::function<void()>& tick, int tickMs = 100);

} // namespace tavrel
