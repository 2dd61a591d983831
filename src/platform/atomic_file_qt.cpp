// The atomic file writer where no POSIX calls exist (Windows): QSaveFile, with its flush
// checked before commit, since a commit after a failed buffered write can report success.
// It always replaces and never writes in place, so no save here leaves a note to find.
#include "platform/atomic_file.h"
#include "platform/interrupted_save.h"

#include <QFile>
#include <QSaveFile>

namespace tavrel::platform {

struct AtomicFile::State {
    std::string path;
    std::string error;
    std::unique_ptr<QSaveFile> file;
    bool done = false;

    bool fail() {
        if (error.empty()) {
            error = path + ": " + (file ? file->errorString().toStdString() : "not open");
        }
        return false;
    }
};

AtomicFile::AtomicFile(std::string path) : s_(std::make_unique<State>()) {
    s_->path = std::move(path);
}

AtomicFile::~AtomicFile() {
    abort();
}

bool AtomicFile::open() {
    State& s = *s_;
    // Names are UTF-8 inside the program; Qt's own decoding here is the ANSI code page.
    s.file = std::make_unique<QSaveFile>(QString::fromStdString(s.path));
    return s.file->open(QIODevice::WriteOnly) || s.fail();
}

bool AtomicFile::write(std::string_view bytes) {
    State& s = *s_;
    if (!s.file || s.done || !s.error.empty()) {
        return s.fail();
    }
    const auto size = static_cast<qint64>(bytes.size());
    return s.file->write(bytes.data(), size) == size || s.fail();
}

WriteStatus AtomicFile::commit() {
    State& s = *s_;
    if (!s.file || s.done || !s.error.empty() || !s.file->flush() || !s.file->commit()) {
        s.fail();
        abort();
        return {s.error};
    }
    s.done = true;
    return {};
}

void AtomicFile::abort() noexcept {
    State& s = *s_;
    if (s.file && !s.done) {
        s.file->cancelWriting();
    }
    s.done = true;
}

const std::string& AtomicFile::error() const noexcept {
    return s_->error;
}

WriteMethod AtomicFile::method() const noexcept {
    return WriteMethod::Replace;
}

void setSaveNoteFolder(std::string) {}

std::string saveNoteFolder() {
    return {};
}

void setInPlaceStepHook(InPlaceStepHook) noexcept {}

std::vector<InterruptedSave> findInterruptedSaves(const std::string&) {
    return {};
}

WriteStatus restoreInterruptedSave(const InterruptedSave& save) {
    return {save.note.target + ": this system never writes a file in place"};
}

WriteStatus discardInterruptedSave(const InterruptedSave& save) {
    return {save.note.target + ": this system never writes a file in place"};
}

WriteStatus writeFileStreamed(const std::string& path, const ChunkSource& source) {
    AtomicFile file(path);
    if (!file.open()) {
        return {file.error()};
    }
    if (!source([&file](std::string_view piece) { return file.write(piece); })) {
        const std::string error = file.error().empty()
                                      ? path + ": the text to write could not be produced"
                                      : file.error();
        file.abort();
        return {error};
    }
    return file.commit();
}

WriteStatus writeFileAtomically(const std::string& path, std::string_view bytes) {
    return writeFileStreamed(path, [bytes](const ChunkSink& sink) { return sink(bytes); });
}

} // namespace tavrel::platform
