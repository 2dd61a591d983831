// An INI file held in memory the way settings files have always been read and written here:
// lines kept verbatim (no trimming), sections and keys found regardless of letter case, new
// keys appended to their section, and the whole file rewritten in one piece.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

class IniFile {
public:
    IniFile() = default;

    // Lines end at CR LF, LF or a lone CR. Empty lines, lines starting with ";" and lines
    // before the first "[name]" are dropped.
    [[nodiscard]] static IniFile parse(std::string_view bytes);

    // The value of the first line in the first matching section whose text before its first
    // "=" equals key; spaces count, so "Key = 1" has the key "Key ".
    [[nodiscard]] std::optional<std::string_view> value(std::string_view section,
                                                        std::string_view key) const;

    // Replaces the key's line in place or appends key=value to its section (a missing section
    // is added after all others). Entries that the file could not give back as written (a
    // line break anywhere, "=" in the key, a line that would read as a comment or a section
    // header) change nothing and answer false.
    bool setValue(std::string_view section, std::string_view key, std::string_view value);

    // "[name]", the section's lines, then one empty line, for every section; every line,
    // the last one too, ends in CR LF.
    [[nodiscard]] std::string toText() const;

    [[nodiscard]] bool empty() const noexcept { return sections_.empty(); }

private:
    struct Section {
        std::string name;
        std::vector<std::string> lines;
    };

    [[nodiscard]] std::optional<std::size_t> findSection(std::string_view name) const;
    [[nodiscard]] static std::optional<std::size_t> findLine(const Section& section,
                                                             std::string_view key);

    std::vector<Section> sections_;
};

} // namespace tavrel
