// An editor's keyword list: the keywords in order with their options and look, the data
// derived from them for matching (longest length, search forms, whether any ignores case),
// their text form, and the matching of one paragraph segment.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/highlight_runs.h"
#include "editor/string_set_matcher.h"
#include "editor/types.h"
#include "editor/word_spans.h"

namespace tavrel {

enum KeywordOption : std::uint8_t { koMatchCase = 1, koWholeWords = 2 };

// How the list upper-cases text for keywords that ignore case: ASCII letters only, or the
// Windows-1252 letters.
enum class UpperCaseType : std::uint8_t { Ascii, Ansi };

struct KeywordRecord {
    std::uint8_t options = koWholeWords;
    std::uint8_t style = 0;
    std::int32_t context = 1; // 0 disables the keyword
    std::int16_t cursor = 0;
    ColorRef background = kNoColor;
    ColorRef foreground = kNoColor;
    std::string keyword;
    std::string searchForm; // the keyword, upper-cased unless it matches case
};

class KeywordList {
public:
    KeywordList();

    void clear();
    // Appends a keyword; returns its index.
    int addKeyword(std::string_view keyword, std::uint8_t options, ColorRef foreground,
                   ColorRef background, std::int16_t cursor, std::int32_t context,
                   std::uint8_t style);
    void removeKeyword(int index);
    [[nodiscard]] int count() const noexcept { return static_cast<int>(records_.size()); }
    [[nodiscard]] bool empty() const noexcept { return records_.empty(); }
    [[nodiscard]] const std::string& keyword(int index) const { return record(index).keyword; }
    [[nodiscard]] const KeywordRecord& record(int index) const {
        return records_.at(static_cast<std::size_t>(index));
    }

    // While an update is in progress the derived data wait for its end.
    void beginUpdate() noexcept { ++updating_; }
    void endUpdate();

    [[nodiscard]] Pos longestLength() const noexcept { return longest_; }
    [[nodiscard]] bool allMatchCase() const noexcept { return allMatchCase_; }
    void setUpperCaseType(UpperCaseType type);

    // One line per keyword: keyword "=" options, style, context, cursor, background,
    // foreground and two reserved zeros, separated by ",", each line ended by CR LF.
    [[nodiscard]] std::string toText() const;
    // Replaces the list by the lines of a text form. The numbers follow the last "=" of a
    // line, so a keyword may itself hold "="; a missing or malformed number reads as 0 and
    // a line without "=" is skipped.
    void fromText(std::string_view text);

    // Finds the keywords whose whole occurrence lies in [from, to) of one paragraph and
    // appends their runs (sorted by start). Characters covered by an `existing` run with a
    // non-zero context (an address, an earlier keyword) never match; `existing` is sorted.
    void match(std::string_view paragraph, Pos from, Pos to, const std::bitset<256>& separators,
               const std::vector<HighlightRun>& existing, std::vector<HighlightRun>& out) const;

    // For a text of several whole paragraphs joined by their breaks (CR and LF, never inside
    // a paragraph), appends the runs match() finds in each paragraph with nothing closed,
    // starts as offsets in `text`, when every keyword is looked up word by word (whole words
    // free of separators, the usual list). Otherwise finds nothing and returns false: the
    // caller then matches paragraph by paragraph.
    bool matchAcrossBreaks(std::string_view text, const std::bitset<256>& separators,
                           std::vector<HighlightRun>& out) const;

private:
    void rebuild();
    [[nodiscard]] bool isTokenKeyword(const KeywordRecord& r, const std::bitset<256>& sep) const;
    void upperCase(std::string& text) const;
    struct Group;
    // Working copies, kept between calls so that a paragraph costs no allocation.
    struct Scratch {
        std::string work;  // the segment as written, masked
        std::string upper; // upper-cased and masked; made only when a keyword needs it
        std::vector<std::pair<std::size_t, Pos>> found; // (keyword, start in the paragraph)
        std::vector<std::uint64_t> separatorBits;       // WordSplitter's scratch
        std::vector<WordSpan> candidates;               // the words that may be keywords
        // A one-by-one group's occurrences (keyword - group.first, start in the segment), then
        // their starts bucketed by keyword, the bucket of keyword i ending at bucketEnds[i].
        std::vector<std::pair<std::uint32_t, Pos>> occurrences;
        std::vector<Pos> starts;
        std::vector<std::size_t> bucketEnds;
    };
    // `work` holds the segment's bytes as the lookups see them.
    void matchTokens(std::string_view paragraph, Pos from, Pos to, const Group& group,
                     const unsigned char* work, Scratch& s) const;
    [[nodiscard]] HighlightRun runOf(std::size_t k, Pos start) const;
    void matchOne(std::string_view paragraph, Pos from, std::size_t k,
                  const std::bitset<256>& separators, Scratch& s) const;
    // The keywords of a one-by-one group, with the same outcome as matchOne() on each in turn.
    void matchSearched(std::string_view paragraph, Pos from, const Group& group,
                       const std::bitset<256>& separators, Scratch& s) const;
    // Whether the `length` bytes at `start` of the paragraph are a whole word there.
    [[nodiscard]] static bool wholeWordAt(std::string_view paragraph, Pos start, Pos length,
                                          const std::bitset<256>& separators);
    // Records keyword k at offset `at` of the segment and masks it in the working copies.
    void accept(std::size_t k, Pos from, Pos at, Scratch& s) const;

