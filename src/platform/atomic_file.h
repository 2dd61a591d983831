// Writing a file so that a failure never costs the text it held: the new bytes are streamed
// into a temporary file that replaces the old one only when complete and on disk, or, where
// a rename would change the file's identity, copied over it with the old bytes kept aside.
#pragma once

#include "settings/write_status.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tavrel::platform {

// How a target is written; chosen by open() from what the target is.
enum class WriteMethod {
    Replace, // a temporary file renamed over the target (a new file, or one only we own)
    InPlace, // the target's own bytes overwritten: it keeps its inode, links, owner, ACLs
    Through, // a character device or a FIFO: the bytes are written to it as they come
};

// One write of one file: open(), any number of write() calls, then commit() or abort().
// Contract: nothing reaches the target before commit() (a FIFO or a device, which has no old
// bytes to keep, receives them as they are written); after a failed commit the target holds
// its old bytes, or the message says in so many words that it does not and where they are
// kept. A symbolic link is followed and its target written. Every failure message starts
// with the path and gives the system's reason.
//
// An in-place commit keeps the old bytes in a named copy, beside the file or else in the
// save note folder, with a note in that folder that leads to it (platform/interrupted_save.h);
// both are on disk before the first byte of the file is overwritten and go once the new bytes
// are. A crash in between leaves them for the next start to offer back.
class AtomicFile {
public:
    explicit AtomicFile(std::string path);
    ~AtomicFile();                          // abandons an uncommitted write
    AtomicFile(const AtomicFile&) = delete; // owns open descriptors and a temporary file
    AtomicFile& operator=(const AtomicFile&) = delete;

    [[nodiscard]] bool open();
    [[nodiscard]] bool write(std::string_view bytes);
    [[nodiscard]] WriteStatus commit();
    void abort() noexcept;

    [[nodiscard]] const std::string& error() const noexcept;
    [[nodiscard]] WriteMethod method() const noexcept;

private:
    struct State;
    std::unique_ptr<State> s_;
};

// The folder where in-place writes keep their notes, and the old bytes themselves when the
// file's own folder is closed to the program: the settings folder, set once at start-up.
// Without it (or when nothing can be written there) the old bytes are kept in an unnamed file,
// which still puts the file right after any failure the program lives through, but dies
// with the program.
void setSaveNoteFolder(std::string folder);
[[nodiscard]] std::string saveNoteFolder();

// The steps of an in-place commit, told to a hook as they happen, so that a test can end the
// process at each one and see what a crash there leaves. `done` counts the bytes of the step.
enum class InPlaceStep {
    KeepingOldText, // after each piece of the named copy
    OldTextKept,    // the copy and its note are on disk; the file is still untouched
    Overwriting,    // after each piece written over the file
    Overwritten,    // the new bytes are on disk; the copy and note are about to go
};
using InPlaceStepHook = void (*)(InPlaceStep step, std::uint64_t done);
void setInPlaceStepHook(InPlaceStepHook hook) noexcept;

// The whole of `bytes` as one atomic write.
[[nodiscard]] WriteStatus writeFileAtomically(const std::string& path, std::string_view bytes);

// The pieces `source` hands over, streamed into one atomic write; a source that answers
// false (it failed or was stopped) leaves the target as it was.
[[nodiscard]] WriteStatus writeFileStreamed(const std::string& path, const ChunkSource& source);

} // namespace tavrel::platform
