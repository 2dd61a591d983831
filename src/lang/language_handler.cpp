// Finding, choosing and loading language files, with the program's messages for each way
// that can go wrong.
#include "lang/language_handler.h"

#include "lang/language_text.h"
#include "text/ascii_case.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <utility>

namespace tavrel {
namespace {

constexpr std::string_view extension = ".olf";
constexpr std::string_view englishFile = "English.olf";
constexpr const char* errorCaption = "Tavrel Error information";
constexpr const char* missingCaption = "File missing?";

std::string utf8(const std::filesystem::path& p) {
    const std::u8string s = p.u8string();
    return {s.begin(), s.end()};
}

std::filesystem::path fromUtf8(std::string_view s) {
    return std::filesystem::path(std::u8string(s.begin(), s.end()));
}

bool hasLanguageExtension(std::string_view fileName) {
    if (fileName.size() < extension.size()) {
        return false;
    }
    const std::string_view tail = fileName.substr(fileName.size() - extension.size());
    return std::equal(tail.begin(), tail.end(), extension.begin(),
                      [](char a, char b) { return lowerAscii(a) == b; });
}

bool lessIgnoringCase(const std::string& a, const std::string& b) {
    const auto folded = [](const std::string& s) {
        std::string out(s);
        std::transform(out.begin(), out.end(), out.begin(), [](char c) { return lowerAscii(c); });
        return out;
    };
    const std::string fa = folded(a);
    const std::string fb = folded(b);
    return fa != fb ? fa < fb : a < b;
}

/// The folder as the user knows it, with a trailing separator, for messages.
std::string folderText(const std::filesystem::path& folder) {
    std::filesystem::path p = folder;
    p.make_preferred();
    std::string s = utf8(p);
    if (s.empty() || s.back() != static_cast<char>(std::filesystem::path::preferred_separator)) {
        s.push_back(static_cast<char>(std::filesystem::path::preferred_separator));
    }
    return s;
}

} // namespace

std::vector<std::filesystem::path> languageFolders(const std::filesystem::path& programFolder) {
    std::vector<std::filesystem::path> folders{programFolder / "languages"};
    // The program folder comes with its trailing separator; "/usr/bin/" names "/usr/bin".
    const std::filesystem::path dir =
        programFolder.has_filename() ? programFolder : programFolder.parent_path();
    if (dir.filename() == "bin") {
        folders.push_back(dir.parent_path() / "share" / "tavrel" / "languages");
    }
    return folders;
}

LanguageHandler::LanguageHandler(std::vector<std::filesystem::path> folders,
                                 std::uint16_t userLangId, LanguageHost& host)
    : folders_(std::move(folders)), userLangId_(userLangId), host_(host) {}

std::filesystem::path LanguageHandler::languageFolder() const {
    for (const auto& folder : folders_) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(folder / englishFile, ec)) {
            return folder;
        }
    }
    return folders_.empty() ? std::filesystem::path() : folders_.front();
}

std::vector<std::pair<std::string, std::filesystem::path>> LanguageHandler::languageFiles() const {
    std::vector<std::pair<std::string, std::filesystem::path>> files;
    const std::filesystem::path folder = languageFolder();
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        return files; // no folder, no languages; the missing English file is reported later
    }
    // Directory order on purpose: when two files declare the same language, the first the
    // file system lists wins. The constructor and increment throw on errors.
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string fileName = utf8(entry.path().filename());
        if (!hasLanguageExtension(fileName) || entry.is_directory(ec)) {
            continue;
        }
        files.emplace_back(fileName.substr(0, fileName.rfind('.')), entry.path());
    }
    return files;
}

bool LanguageHandler::listLanguages(std::vector<std::string>& list) const {
    try {
        std::vector<std::string> names{std::string(automaticLanguage)};
        for (auto& [name, path] : languageFiles()) {
            names.push_back(std::move(name));
        }
        std::sort(names.begin(), names.end(), lessIgnoringCase);
        list = std::move(names);
        return true;
    } catch (const std::exception&) {
        host_.showMessage("Couldn't list the languages  --> Language: English", missingCaption);
        return false;
    }
}

std::u16string LanguageHandler::ownName(std::string_view name) const {
    auto lines = readLanguageFile(languagePath(name));
    return lines ? LanguageStrings(std::move(*lines)).ownName() : std::u16string();
}

std::string LanguageHandler::detectLanguage() const {
    const auto giveUp = [this] {
        host_.showMessage("Couldn't open the language setting file --> Language: English",
                          missingCaption);
        return std::string(fallbackLanguage);
    };
    try {
        for (const auto& [name, path] : languageFiles()) {
            auto lines = readLanguageFile(path);
            if (!lines || lines->empty()) {
                return giveUp();
            }
            if (LanguageStrings(std::move(*lines)).declaresLanguage(userLangId_)) {
                return name;
            }
        }
    } catch (const std::exception&) {
        return giveUp();
    }
    return std::string(fallbackLanguage);
}

std::filesystem::path LanguageHandler::languagePath(std::string_view name) const {
    // The list shows a file's name without its extension whatever the extension's case, so
    // "Upper.OLF" is listed as "Upper"; the file loaded is the one listed.
    const std::filesystem::path plain = languageFolder() / fromUtf8(std::string(name) + ".olf");
    std::error_code ec;
    if (std::filesystem::is_regular_file(plain, ec)) {
        return plain;
    }
    try {
        for (const auto& [listed, path] : languageFiles()) {
            if (listed == name) {
                return path;
            }
        }
    } catch (const std::exception&) {
        // An unreadable folder: the plain name below fails to load and says so.
    }
    return plain;
}

bool LanguageHandler::loadLanguageFile(std::string_view name) {
    auto lines = readLanguageFile(languagePath(name));
    if (!lines) {
        return false;
    }
    strings_ = LanguageStrings(std::move(*lines));
    return true;
}

std::string LanguageHandler::loadLanguage(std::string_view requested) {
    const std::filesystem::path folder = languageFolder();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(folder / englishFile, ec)) {
        host_.showMessage("Critical Error - File " + folderText(folder) + std::string(englishFile) +
                              " not found !",
                          errorCaption);
        host_.endProgram();
        return {};
    }
    const std::string name = requested.empty() || requested == automaticLanguage
                                 ? detectLanguage()
                                 : std::string(requested);
    if (!loadLanguageFile(name)) {
        host_.showMessage("Language file not found!", errorCaption);
        return {};
    }
    return name;
}

} // namespace tavrel
