// The language files of the program: which languages exist, which one "Automatic" means for
// this user, and the one loaded. Message boxes and ending the program are the caller's, so
// the rules stay testable without a window system.
#pragma once

#include "lang/language_strings.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

/// What the language handling asks of the program around it.
class LanguageHost {
public:
    virtual ~LanguageHost() = default;
    /// Shows a message box with an OK button. Texts are UTF-8.
    virtual void showMessage(const std::string& text, const std::string& caption) = 0;
    /// Ends the program at once (the required English file is missing).
    virtual void endProgram() = 0;
};

/// Where the language files of a program in `programFolder` may live: "languages" beside it,
/// then, for an installed program whose binary sits in bin/, ../share/tavrel/languages.
[[nodiscard]] std::vector<std::filesystem::path>
languageFolders(const std::filesystem::path& programFolder);

inline constexpr std::string_view automaticLanguage = "Automatic";
inline constexpr std::string_view fallbackLanguage = "English";

class LanguageHandler {
public:
    /// `folders` are the places language files may live, in order of preference (beside
    /// the program first; an installed program adds its shared data folder). The first one
    /// that holds "English.olf" is used for everything. `userLangId` is the LANGID that
    /// "Automatic" looks for. Names of languages are file names in UTF-8.
    LanguageHandler(std::vector<std::filesystem::path> folders, std::uint16_t userLangId,
                    LanguageHost& host);

    LanguageHandler(const LanguageHandler&) = delete; // one loaded language per program
    LanguageHandler& operator=(const LanguageHandler&) = delete;

    /// Replaces `list` with "Automatic" and the names of all ".olf" files, sorted ignoring
    /// case. On an error `list` stays as it was and a message is shown; returns success.
    bool listLanguages(std::vector<std::string>& list) const;

    /// Checks for "English.olf" (ends the program without it), resolves "Automatic" or an
    /// empty name, and loads the file. Returns the effective name, or an empty string when
    /// the file could not be loaded (the texts loaded before then stay).
    std::string loadLanguage(std::string_view requested);

    /// The first file, in the order the file system lists them, whose line 0 declares the
    /// user's LANGID; "English" when none does or when a file cannot be read on the way.
    [[nodiscard]] std::string detectLanguage() const;

    /// The name language `name` gives itself on line 0 of its file ("Deutsch" for "German"),
    /// for the menu; empty when the file names none or cannot be read.
    [[nodiscard]] std::u16string ownName(std::string_view name) const;

    /// Loads the language file listed as `name` (name + ".olf", the extension in any case)
    /// into the strings; false (and nothing changed) when it cannot.
    bool loadLanguageFile(std::string_view name);

    [[nodiscard]] const LanguageStrings& strings() const noexcept { return strings_; }

    /// The folder in use: the first that holds "English.olf", else the first given.
    [[nodiscard]] std::filesystem::path languageFolder() const;

private:
    /// The file of the language listed as `name`.
    [[nodiscard]] std::filesystem::path languagePath(std::string_view name) const;
    /// The language files of the folder in directory order, as (name, path) pairs.
    [[nodiscard]] std::vector<std::pair<std::string, std::filesystem::path>> languageFiles() const;

    std::vector<std::filesystem::path> folders_;
    std::uint16_t userLangId_;
    LanguageHost& host_;
    LanguageStrings strings_;
};

} // namespace tavrel
