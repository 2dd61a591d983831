// The loaded language file: its lines by number, each with its marker character still in
// front. Interface texts and messages are looked up here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavrel {

class LanguageStrings {
public:
    LanguageStrings() = default;
    explicit LanguageStrings(std::vector<std::u16string> lines) : lines_(std::move(lines)) {}

    [[nodiscard]] std::size_t lineCount() const noexcept { return lines_.size(); }

    /// Line `number` without its first character (the marker), or `defaultText` when the
    /// file has no such line (or nothing is loaded).
    [[nodiscard]] std::u16string getLangWideString(int number,
                                                   std::u16string_view defaultText) const;

    /// The same text in the ANSI code page (characters it lacks become their best fit or "?");
    /// `defaultText` when that text is empty, so an empty line also gives the default.
    [[nodiscard]] std::string getLangString(int number, std::string_view defaultText = {}) const;

    /// Whether line 0 names the language identifier as "$" and four lower-case hexadecimal
    /// digits (for example "$0c07"); the test is a case-sensitive substring search.
    [[nodiscard]] bool declaresLanguage(std::uint16_t langId) const;

    /// The language's name in itself, as line 0 gives it after its identifiers ("$0407 $0807
    /// Deutsch" gives "Deutsch"); empty when the line holds none.
    [[nodiscard]] std::u16string ownName() const;

private:
    std::vector<std::u16string> lines_;
};

/// The token that line 0 of a language file carries for a language identifier: "$0c07".
[[nodiscard]] std::u16string languageKey(std::uint16_t langId);

} // namespace tavrel
