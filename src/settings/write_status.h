// The outcome of writing settings or a file: success, or a message a person can read; and
// the shape of a writer that takes its bytes piece by piece instead of as one string.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tavrel {

struct WriteStatus {
    std::string error; // empty on success

    [[nodiscard]] bool ok() const noexcept { return error.empty(); }
};

// Takes one piece of a file's bytes; answers false to stop the writing.
using ChunkSink = std::function<bool(std::string_view)>;
// Hands every piece of a file to the sink in order; answers false when it could not.
using ChunkSource = std::function<bool(const ChunkSink&)>;
// Writes a file whose bytes come from a source, so that a large document is never copied
// into one string on its way to the disk.
using StreamWriter = std::function<WriteStatus(const std::string& path, const ChunkSource&)>;

} // namespace tavrel
