// Test helpers for the folders and files a test makes: a temporary folder removed with all
// it holds when the test ends, and small read/write helpers.
#pragma once

#include "support/file_bytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace tavrel::test {

// A UTF-8 name as a path, and a path as UTF-8: the program keeps names in UTF-8, which a
// narrow path on Windows would read in the ANSI code page instead.
[[nodiscard]] inline std::filesystem::path pathFromUtf8(std::string_view name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}
[[nodiscard]] inline std::string utf8Name(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return {name.begin(), name.end()};
}

class TempFolder {
public:
    explicit TempFolder(
        const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
#ifdef _WIN32
        // Making the folder is the test of a free name, as mkdtemp does it.
        std::random_device random;
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const std::filesystem::path candidate =
                base / ("tavrel-test-" + std::to_string(random() % 1000000000));
            std::error_code ec;
            if (std::filesystem::create_directory(candidate, ec)) {
                path_ = candidate;
            }
        }
        if (path_.empty()) {
            ADD_FAILURE() << "no temporary folder could be made in " << base;
        }
#else
        std::string pattern = (base / "tavrel-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "mkdtemp failed in " << base;
        }
        path_ = pattern;
#endif
    }
    ~TempFolder() {
        // Tests make folders read-only; give write access back so that everything goes.
        std::error_code ec;
        for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            if (it->is_directory(ec) && !it->is_symlink(ec)) {
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ec);
            }
        }
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete; // owns the folder on disk
    TempFolder& operator=(const TempFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const noexcept {
        return path_;
    }
    // The folder in UTF-8 with a trailing separator, as the program's folder texts are kept.
    [[nodiscard]] std::string folderText() const {
        return utf8Name(path_) + static_cast<char>(std::filesystem::path::preferred_separator);
    }
    // The UTF-8 name of `name` (UTF-8) in the folder.
    [[nodiscard]] std::string operator/(std::string_view name) const {
        return utf8Name(path_ / pathFromUtf8(name));
    }

private:
    std::filesystem::path path_;
};

inline void writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << "could not write " << utf8Name(path);
}
// A name in UTF-8, as the program keeps names.
inline void writeFile(const std::string& path, std::string_view bytes) {
    writeFile(pathFromUtf8(path), bytes);
}
inline void writeFile(const char* path, std::string_view bytes) {
    writeFile(pathFromUtf8(path), bytes);
}

inline std::string readFile(const std::string& path) {
    return readFile(pathFromUtf8(path));
}
inline std::string readFile(const char* path) {
    return readFile(pathFromUtf8(path));
}

// Root passes every permission check, so tests of read-only folders cannot fail as root.
// Windows has no such user: its permission checks hold for administrators too.
[[nodiscard]] inline bool runningAsRoot() {
#ifdef _WIN32
    return false;
#else
    return ::geteuid() == 0;
#endif
}

inline constexpr const char* kRootSkipReason =
    "running as root, which may write to read-only folders";

} // namespace tavrel::test
