// The in-place save note's form: written and read in one place, so that its reader accepts
// exactly what its writer produces and nothing else.
#include "settings/save_note.h"

#include <array>
#include <charconv>

namespace tavrel {

namespace {

constexpr std::string_view kFirstLine = "Tavrel in-place save 1\n";

// Splits off the field up to the next NUL; false when there is none.
[[nodiscard]] bool takeField(std::string_view& rest, std::string_view& field) {
    const std::size_t end = rest.find('\0');
    if (end == std::string_view::npos) {
        return false;
    }
    field = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    return true;
}

[[nodiscard]] bool isPath(std::string_view field) {
    return !field.empty() && field.front() == '/';
}

// Decimal digits only, without leading zeros, within 64 bits.
[[nodiscard]] std::optional<std::uint64_t> number(std::string_view field) {
    if (field.empty() || (field.size() > 1 && field.front() == '0') ||
        field.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::string formatSaveNote(const SaveNote& note) {
    std::string text(kFirstLine);
    for (const std::string& field : {note.target, note.oldText, std::to_string(note.oldSize),
                                     std::to_string(note.device), std::to_string(note.inode)}) {
        text += field;
        text += '\0';
    }
    return text;
}

std::optional<SaveNote> parseSaveNote(std::string_view bytes) {
    if (bytes.size() > kMaxSaveNoteSize || bytes.substr(0, kFirstLine.size()) != kFirstLine) {
        return std::nullopt;
    }
    std::string_view rest = bytes.substr(kFirstLine.size());
    std::array<std::string_view, 5> fields;
    for (std::string_view& field : fields) {
        if (!takeField(rest, field)) {
            return std::nullopt;
        }
    }
    const auto oldSize = number(fields[2]);
    const auto device = number(fields[3]);
    const auto inode = number(fields[4]);
    if (!rest.empty() || !isPath(fields[0]) || !isPath(fields[1]) || !oldSize || !device ||
        !inode) {
        return std::nullopt;
    }
    return SaveNote{std::string(fields[0]), std::string(fields[1]), *oldSize, *device, *inode};
}

} // namespace tavrel
