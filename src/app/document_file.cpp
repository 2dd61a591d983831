// Whole-file reads with a clear failure, and the read-only test of a save target.
#include "app/document_file.h"

#include "text/file_names.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace tavrel {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

void setError(std::string* error, std::string text) {
    if (error != nullptr) {
        *error = std::move(text);
    }
}

} // namespace

std::optional<std::string> readWholeFile(const std::string& path, std::string* error,
                                         std::string* reason, bool* outOfMemory,
                                         const ReadProgress& progress) {
    namespace fs = std::filesystem;
    if (outOfMemory != nullptr) {
        *outOfMemory = false;
    }
    const fs::path name = pathFromUtf8(path);
    std::error_code code;
    const fs::file_status status = fs::status(name, code);
    if (!fs::is_regular_file(status)) {
        const bool exists = fs::exists(status);
        setError(error, path + (exists ? " is not a file" : " does not exist"));
        if (code && code != std::errc::no_such_file_or_directory) {
            setError(reason, code.message()); // a folder on the way that cannot be searched
        } else if (!exists) {
            setError(reason, std::strerror(ENOENT));
        } else {
            setError(reason, fs::is_directory(status) ? std::strerror(EISDIR)
                                                      : std::string("Not a regular file"));
        }
        return std::nullopt;
    }
    const std::unique_ptr<std::FILE, FileCloser> file(openFile(path, "rb"));
    if (!file) {
        const int number = errno;
        setError(error, path + ": " + std::strerror(number));
        setError(reason, std::strerror(number));
        return std::nullopt;
    }
    std::string bytes;
    std::size_t filled = 0;
    // A file bigger than the memory left is a failure to report, not a reason to end the
    // program: every reservation of the read is made inside this handler.
    try {
        const auto size = fs::file_size(name, code);
        std::size_t expected = 0;
        if (!code) {
            expected = static_cast<std::size_t>(size);
            // Room for the line-end repair to grow a Unix file in place: one CR for every
            // line of 32 bytes or more. The spare pages are never touched unless it is used.
            bytes.reserve(expected + expected / 32 + 64);
        }
        // The size is a hint: a file that grows or shrinks meanwhile is read to its real end.
        // Pieces of 8 MB let a listener show progress and stop a long read between them. The
        // text grows a piece at a time: clearing the pages of a whole 1 GB file before its
        // first byte is read would keep a listener waiting a second for the first piece.
        constexpr std::size_t kPiece = std::size_t(8) << 20;
        std::size_t piece = kPiece;
        while (filled < expected && piece > 0) {
            if (progress && !progress(std::string_view(bytes.data(), filled), expected)) {
                return std::nullopt;
            }
            const std::size_t want = std::min(kPiece, expected - filled);
            bytes.resize(filled + want);
            piece = std::fread(bytes.data() + filled, 1, want, file.get());
            filled += piece;
        }
        if (filled == expected) {
            char chunk[65536];
            std::size_t got = 0;
            while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
                bytes.append(chunk, got);
                filled += got;
            }
        }
    } catch (const std::exception&) { // std::bad_alloc, or std::length_error past max_size
        setError(error, path + ": not enough memory");
        setError(reason, std::strerror(ENOMEM));
        if (outOfMemory != nullptr) {
            *outOfMemory = true;
        }
        return std::nullopt;
    }
    if (std::ferror(file.get()) != 0) {
        const int number = errno;
        setError(error, path + ": read error");
        setError(reason, std::strerror(number));
        return std::nullopt;
    }
    bytes.resize(filled);
    return bytes;
}

std::optional<std::string> readFileHead(const std::string& path, std::size_t limit, bool& truncated,
                                        std::string* error) {
    truncated = false;
    namespace fs = std::filesystem;
    std::error_code code;
    const fs::file_status status = fs::status(pathFromUtf8(path), code);
    if (!fs::is_regular_file(status)) {
        setError(error, path + (fs::exists(status) ? " is not a file" : " does not exist"));
        return std::nullopt;
    }
    const std::unique_ptr<std::FILE, FileCloser> file(openFile(path, "rb"));
    if (!file) {
        setError(error, path + ": " + std::strerror(errno));
        return std::nullopt;
    }
    // One byte more than the limit tells a file of exactly `limit` bytes from a longer one.
    std::string bytes(limit + 1, '\0');
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (std::ferror(file.get()) != 0) {
        setError(error, path + ": read error");
        return std::nullopt;
    }
    truncated = got > limit;
    bytes.resize(std::min(got, limit));
    return bytes;
}

bool hasWriteBit(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code code;
    const fs::file_status status = fs::status(pathFromUtf8(path), code);
    if (code) {
        return false;
    }
    const fs::perms anyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & anyWrite) != fs::perms::none;
}

} // namespace tavrel
