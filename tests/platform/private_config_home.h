// Points $XDG_CONFIG_HOME at a fresh temporary folder, so that nothing a test does reaches the
// real per-user settings. The native store reads the variable once per process, so a test
// program defines one such object at namespace scope, which is built before main() runs.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tavrel::test {

class PrivateConfigHome {
public:
    PrivateConfigHome() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tavrel-config-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
            ::setenv("XDG_CONFIG_HOME", pattern.c_str(), 1);
        } else {
            ::setenv("XDG_CONFIG_HOME", "/nonexistent/tavrel-tests", 1);
        }
    }
    ~PrivateConfigHome() {
        std::error_code ec;
        if (!path_.empty()) {
            std::filesystem::remove_all(path_, ec);
        }
    }
    PrivateConfigHome(const PrivateConfigHome&) = delete; // owns the folder
    PrivateConfigHome& operator=(const PrivateConfigHome&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const noexcept { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace tavrel::test
