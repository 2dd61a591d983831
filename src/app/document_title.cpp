// Caption, file class and the extension rules of Save as.
#include "app/document_title.h"

#include <algorithm>

namespace tavrel {

namespace {

inline constexpr std::string_view kSeparators = "/\\:";

[[nodiscard]] std::size_t nameStart(std::string_view path) noexcept {
    const std::size_t separator = path.find_last_of(kSeparators);
    return separator == std::string_view::npos ? 0 : separator + 1;
}

} // namespace

std::string windowCaption(std::string_view fileName) {
    std::string caption = "Tavrel";
    if (!fileName.empty()) {
        caption += " - ";
        caption += fileName;
    }
    return caption;
}

std::string fileNamePart(std::string_view path) {
    return std::string(path.substr(nameStart(path)));
}

std::string folderPart(std::string_view path) {
    return std::string(path.substr(0, nameStart(path)));
}

std::string extensionOf(std::string_view path) {
    const std::string_view name = path.substr(nameStart(path));
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

std::string fileClassOf(std::string_view path) {
    const std::string extension = extensionOf(path);
    if (extension.size() <= 3) {
        return std::string(kOtherFileClass);
    }
    // Only A to Z fold: names on this system are UTF-8, whose bytes a code-page mapping
    // would garble.
    std::string fileClass = extension.substr(1);
    std::transform(fileClass.begin(), fileClass.end(), fileClass.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return fileClass;
}

std::string saveAsName(std::string_view chosen) {
    std::string name(chosen);
    if (extensionOf(name).empty()) {
        name += ".txt";
    }
    return name;
}

} // namespace tavrel
