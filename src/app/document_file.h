// Reading a document's bytes and the checks made before one is written, in plain C++ so that
// the rules are tested without a window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tavrel {

// All bytes of a regular file, or nothing when it cannot be read (missing, a folder, no
// All bytes of a regular file, or nothing when it cannot be read (missing, a folder, no
// permission, vanished or cut short while reading, or too big for the memory left); `error`
// then says why with the name in front, `reason` the system's reason alone ("No such file
// or directory"), and `outOfMemory` tells the last case apart.
//
// `progress`, when given, hears the bytes read so far (to look at, not to keep: they move on
// as the read goes on) and the expected total between pieces of the read; answering false
// stops it, and the read then gives nothing with `error` and `reason` left alone.
using ReadProgress = std::function<bool(std::string_view readSoFar, std::uint64_t total)>;
[[nodiscard]] std::optional<std::string>
readWholeFile(const std::string& path, std::string* error = nullptr, std::string* reason = nullptr,
              bool* outOfMemory = nullptr, const ReadProgress& progress = {});

// At most `limit` bytes from the start of a regular file, for a look at a file that may be
// huge; `truncated` says whether more followed. Fails as readWholeFile does, with `error` set.
[[nodiscard]] std::optional<std::string> readFileHead(const std::string& path, std::size_t limit,
                                                      bool& truncated,
                                                      std::string* error = nullptr);

// Whether the file's permission bits allow writing to anybody. A file without any write bit
// is this system's read-only file: saving over it fails for every user, root included, who
// the system itself would let through.
[[nodiscard]] bool hasWriteBit(const std::string& path);

} // namespace tavrel
