// Lookups in the loaded language file.
#include "lang/language_strings.h"

#include "text/code_page.h"

#include <algorithm>

namespace tavrel {
namespace {

/// A line without its marker. A line that is empty has no marker to drop.
std::u16string_view withoutMarker(const std::u16string& line) {
    return line.empty() ? std::u16string_view{} : std::u16string_view(line).substr(1);
}

} // namespace

std::u16string LanguageStrings::getLangWideString(int number,
                                                  std::u16string_view defaultText) const {
    if (number < 0 || static_cast<std::size_t>(number) >= lines_.size()) {
        return std::u16string(defaultText);
    }
    return std::u16string(withoutMarker(lines_[static_cast<std::size_t>(number)]));
}

std::string LanguageStrings::getLangString(int number, std::string_view defaultText) const {
    std::string text = wideToCodePage(getLangWideString(number, {}));
    if (text.empty()) {
        return std::string(defaultText);
    }
    return text;
}

bool LanguageStrings::declaresLanguage(std::uint16_t langId) const {
    if (lines_.empty()) {
        return false;
    }
    return withoutMarker(lines_.front()).find(languageKey(langId)) != std::u16string_view::npos;
}

std::u16string LanguageStrings::ownName() const {
    if (lines_.empty()) {
        return {};
    }
    // Words apart from the "$xxxx" identifiers, one space between them.
    std::u16string name;
    const std::u16string_view line = withoutMarker(lines_.front());
    std::size_t i = 0;
    while (i < line.size()) {
        const std::size_t start = line.find_first_not_of(u" \t", i);
        if (start == std::u16string_view::npos) {
            break;
        }
        const std::size_t end = std::min(line.find_first_of(u" \t", start), line.size());
        if (line[start] != u'$') {
            name += (name.empty() ? u"" : u" ");
            name += line.substr(start, end - start);
        }
        i = end;
    }
    return name;
}

std::u16string languageKey(std::uint16_t langId) {
    static constexpr char16_t digits[] = u"0123456789abcdef";
    std::u16string key = u"$";
    for (int shift = 12; shift >= 0; shift -= 4) {
        key.push_back(digits[(langId >> shift) & 0xF]);
    }
    return key;
}

} // namespace tavrel
