// The recent-files list and its matching rule.
#include "app/recent_files.h"

#include <algorithm>

namespace tavrel {

namespace {

[[nodiscard]] char foldAscii(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return foldAscii(x) == foldAscii(y);
           });
}

RecentFiles::RecentFiles(FileTest isFile, SameFile sameFile)
    : isFile_(std::move(isFile)), sameFile_(std::move(sameFile)) {}

bool RecentFiles::add(const std::string& name) {
    if (!isFile_ || !isFile_(name)) {
        return false;
    }
    while (items_.size() >= kMaxItems) {
        items_.pop_back();
    }
    const auto found = std::find_if(items_.rbegin(), items_.rend(), [&](const std::string& item) {
        // On a case-sensitive file system "case.txt" and "CASE.txt" are two files; folding
        // them into one item would open the wrong one.
        return equalsIgnoringAsciiCase(item, name) &&
               (item == name || !sameFile_ || sameFile_(item, name));
    });
    if (found != items_.rend()) {
        std::rotate(items_.begin(), std::prev(found.base()), found.base());
    } else {
        items_.insert(items_.begin(), name);
    }
    return true;
}

} // namespace tavrel