    // A slot of a lookup table: the hash of a search form, its keyword's index + 1 (0: an
    // empty slot) and its length.
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t index = 0;
        std::uint32_t length = 0;
    };
    using Table = std::vector<Slot>;

    // Consecutive keywords that can only match a whole word without separators inside are
    // looked up word by word in one pass; the others follow the rule of one keyword after
    // another, from occurrences all found in one pass.
    struct Group {
        std::size_t first = 0;
        std::size_t last = 0;
        bool tokens = false;
        // Open-addressing tables of keyword index + 1 by the hash of the search form: the
        // match-case keywords by their bytes, the others by their upper-cased bytes.
        Table exact;
        Table folded;
        Pos maxLength = 0;
        // By the first two bytes (kFilterSlots slots), a bit per length (filterBit) of the
        // keywords whose first two bytes upper-case as these do: a word that misses here is
        // no keyword of the group and is not hashed. Small enough to stay in the first-level
        // cache beside the text.
        std::vector<std::uint16_t> filter;
        std::array<std::uint16_t, 256> lastFilter{}; // the same by the last byte
        bool needsUpper = false;                     // a one-by-one keyword in it ignores case
        // The search forms of a one-by-one group, all found in one pass (by keyword -
        // first): those that match case in the copy as written, the others in the upper-cased
        // copy. A form holding the mask byte is not among them: masking can make it match.
        StringSetMatcher exactForms;
        StringSetMatcher foldedForms;
    };
    static constexpr std::size_t kFilterSlots = 2048;
    [[nodiscard]] static constexpr std::size_t filterSlot(unsigned char first,
                                                          unsigned char second) noexcept {
        return ((std::size_t{first} << 5) ^ second) & (kFilterSlots - 1);
    }
    [[nodiscard]] static constexpr std::uint32_t filterBit(Pos length) noexcept {
        return std::uint32_t{1} << (length < 15 ? length : 15);
    }
    // The keyword of `table` whose search form is the `length` bytes at `word` (upper-cased
    // first when `fold`), or count() when none is.
    [[nodiscard]] std::size_t lookup(const Table& table, std::uint64_t hash,
                                     const unsigned char* word, Pos length, bool fold) const;
    // The words of bytes [0, length), split by `splitter`, that may be keywords of the
    // group (by their length and upper-cased first, second and last bytes), into
    // s.candidates; returns how many.
    std::size_t candidateWords(const WordSplitter& splitter, const unsigned char* bytes, Pos length,
                               const Group& group, Scratch& s) const;
    // The earliest keyword of the group whose search form the `size` bytes at `word` are,
    // or group.last; the bytes up to `end` may be read.
    [[nodiscard]] std::size_t keywordOf(const Group& group, const unsigned char* word, Pos size,
                                        const unsigned char* end) const;
    void buildGroups(const std::bitset<256>& separators) const;
    void insert(Table& table, std::size_t k, std::uint64_t hash) const;

    std::vector<KeywordRecord> records_;
    mutable std::vector<Group> groups_;
    mutable std::bitset<256> groupSeparators_;
    mutable bool groupsValid_ = false;
    mutable WordSplitter splitter_;      // on the separators of the groups
    mutable WordSplitter breakSplitter_; // the same, and CR and LF
    mutable bool needsUpper_ = false;    // some one-by-one keyword ignores case
    mutable Scratch scratch_;
    int updating_ = 0;
    Pos longest_ = 0;
    bool allMatchCase_ = true;
    std::array<unsigned char, 256> upperTable_{};
    bool asciiCase_ = true; // upperTable_ changes the ASCII letters only
};

} // namespace tavrel
