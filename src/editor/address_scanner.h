// Finding web, e-mail, news, file-transfer and other addresses in a paragraph: the fixed
// recognition table, the delimiters that bound an address, and the scan that turns text into
// address spans. Styling, acceptance hooks and launching live in UrlHighlighter.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "editor/highlight_runs.h"
#include "editor/types.h"

namespace tavrel {

enum class UrlType : std::uint8_t { Web = 0, Email = 1, News = 2, File = 3, Other = 4 };

struct UrlPattern {
    std::string_view literal; // upper case; compared ignoring the case of ASCII letters
    UrlType type;
    bool infix; // found inside a word ("@"), not at its start
};

// The table is tried in this order at every offset; the first row that matches wins, and
// a row's index is part of the context number of the addresses it finds.
inline constexpr std::array<UrlPattern, 15> kUrlPatterns{{
    {"HTTP://", UrlType::Web, false},
    {"WWW.", UrlType::Web, false},
    {"MAILTO:", UrlType::Email, false},
    {"@", UrlType::Email, true},
    {"NEWS:", UrlType::News, false},
    {"NNTP://", UrlType::News, false},
    {"FTP://", UrlType::File, false},
    {"FTP.", UrlType::File, false},
    {"GOPHER://", UrlType::Other, false},
    {"GOPHER.", UrlType::Other, false},
    {"TELNET://", UrlType::Other, false},
    {"TN3270://", UrlType::Other, false},
    {"WAIS://", UrlType::Other, false},
    {"PROSPERO://", UrlType::Other, false},
    {"HTTPS://", UrlType::Web, false},
}};
inline constexpr int kEmailInfixIndex = 3;
inline constexpr int kFtpDotIndex = 7;
inline constexpr int kGopherDotIndex = 9;

// The longest literal: how far a re-scan must look beyond a changed range.
inline constexpr Pos kLongestUrlLiteral = 11;
// A run never covers more characters than this; a longer address is cut.
inline constexpr Pos kMaxRunLength = 65535;

// Tab, space, the two quotes, parentheses and angle brackets (and the paragraph end).
[[nodiscard]] constexpr bool isUrlDelimiter(unsigned char c) noexcept {
    return c == '\t' || c == ' ' || c == '"' || c == '\'' || c == '(' || c == ')' || c == '<' ||
           c == '>';
}

struct FoundAddress {
    Pos start = 0;
    Pos length = 0;
    int index = 0; // row of kUrlPatterns
};

struct AddressScan {
    // Runs already in the paragraph, sorted and not overlapping. Unless `priority` is set,
    // an address whose first and last characters lie in different runs is not taken (an
    // earlier highlight inside it wins).
    const std::vector<HighlightRun>* existing = nullptr;
    bool priority = false;
    // Asked for each address that passed the rules; false rejects it. Null accepts all.
    const std::function<bool(const FoundAddress&)>* accept = nullptr;
};

// Appends, in order, the addresses of `text` (one paragraph) whose literal starts at an
// offset in [from, to). An address may begin before `from` (an e-mail address found by its
// "@") and end after `to`.
void findAddresses(std::string_view text, Pos from, Pos to, const AddressScan& scan,
                   std::vector<FoundAddress>& out);

// The same over the whole of `text` holding several paragraphs joined by their breaks (CR
// and LF, which never occur inside a paragraph), as a document keeps unedited paragraphs one
// after another in memory. A break bounds an address as a delimiter does, so each address
// found lies inside one paragraph and is the one findAddresses finds in that paragraph
// alone; offsets are in `text`.
void findAddressesAcrossBreaks(std::string_view text, const AddressScan& scan,
                               std::vector<FoundAddress>& out);

} // namespace tavrel
