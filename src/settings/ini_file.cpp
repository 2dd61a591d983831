// Parsing, lookup, update and serialisation of the in-memory INI file.
#include "settings/ini_file.h"

#include "text/byte_case.h"

namespace tavrel {

namespace {

[[nodiscard]] bool holdsLineBreak(std::string_view text) noexcept {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// Whether a file holding this section header and line would read back to the same entry: a
// line break would split it, an "=" in the key would move the key's end, a leading ";"
// would make it a comment and "[...]" a section header.
[[nodiscard]] bool readsBackAsWritten(std::string_view section, std::string_view key,
                                      std::string_view line) noexcept {
    return !holdsLineBreak(section) && !holdsLineBreak(line) &&
           key.find('=') == std::string_view::npos && line.front() != ';' &&
           !(line.front() == '[' && line.back() == ']');
}

} // namespace

IniFile IniFile::parse(std::string_view bytes) {
    IniFile file;
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        const std::string_view line = bytes.substr(pos, end - pos);
        pos = end + 1;
        if (end < bytes.size() && bytes[end] == '\r' && pos < bytes.size() && bytes[pos] == '\n') {
            ++pos;
        }

        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[' && line.back() == ']') {
            file.sections_.push_back(Section{std::string(line.substr(1, line.size() - 2)), {}});
            current = &file.sections_.back();
        } else if (current != nullptr) {
            current->lines.emplace_back(line);
        }
    }
    return file;
}

std::optional<std::size_t> IniFile::findSection(std::string_view name) const {
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (equalsIgnoringCase(sections_[i].name, name)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> IniFile::findLine(const Section& section, std::string_view key) {
    for (std::size_t i = 0; i < section.lines.size(); ++i) {
        const std::string_view line = section.lines[i];
        const auto equals = line.find('=');
        if (equals != std::string_view::npos && equalsIgnoringCase(line.substr(0, equals), key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string_view> IniFile::value(std::string_view section,
                                               std::string_view key) const {
    const auto sectionIndex = findSection(section);
    if (!sectionIndex) {
        return std::nullopt;
    }
    const Section& found = sections_[*sectionIndex];
    const auto index = findLine(found, key);
    if (!index) {
        return std::nullopt;
    }
    const std::string_view line = found.lines[*index];
    return line.substr(line.find('=') + 1);
}

bool IniFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
    std::string line;
    line.reserve(key.size() + 1 + value.size());
    line.append(key).append("=").append(value);
    if (!readsBackAsWritten(section, key, line)) {
        return false;
    }
    const auto sectionIndex = findSection(section);
    Section& target = sectionIndex ? sections_[*sectionIndex]
                                   : sections_.emplace_back(Section{std::string(section), {}});
    if (const auto index = findLine(target, key)) {
        target.lines[*index] = std::move(line);
    } else {
        target.lines.push_back(std::move(line));
    }
    return true;
}

std::string IniFile::toText() const {
    std::string text;
    for (const Section& section : sections_) {
        text.append("[").append(section.name).append("]\r\n");
        for (const std::string& line : section.lines) {
            text.append(line).append("\r\n");
        }
        text.append("\r\n");
    }
    return text;
}

} // namespace tavrel
