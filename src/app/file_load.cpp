// The steps of loading one file into a fresh document, with progress and a way to stop.
#include "app/file_load.h"

#include "app/document_file.h"
#include "app/first_piece.h"
#include "app/first_screen.h"
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

void FileLoad::publishFirstPiece(std::string_view head, std::uint64_t fileSize) {
    firstPieceTried_ = true;
    if (drawsAnsiArt(rules_.encoding) && fileSize <= kAnsiArtMaxBytes && isAnsiArt(path_, head)) {
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

std::optional<std::string> FileLoad::readWhole() {
    bool outOfMemory = false;
    const ReadProgress progress = [this](std::string_view readSoFar, std::uint64_t total) {
        if (cancelRequested()) {
            return false;
        }
        if (!firstPieceTried_ && readSoFar.size() >= firstPieceBytes) {
            publishFirstPiece(readSoFar, total);
        }
        const std::uint64_t done = readSoFar.size();
        report(total == 0 ? 0 : static_cast<int>(done * kReadShare / total));
        return true;
    };
    std::optional<std::string> bytes =
        readWholeFile(path_, &error_, &reason_, &outOfMemory, progress);
    if (cancelRequested()) {
        status_ = Status::Cancelled;
        return std::nullopt;
    }
    if (outOfMemory) {
        status_ = Status::OutOfMemory;
        return std::nullopt;
    }
    if (!bytes) {
        status_ = Status::Failed;
    }
    return bytes;
}

std::optional<std::string> FileLoad::readHead() {
    std::optional<std::string> bytes = readFileHead(path_, headLimit, headCut_, &error_);
    if (!bytes) {
        status_ = Status::Failed;
    } else if (headCut_) {
        // Not through a character: a cut one would make the decoding read the file as bytes.
        cutAtLastLine(*bytes, rules_.encoding);
    }
    return bytes;
}

void FileLoad::build(std::string bytes) {
    art_ = separateArt(path_, bytes, rules_.encoding);
    if (!art_.isAnsi()) { // drawn rows are code page 437 bytes already
        DecodedText decoded = decodeAsChosen(std::move(bytes), rules_.encoding);
        bytes = std::move(decoded.bytes);
        form_ = decoded.form;
    }
    if (headCut_) {
        // Nor through a paragraph: the cut above finds no line feed in a file of carriage
        // returns, nor a 16-bit one in a file that UTF-16 was chosen for but is not.
        if (const std::size_t lastBreak = bytes.find_last_of("\r\n");
            lastBreak != std::string::npos) {
            bytes.resize(lastBreak + 1);
        }
    }
    report(kReadShare);
    if (rules_.convert) {
        repairLineEnds(bytes);
        report(kReadShare + kRepairShare);
        if (cancelRequested()) {
            status_ = Status::Cancelled;
            return;
        }
        result_ = document_.load(std::move(bytes), false);
    } else {
        result_ = document_.load(std::move(bytes), rules_.discardTrailing);
    }
    status_ = cancelRequested() ? Status::Cancelled : Status::Done;
    if (status_ == Status::Done) {
        report(100);
    }
}

template <typename Work>
void FileLoad::guarded(Work work) {
    report(0);
    // Every step may run out of memory on a big file; the document being built is then
    // dropped and the one on screen was never touched.
    try {
        work();
    } catch (const std::bad_alloc&) {
        status_ = Status::OutOfMemory;
    } catch (const std::exception& failure) {
        reason_ = failure.what();
        error_ = path_ + ": " + reason_;
        status_ = Status::Failed;
    }
}

void FileLoad::run() {
    guarded([this] {
        if (std::optional<std::string> bytes = headLimit > 0 ? readHead() : readWhole()) {
            build(std::move(*bytes));
        }
    });
}

void FileLoad::runOn(std::string bytes) {
    guarded([this, &bytes] { build(std::move(bytes)); });
}

} // namespace tavrel
