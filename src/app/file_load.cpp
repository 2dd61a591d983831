// The steps of loading one file into a fresh document, with progress and a way to stop.
#include "app/file_load.h"

#include "app/document_file.h"
#include "app/first_piece.h"
#include "app/line_ends.h"
#include "text/ansi_art.h"

#include <new>
#include <stdexcept>
#include <utility>

namespace tavrel {

namespace {

// Shares of the whole work, measured on a 1 GB file of short lines: reading takes most of
// it, the repair and the paragraph records the rest.
constexpr int kReadShare = 70;
constexpr int kRepairShare = 10;

} // namespace

FileLoad::FileLoad(std::string path, FileLoadRules rules) : path_(std::move(path)), rules_(rules) {}

void FileLoad::report(int percent) {
    if (percent != lastPercent_ && onProgress) {
        lastPercent_ = percent;
        onProgress(percent);
    }
}

void FileLoad::publishFirstPiece(std::string_view head) {
    firstPieceTried_ = true;
    if (drawsAnsiArt(rules_.encoding) && isAnsiArt(path_, head)) {
        return; // its bytes are not what the window will show
    }
    // A copy of a few megabytes: the read goes on into the same buffer, and the repair later
    // changes the file's bytes in place.
    try {
        std::optional<std::string> text = firstPieceText(head, rules_);
        if (!text) {
            return;
        }
        firstPieceResult_ =
            firstPiece_.load(std::move(*text), !rules_.convert && rules_.discardTrailing);
    } catch (const std::bad_alloc&) {
        return; // the first screen is a courtesy; the load itself goes on
    }
    if (onFirstPiece) {
        onFirstPiece();
    }
}

void FileLoad::run() {
    report(0);
    // Every step may run out of memory on a big file; the document being built is then
    // dropped and the one on screen was never touched.
    try {
        bool outOfMemory = false;
        const ReadProgress progress = [this](std::string_view readSoFar, std::uint64_t total) {
            if (cancelRequested()) {
                return false;
            }
            if (!firstPieceTried_ && readSoFar.size() >= firstPieceBytes) {
                publishFirstPiece(readSoFar);
            }
            const std::uint64_t done = readSoFar.size();
            report(total == 0 ? 0 : static_cast<int>(done * kReadShare / total));
            return true;
        };
        std::optional<std::string> bytes =
            readWholeFile(path_, nullptr, &reason_, &outOfMemory, progress);
        if (cancelRequested()) {
            status_ = Status::Cancelled;
            return;
        }
        if (outOfMemory) {
            status_ = Status::OutOfMemory;
            return;
        }
        if (!bytes) {
            status_ = Status::Failed;
            return;
        }
        art_ = separateArt(path_, *bytes, rules_.encoding);
        if (!art_.isAnsi()) { // drawn rows are code page 437 bytes already
            DecodedText decoded = decodeAsChosen(std::move(*bytes), rules_.encoding);
            *bytes = std::move(decoded.bytes);
            form_ = decoded.form;
        }
        report(kReadShare);
        if (rules_.convert) {
            repairLineEnds(*bytes);
            report(kReadShare + kRepairShare);
            if (cancelRequested()) {
                status_ = Status::Cancelled;
                return;
            }
            result_ = document_.load(std::move(*bytes), false);
        } else {
            result_ = document_.load(std::move(*bytes), rules_.discardTrailing);
        }
    } catch (const std::bad_alloc&) {
        status_ = Status::OutOfMemory;
        return;
    } catch (const std::exception& failure) {
        reason_ = failure.what();
        status_ = Status::Failed;
        return;
    }
    status_ = cancelRequested() ? Status::Cancelled : Status::Done;
    if (status_ == Status::Done) {
        report(100);
    }
}

} // namespace tavrel
