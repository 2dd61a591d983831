// The worker thread and the event loop without user input that keep a long save from
// freezing the window.
#include "app/background_save.h"

#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <exception>
#include <system_error>
#include <thread>

namespace tavrel {

WriteStatus writeWhileWindowAnswers(const std::function<WriteStatus()>& write,
                                    const std::function<void()>& tick, int tickMs) {
    WriteStatus status;
    std::exception_ptr failure;
    std::atomic<bool> done{false};
    std::thread worker;
    try {
        worker = std::thread([&] {
            try {
                status = write();
            } catch (...) {
                failure = std::current_exception();
            }
            done.store(true, std::memory_order_release);
        });
    } catch (const std::system_error&) {
        return write(); // no thread left in the process: the save runs as a short one does
    }
    QEventLoop loop;
    QTimer ticker;
    ticker.setInterval(tickMs);
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&] {
        if (done.load(std::memory_order_acquire)) {
            loop.quit();
        } else if (tick) {
            tick();
        }
    });
    ticker.start();
    // The loop may also end early, when the application is told to quit: the file is
    // still written whole before anything goes on.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (failure) {
        std::rethrow_exception(failure);
    }
    return status;
}

} // namespace tavrel
