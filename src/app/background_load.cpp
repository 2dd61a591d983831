// Runs a FileLoad on a worker thread and carries its progress and end to the owner's thread.
#include "app/background_load.h"

#include <QMetaObject>

#include <utility>

namespace tavrel {

BackgroundLoad::BackgroundLoad(std::unique_ptr<FileLoad> load, QObject* parent)
    : QObject(parent), load_(std::move(load)) {}

BackgroundLoad::~BackgroundLoad() {
    // Calls the worker still posts land on this object, which Qt drops with it.
    load_->cancel();
    if (worker_.joinable()) {
        worker_.join();
    }
}

void BackgroundLoad::start() {
    load_->onProgress = [this](int percent) {
        QMetaObject::invokeMethod(
            this,
            [this, percent] {
                if (onProgress) {
                    onProgress(percent);
                }
            },
            Qt::QueuedConnection);
    };
    load_->onFirstPiece = [this] {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (onFirstPiece) {
                    onFirstPiece();
                }
            },
            Qt::QueuedConnection);
    };
    worker_ = std::thread([this] {
        load_->run();
        QMetaObject::invokeMethod(
            this,
            [this] {
                // The worker has nothing left to do but return.
                worker_.join();
                if (onFinished) {
                    onFinished();
                }
            },
            Qt::QueuedConnection);
    });
}

} // namespace tavrel
