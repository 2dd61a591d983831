// One file read into a document of its own, as the window loads it: the read, the decoding
// and the line-end repair, then the paragraphs. It needs no toolkit and runs on any
// thread, so the window can load a large file on a worker while the old document stays
// on screen, and take the new one only when it is complete.
#pragma once

#include "app/art_file.h"
#include "editor/document.h"
#include "text/unicode_art.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tavrel {

// How the bytes become the document: "Convert Unix files to Windows" repairs its line ends;
// without it the document may drop trailing blanks (the editor's eoDiscardTrailingSpaces).
// Either way every other byte, NUL included, is kept.
// The file's encoding is read first (Automatic finds Unicode art), as the chosen item of the
// Encoding menu says.
struct FileLoadRules {
    bool convert = true;
    bool discardTrailing = false;
    EncodingChoice encoding = EncodingChoice::Automatic;
};

class FileLoad {
public:
    enum class Status : std::uint8_t { Pending, Done, Failed, OutOfMemory, Cancelled };

    FileLoad(std::string path, FileLoadRules rules);
    FileLoad(const FileLoad&) = delete; // owns a whole document
    FileLoad& operator=(const FileLoad&) = delete;

    // Called now and then from the thread that runs the load, with a percentage (0..100).
    std::function<void(int percent)> onProgress;
    // Called at most once from the thread that runs the load, as soon as the paragraphs at
    // the start of the file are final (see first_piece.h); firstPiece() then holds them, and
    // the load never touches it again.
    std::function<void()> onFirstPiece;

    // Does all the work; once. cancel() from another thread stops it at its next piece.
    void run();
    // Does the same work on bytes read elsewhere (standard input), instead of run().
    void runOn(std::string bytes);
    void cancel() noexcept { cancelled_.store(true, std::memory_order_relaxed); }
    [[nodiscard]] bool cancelRequested() const noexcept {
        return cancelled_.load(std::memory_order_relaxed);
    }

    // After run(): what came of it.
    [[nodiscard]] Status status() const noexcept { return status_; }
    [[nodiscard]] const std::string& path() const noexcept { return path_; }
    // The system's reason when the file could not be read, and the same with the file's name
    // in front, as a command line says it.
    [[nodiscard]] const std::string& reason() const noexcept { return reason_; }
    [[nodiscard]] const std::string& error() const noexcept { return error_; }
    [[nodiscard]] const LoadResult& result() const noexcept { return result_; }
    // The encoding, mark and line end the file was read in, to save it back the same way.
    [[nodiscard]] const UnicodeForm& form() const noexcept { return form_; }
    [[nodiscard]] const FileLoadRules& rules() const noexcept { return rules_; }
    // The file's SAUCE record and the bytes kept aside with it, and its drawn screen when it
    // was read as ANSI art (the document then holds the screen's rows).
    [[nodiscard]] const ArtFile& art() const noexcept { return art_; }
    // The loaded text, to be swapped into an engine (TextEngine::adoptDocument).
    [[nodiscard]] Document& document() noexcept { return document_; }
    // The first paragraphs of the file, once onFirstPiece came: exactly the first paragraphs
    // of document(), to be shown read-only until the whole is there.
    [[nodiscard]] Document& firstPiece() noexcept { return firstPiece_; }
    [[nodiscard]] const LoadResult& firstPieceResult() const noexcept { return firstPieceResult_; }
    // How many bytes must have been read before the first piece is looked for. The read
    // hands its bytes over between pieces of 8 MB, so a large file's first piece comes from
    // its first 8 MB: a screenful of paragraphs and far more, in a few milliseconds.
    std::size_t firstPieceBytes = std::size_t(1) << 20;
    // When not 0, only this many bytes from the start of the file are read and the document
    // holds the whole paragraphs among them (or the start of the first, when no break is
    // there): a first screen that costs no more for a huge file than for a small one.
    std::size_t headLimit = 0;

private:
    void report(int percent);
    void publishFirstPiece(std::string_view head, std::uint64_t fileSize);
    [[nodiscard]] std::optional<std::string> readWhole();
    [[nodiscard]] std::optional<std::string> readHead();
    void build(std::string bytes);
    template <typename Work>
    void guarded(Work work);

    std::string path_;
    FileLoadRules rules_;
    std::atomic<bool> cancelled_{false};
    Status status_ = Status::Pending;
    std::string reason_;
    std::string error_;
    bool headCut_ = false;
    LoadResult result_;
    UnicodeForm form_;
    ArtFile art_;
    Document document_;
    Document firstPiece_;
    LoadResult firstPieceResult_;
    bool firstPieceTried_ = false;
    int lastPercent_ = -1;
};

} // namespace tavrel
