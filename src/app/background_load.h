// A file load on a worker thread of its own: the window starts it, hears its progress and
// its end on its own thread, and may cancel it at any time. Dropping the object cancels the
// load and waits for the worker, so nothing outlives the window.
#pragma once

#include "app/file_load.h"

#include <QObject>

#include <functional>
#include <memory>
#include <thread>

namespace tavrel {

class BackgroundLoad final : public QObject {
public:
    explicit BackgroundLoad(std::unique_ptr<FileLoad> load, QObject* parent = nullptr);
    ~BackgroundLoad() override;
    BackgroundLoad(const BackgroundLoad&) = delete; // owns a running thread
    BackgroundLoad& operator=(const BackgroundLoad&) = delete;

    // Both are called on the thread that made this object, from its event loop: the
    // percentage as it grows, then once the end (whatever the load's status).
    std::function<void(int percent)> onProgress;
    std::function<void()> onFinished;
    // Once at most, before onFinished: the load's first piece is ready (FileLoad::firstPiece).
    std::function<void()> onFirstPiece;

    void start();
    // The worker stops at its next piece; onFinished still comes, with status Cancelled
    // unless the load had already completed.
    void cancel() noexcept { load_->cancel(); }
    [[nodiscard]] FileLoad& load() noexcept { return *load_; }

private:
    std::unique_ptr<FileLoad> load_;
    std::thread worker_;
};

} // namespace tavrel
