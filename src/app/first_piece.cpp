// Deciding which of a file's first paragraphs are final before the rest is read.
#include "app/first_piece.h"

#include "app/line_ends.h"

#include <algorithm>

namespace tavrel {

namespace {

[[nodiscard]] bool isBreak(char c) noexcept {
    return c == '\r' || c == '\n';
}

[[nodiscard]] bool startsWith(std::string_view text, std::string_view prefix) noexcept {
    return text.substr(0, prefix.size()) == prefix;
}

// `head` without a UTF-8 sequence its end may have cut. Cutting too much only keeps a bad
// byte out of the check (the decision is then left to the whole file); cutting too little
// would blame the cut for a fault the file does not have.
[[nodiscard]] std::string_view withoutCutSequence(std::string_view head) noexcept {
    std::size_t i = head.size();
    int continuations = 0;
    while (i > 0 && continuations < 3 && (static_cast<unsigned char>(head[i - 1]) & 0xC0) == 0x80) {
        --i;
        ++continuations;
    }
    if (i > 0 && static_cast<unsigned char>(head[i - 1]) >= 0xC0) {
        return head.substr(0, i - 1);
    }
    return head;
}

// Where the last paragraph break of `text` begins, reading the breaks as the document splits
// them: CR LF and LF CR are one break, a lone CR or LF is one. `text` ends in a break.
[[nodiscard]] std::size_t lastBreakStart(std::string_view text) noexcept {
    std::size_t run = text.size();
    while (run > 0 && isBreak(text[run - 1])) {
        --run;
    }
    std::size_t last = run;
    for (std::size_t i = run; i < text.size();) {
        last = i;
        const char other = text[i] == '\r' ? '\n' : '\r';
        i += (i + 1 < text.size() && text[i + 1] == other) ? 2 : 1;
    }
    return last;
}

} // namespace

bool headKeepsItsBytes(std::string_view head, EncodingChoice choice) noexcept {
    switch (choice) {
    case EncodingChoice::Cp437:
    case EncodingChoice::Windows1252:
        return true;
    case EncodingChoice::Utf16:
        return false;
    case EncodingChoice::Automatic:
    case EncodingChoice::PlainText:
    case EncodingChoice::Utf8:
        break;
    }
    if (head.size() < 3 || startsWith(head, "\xFF\xFE") || startsWith(head, "\xFE\xFF") ||
        startsWith(head, "\xEF\xBB\xBF")) {
        return false; // a mark is dropped from the text when the file is decoded
    }
    const bool ascii = std::all_of(head.begin(), head.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        return true;
    }
    // Every reason to refuse a file as UTF-8 art is a byte or character it holds; one that the
    // head holds, the whole file holds too. A head that passes may still be refused later.
    try {
        return !decodeUtf8Art(withoutCutSequence(head)).has_value();
    } catch (...) {
        return false;
    }
}

std::optional<std::string> firstPieceText(std::string_view head, const FileLoadRules& rules) {
    if (head.empty() || !headKeepsItsBytes(head, rules.encoding)) {
        return std::nullopt;
    }
    // Up to the last paragraph that begins inside `head`: the breaks before it are complete
    // (a CR at the very end might still meet its LF), and the repair of a break run looks at
    // that run only.
    std::size_t cut = head.size() - 1;
    while (cut > 0 && !(isBreak(head[cut - 1]) && !isBreak(head[cut]))) {
        --cut;
    }
    if (cut == 0) {
        return std::nullopt;
    }
    std::string text(head.substr(0, cut));
    if (rules.convert) {
        if (text.find("\r\n") != std::string::npos) {
            // The file holds CR LF, so no bare LF is expanded; doubled CRs collapse locally.
            repairLineEnds(text);
        } else if (text.find("\n\r") != std::string::npos) {
            // Whether the rest holds CR LF decides if this LF CR is one break or two.
            return std::nullopt;
        }
        // Else every LF is one break either way: expanded to CR LF or not, the paragraphs
        // are the same, and the text is left as it is.
    }
    text.resize(lastBreakStart(text));
    return text;
}

} // namespace tavrel
