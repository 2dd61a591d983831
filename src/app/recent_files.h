// The recent-files list behind the File menu's "Recent files" submenu: at most nine full
// file names, the newest at the top, each kept with the spelling it was first added under.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

class RecentFiles {
public:
    static constexpr std::size_t kMaxItems = 9;

    // Whether a name is an existing file; names that are not are never added.
    using FileTest = std::function<bool(const std::string& name)>;

    // Whether two names that differ only in letter case name one file; without it such
    // names always count as one (the rule of a file system that folds case).
    using SameFile = std::function<bool(const std::string& a, const std::string& b)>;

    explicit RecentFiles(FileTest isFile, SameFile sameFile = {});

    // Puts an existing file at the top. A name already in the list, compared without regard
    // to letter case (A-Z only: names are UTF-8) where the file system folds case (sameFile
    // says so), moves to the top with its first caption;
    // the lowest such item counts when several match. The list is trimmed to eight items
    // before the search, as the menu always has been, so a ninth item that matches is
    // dropped and comes back at the top with the new spelling. Answers whether it added.
    bool add(const std::string& name);

    [[nodiscard]] const std::vector<std::string>& items() const noexcept { return items_; }
    [[nodiscard]] bool empty() const noexcept { return items_.empty(); }

private:
    FileTest isFile_;
    SameFile sameFile_;
    std::vector<std::string> items_;
};

// A-Z folded, other bytes compared as they are.
[[nodiscard]] bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept;

} // namespace tavrel
