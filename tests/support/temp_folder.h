// Test helpers for the folders and files a test makes: a temporary folder removed with all
// it holds when the test ends, and small read/write helpers.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include <unistd.h>

namespace tavrel::test {

class TempFolder {
public:
    explicit TempFolder(
        const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
        std::string pattern = (base / "tavrel-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "mkdtemp failed in " << base;
        }
        path_ = pattern;
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

    [[nodiscard]] const std::filesystem::path& path() const noexcept { return path_; }
    // The folder with a trailing "/", as the program's folder texts are kept.
    [[nodiscard]] std::string folderText() const { return path_.string() + "/"; }
    [[nodiscard]] std::string operator/(std::string_view name) const {
        return (path_ / name).string();
    }

private:
    std::filesystem::path path_;
};

inline void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << "could not write " << path;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Root passes every permission check, so tests of read-only folders cannot fail as root.
[[nodiscard]] inline bool runningAsRoot() {
    return ::geteuid() == 0;
}

inline constexpr const char* kRootSkipReason =
    "running as root, which may write to read-only folders";

} // namespace tavrel::test
