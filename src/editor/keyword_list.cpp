// The keyword list and its matching. Matching follows one rule: keywords in list order, each
// searched left to right on a working copy of the segment in which every character already
// highlighted (and every keyword accepted so far) is masked by the byte 5. Keywords that can
// only match a whole word free of separators are looked up word by word instead, which finds
// the same matches in one pass over the text however many keywords there are; the others'
// occurrences are all found in one pass too, and then taken keyword by keyword.
#include "editor/keyword_list.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>

namespace tavrel {

namespace {

constexpr char kMask = 5;
// A run never covers more characters than this; a longer keyword's run is cut.
constexpr Pos kMaxKeywordRun = 65535;

// The hash of a word as the lookup tables key it: its bytes (through `map`) packed eight to
// a machine word, each word mixed in with one multiplication, so that a short word costs one
// multiplication rather than one a byte.
// Both steps of the mixing can be undone, so words of up to eight bytes (one step from their
// length) have different hashes unless they are the same.
[[nodiscard]] constexpr std::uint64_t mix(std::uint64_t h) noexcept {
    h *= 0x9E3779B97F4A7C15ull;
    return h ^ (h >> 32);
}

template <typename Map>
[[nodiscard]] std::uint64_t hashBytes(const unsigned char* bytes, std::size_t size, Map map) {
    std::uint64_t h = size;
    for (std::size_t at = 0; at < size; at += 8) {
        std::uint64_t packed = 0;
        const std::size_t end = std::min(size, at + 8);
        for (std::size_t j = at; j < end; ++j) {
            packed |= std::uint64_t{map(bytes[j])} << (8 * (j - at));
        }
        h = mix(h ^ packed);
    }
    return h;
}

// Upper-cases the ASCII letters among eight bytes packed in a machine word, all at once: the
// high bit of each byte says whether its low seven bits lie in 'a' .. 'z' (no sum carries
// into the next byte), and a letter's own high bit must be clear.
[[nodiscard]] constexpr std::uint64_t upperAscii8(std::uint64_t x) noexcept {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    const std::uint64_t low7 = x & (0x7F * kOnes);
    const std::uint64_t fromA = low7 + (0x80 - 'a') * kOnes;
    const std::uint64_t pastZ = low7 + (0x80 - 'z' - 1) * kOnes;
    const std::uint64_t letters = fromA & ~pastZ & ~x & (0x80 * kOnes);
    return x ^ (letters >> 2);
}
static_assert(upperAscii8(0x7B7A61604140E1FAull) == 0x7B5A41604140E1FAull,
              "only a to z change, never the bytes beside them or above 0x7F");

std::uint64_t hashOf(std::string_view text) {
    return hashBytes(reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                     [](unsigned char c) { return c; });
}

std::size_t tableSize(std::size_t count) {
    std::size_t size = 16;
    while (size < 4 * count) {
        size *= 2;
    }
    return size;
}

std::array<unsigned char, 256> asciiUpper() {
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 256; ++c) {
        t[static_cast<std::size_t>(c)] =
            static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 0x20 : c);
    }
    return t;
}

// Windows-1252 upper-casing: the ASCII letters, the accented small letters and the four
// letters whose capitals sit in the 0x80 row.
std::array<unsigned char, 256> ansiUpper() {
    std::array<unsigned char, 256> t = asciiUpper();
    for (int c = 0xE0; c <= 0xFE; ++c) {
        if (c != 0xF7) {
            t[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c - 0x20);
        }
    }
    t[0x9A] = 0x8A;
    t[0x9C] = 0x8C;
    t[0x9E] = 0x8E;
    t[0xFF] = 0x9F;
    return t;
}

} // namespace

KeywordList::KeywordList() : upperTable_(asciiUpper()) {}

void KeywordList::clear() {
    records_.clear();
    rebuild();
}

int KeywordList::addKeyword(std::string_view keyword, std::uint8_t options, ColorRef foreground,
                            ColorRef background, std::int16_t cursor, std::int32_t context,
                            std::uint8_t style) {
    KeywordRecord r;
    r.options = options;
    r.style = style;
    r.context = context;
    r.cursor = cursor;
    r.background = background;
    r.foreground = foreground;
    r.keyword = std::string(keyword);
    records_.push_back(std::move(r));
    rebuild();
    return count() - 1;
}

void KeywordList::removeKeyword(int index) {
    static_cast<void>(record(index)); // throws for an index outside the list
    records_.erase(records_.begin() + index);
    rebuild();
}

void KeywordList::endUpdate() {
    if (updating_ > 0 && --updating_ == 0) {
        rebuild();
    }
}

void KeywordList::setUpperCaseType(UpperCaseType type) {
    upperTable_ = type == UpperCaseType::Ansi ? ansiUpper() : asciiUpper();
    asciiCase_ = upperTable_ == asciiUpper();
    rebuild();
}

void KeywordList::upperCase(std::string& text) const {
    for (char& c : text) {
        c = static_cast<char>(upperTable_[static_cast<unsigned char>(c)]);
    }
}

void KeywordList::rebuild() {
    groupsValid_ = false;
    if (updating_ > 0) {
        return;
    }
    longest_ = 0;
    allMatchCase_ = true;
    for (KeywordRecord& r : records_) {
        longest_ = std::max(longest_, static_cast<Pos>(r.keyword.size()));
        r.searchForm = r.keyword;
        if ((r.options & koMatchCase) == 0) {
            allMatchCase_ = false;
            upperCase(r.searchForm);
        }
    }
}

bool KeywordList::isTokenKeyword(const KeywordRecord& r, const std::bitset<256>& sep) const {
    if ((r.options & koWholeWords) == 0) {
        return false;
    }
    // A keyword with a separator inside can match overlapping itself, and one holding the
    // mask byte could match masked text: those keep the one-by-one search.
    return std::none_of(r.searchForm.begin(), r.searchForm.end(),
                        [&](char c) { return sep[static_cast<unsigned char>(c)] || c == kMask; });
}

void KeywordList::insert(Table& table, std::size_t k, std::uint64_t hash) const {
    const std::size_t mask = table.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        Slot& slot = table[at];
        if (slot.index == 0) {
            slot.hash = hash;
            slot.index = static_cast<std::uint32_t>(k + 1);
            slot.length = static_cast<std::uint32_t>(records_[k].searchForm.size());
            return;
        }
        if (slot.hash == hash && records_[slot.index - 1].searchForm == records_[k].searchForm) {
            return; // the same keyword earlier in the list wins
        }
    }
}

void KeywordList::buildGroups(const std::bitset<256>& separators) const {
    if (groupsValid_ && groupSeparators_ == separators) {
        return;
    }
    groups_.clear();
    for (std::size_t k = 0; k < records_.size(); ++k) {
        const bool token = isTokenKeyword(records_[k], separators);
        if (groups_.empty() || token != groups_.back().tokens) {
            Group g;
            g.first = k;
            g.tokens = token;
            groups_.push_back(std::move(g));
        }
        groups_.back().last = k + 1;
    }
    // The bytes that upper-case to each byte.
    std::array<std::vector<unsigned char>, 256> sameUpper;
    for (std::size_t c = 0; c < 256; ++c) {
        sameUpper[upperTable_[c]].push_back(static_cast<unsigned char>(c));
    }
    const std::vector<unsigned char> noSecond{0};
    for (Group& g : groups_) {
        std::size_t exactCount = 0;
        std::size_t foldedCount = 0;
        for (std::size_t k = g.first; k < g.last; ++k) {
            const bool matchCase = (records_[k].options & koMatchCase) != 0;
            (matchCase ? exactCount : foldedCount) += 1;
            g.needsUpper = g.needsUpper || (!g.tokens && !matchCase);
        }
        if (!g.tokens) {
            g.exactForms = {};
            g.foldedForms = {};
            for (std::size_t k = g.first; k < g.last; ++k) {
                const KeywordRecord& r = records_[k];
                if (r.context != 0 && r.searchForm.find(kMask) == std::string::npos) {
                    ((r.options & koMatchCase) != 0 ? g.exactForms : g.foldedForms)
                        .add(r.searchForm, static_cast<std::uint32_t>(k - g.first));
                }
            }
            g.exactForms.build();
            g.foldedForms.build();
            continue;
        }
        g.filter.assign(kFilterSlots, 0);
        g.lastFilter.fill(0);
        g.exact.assign(exactCount == 0 ? 0 : tableSize(exactCount), {0, 0});
        g.folded.assign(foldedCount == 0 ? 0 : tableSize(foldedCount), {0, 0});
        for (std::size_t k = g.first; k < g.last; ++k) {
            const KeywordRecord& r = records_[k];
            if (r.context == 0 || r.searchForm.empty()) {
                continue; // disabled, or an empty line: never matches
            }
            const auto size = static_cast<Pos>(r.searchForm.size());
            g.maxLength = std::max(g.maxLength, size);
            // A word can only equal the search form if its upper-cased letters equal the
            // form's upper-cased letters, whichever case rule the keyword follows. The filters
            // are keyed by the word's bytes as written, so every byte that upper-cases like
            // the form's gets the bit (a word of one byte has 0 for its second).
            const auto bit = static_cast<std::uint16_t>(filterBit(size));
            const auto& firsts =
                sameUpper[upperTable_[static_cast<unsigned char>(r.searchForm[0])]];
            const auto& seconds =
                size > 1 ? sameUpper[upperTable_[static_cast<unsigned char>(r.searchForm[1])]]
                         : noSecond;
            for (const unsigned char first : firsts) {
                for (const unsigned char second : seconds) {
                    g.filter[filterSlot(first, second)] |= bit;
                }
            }
            for (const unsigned char last :
                 sameUpper[upperTable_[static_cast<unsigned char>(r.searchForm.back())]]) {
                g.lastFilter[last] |= bit;
            }
            insert((r.options & koMatchCase) != 0 ? g.exact : g.folded, k, hashOf(r.searchForm));
        }
    }
    splitter_ = WordSplitter(separators);
    std::bitset<256> withBreaks = separators;
    withBreaks.set('\r');
    withBreaks.set('\n');
    breakSplitter_ = WordSplitter(withBreaks);
    needsUpper_ =
        std::any_of(groups_.begin(), groups_.end(), [](const Group& g) { return g.needsUpper; });
    groupSeparators_ = separators;
    groupsValid_ = true;
}

std::size_t KeywordList::lookup(const Table& table, std::uint64_t hash, const unsigned char* word,
                                Pos length, bool fold) const {
    const std::size_t mask = table.size() - 1;
    for (std::size_t at = hash & mask; table[at].index != 0; at = (at + 1) & mask) {
        const Slot& slot = table[at];
        if (slot.hash != hash || static_cast<Pos>(slot.length) != length) {
            continue;
        }
        if (length <= 8) {
            return slot.index - 1; // the same hash and length: the same bytes (see mix)
        }
        const std::string& form = records_[slot.index - 1].searchForm;
        bool same = true;
        for (Pos j = 0; j < length && same; ++j) {
            const unsigned char c = word[j];
            same = (fold ? upperTable_[c] : c) == static_cast<unsigned char>(form[j]);
        }
        if (same) {
            return slot.index - 1;
        }
    }
    return records_.size();
}

std::size_t KeywordList::candidateWords(const WordSplitter& splitter, const unsigned char* bytes,
                                        Pos length, const Group& group, Scratch& s) const {
    // This loop is the hot spot of highlighting a large file. Only a word whose length and
    // first, second and last bytes (as upper-cased) are those of a keyword is kept, without a
    // branch on the outcome: most words are no keyword, and which ones are cannot be
    // predicted.
    std::vector<WordSpan>& kept = s.candidates;
    const auto most = static_cast<std::size_t>(length / 2 + 1);
    if (kept.size() < most) {
        kept.resize(most);
    }
    std::size_t count = 0;
    splitter.forEachWord(
        bytes, static_cast<std::size_t>(length), s.separatorBits, [&](Pos start, Pos end) {
            const Pos size = end - start;
            const unsigned char* word = bytes + start;
            const unsigned char second = size > 1 ? word[1] : 0;
            const std::uint32_t lengths =
                group.filter[filterSlot(word[0], second)] & group.lastFilter[word[size - 1]];
            kept[count] = {start, end};
            // The length bits are exact below 15; longer words share one
            // bit. Bitwise "&", not "&&": a branch here is mispredicted on
            // every other keyword.
            count +=
                static_cast<std::size_t>(static_cast<unsigned>((lengths & filterBit(size)) != 0) &
                                         static_cast<unsigned>(size <= group.maxLength));
        });
    return count;
}

std::size_t KeywordList::keywordOf(const Group& group, const unsigned char* word, Pos size,
                                   const unsigned char* end) const {
    std::size_t best = group.last;
    const auto bytes = static_cast<std::size_t>(size);
    if (size <= 8 && end - word >= 8 && std::endian::native == std::endian::little) {
        // Most words: one load, and upper-cased all at once when the letters are ASCII's.
        std::uint64_t packed = 0;
        std::memcpy(&packed, word, 8);
        packed &= size == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * size)) - 1;
        if (!group.exact.empty()) {
            best = std::min(best, lookup(group.exact, mix(bytes ^ packed), word, size, false));
        }
        if (!group.folded.empty()) {
            const std::uint64_t hash =
                asciiCase_
                    ? mix(bytes ^ upperAscii8(packed))
                    : hashBytes(word, bytes, [this](unsigned char c) { return upperTable_[c]; });
            best = std::min(best, lookup(group.folded, hash, word, size, true));
        }
        return best;
    }
    if (!group.exact.empty()) {
        const std::uint64_t hash = hashBytes(word, bytes, [](unsigned char c) { return c; });
        best = std::min(best, lookup(group.exact, hash, word, size, false));
    }
    if (!group.folded.empty()) {
        const std::uint64_t hash =
            hashBytes(word, bytes, [this](unsigned char c) { return upperTable_[c]; });
        best = std::min(best, lookup(group.folded, hash, word, size, true));
    }
    return best;
}

void KeywordList::matchTokens(std::string_view paragraph, Pos from, Pos to, const Group& group,
                              const unsigned char* work, Scratch& s) const {
    if (group.maxLength == 0 || from >= to) {
        return; // only disabled or empty keywords, or no text
    }
    const auto length = to - from;
    // Words are split on the paragraph's own bytes and looked up as `work` holds them, so
    // that a word with masked bytes is no keyword.
    const auto* bytes = reinterpret_cast<const unsigned char*>(paragraph.data()) + from;
    const std::size_t count = candidateWords(splitter_, bytes, length, group, s);
    for (std::size_t k = 0; k < count; ++k) {
        const WordSpan& w = s.candidates[k];
        // A word that begins before the segment or goes on past it is not whole inside it.
        if ((w.start == 0 && from > 0 &&
             !splitter_.isSeparator(
                 static_cast<unsigned char>(paragraph[static_cast<std::size_t>(from - 1)]))) ||
            (w.end == length && to < static_cast<Pos>(paragraph.size()) &&
             !splitter_.isSeparator(
                 static_cast<unsigned char>(paragraph[static_cast<std::size_t>(to)])))) {
            continue;
        }
        const Pos size = w.end - w.start;
        const std::size_t best = keywordOf(group, work + w.start, size, work + length);
        if (best < group.last) {
            s.found.emplace_back(best, from + w.start);
            if (!s.work.empty()) {
                std::fill_n(s.work.begin() + w.start, size, kMask);
            }
            if (!s.upper.empty()) {
                std::fill_n(s.upper.begin() + w.start, size, kMask);
            }
        }
    }
}

bool KeywordList::wholeWordAt(std::string_view paragraph, Pos start, Pos length,
                              const std::bitset<256>& separators) {
    const auto n = static_cast<Pos>(paragraph.size());
    const Pos end = start + length;
    return (start == 0 || separators[static_cast<unsigned char>(
                              paragraph[static_cast<std::size_t>(start - 1)])]) &&
           (end >= n ||
            separators[static_cast<unsigned char>(paragraph[static_cast<std::size_t>(end)])]);
}

void KeywordList::accept(std::size_t k, Pos from, Pos at, Scratch& s) const {
    const std::size_t size = records_[k].searchForm.size();
    s.found.emplace_back(k, from + at);
    s.work.replace(static_cast<std::size_t>(at), size, size, kMask);
    if (!s.upper.empty()) {
        s.upper.replace(static_cast<std::size_t>(at), size, size, kMask);
    }
}

void KeywordList::matchOne(std::string_view paragraph, Pos from, std::size_t k,
                           const std::bitset<256>& separators, Scratch& s) const {
    const KeywordRecord& r = records_[k];
    if (r.context == 0 || r.searchForm.empty()) {
        return;
    }
    const std::string& source = (r.options & koMatchCase) != 0 ? s.work : s.upper;
    const auto length = static_cast<Pos>(r.searchForm.size());
    std::size_t at = 0;
    while ((at = source.find(r.searchForm, at)) != std::string::npos) {
        const auto start = static_cast<Pos>(at);
        if ((r.options & koWholeWords) == 0 ||
            wholeWordAt(paragraph, from + start, length, separators)) {
            accept(k, from, start, s);
        }
        at += r.searchForm.size();
    }
}

void KeywordList::matchSearched(std::string_view paragraph, Pos from, const Group& group,
                                const std::bitset<256>& separators, Scratch& s) const {
    // Masking only ever takes occurrences away from a form without the mask byte, so the
    // occurrences found in the copies as they stand before the group are all each keyword
    // can find; what an earlier keyword masks afterwards shows in the copies as mask bytes
    // in the occurrence. A list whose forms overlap one another at every byte could find far
    // more occurrences than the text has bytes: past a budget the keywords are searched one
    // by one instead, which costs time but no memory.
    std::vector<std::pair<std::uint32_t, Pos>>& found = s.occurrences;
    found.clear();
    const std::size_t budget = 2 * s.work.size() + 4096;
    const auto keep = [&](std::uint32_t id, std::size_t start) {
        found.emplace_back(id, static_cast<Pos>(start));
        return found.size() <= budget;
    };
    const auto bytes = [](const std::string& copy) {
        return reinterpret_cast<const unsigned char*>(copy.data());
    };
    if (!group.exactForms.scan(bytes(s.work), s.work.size(), keep) ||
        !group.foldedForms.scan(bytes(s.upper), s.upper.size(), keep)) {
        for (std::size_t k = group.first; k < group.last; ++k) {
            matchOne(paragraph, from, k, separators, s);
        }
        found.clear();
        found.shrink_to_fit();
        return;
    }
    // The starts bucketed by keyword; a keyword's come found by end, which for one length is
    // by start.
    std::vector<std::size_t>& ends = s.bucketEnds;
    ends.assign(group.last - group.first, 0);
    for (const auto& occurrence : found) {
        ++ends[occurrence.first];
    }
    std::size_t total = 0;
    for (std::size_t& end : ends) {
        total += end;
        end = total - end; // the bucket's start for now, its end once filled
    }
    s.starts.resize(found.size());
    for (const auto& [id, start] : found) {
        s.starts[ends[id]++] = start;
    }
    for (std::size_t k = group.first; k < group.last; ++k) {
        const KeywordRecord& r = records_[k];
        if (r.context == 0 || r.searchForm.empty()) {
            continue;
        }
        if (r.searchForm.find(kMask) != std::string::npos) {
            matchOne(paragraph, from, k, separators, s);
            continue;
        }
        const std::string& source = (r.options & koMatchCase) != 0 ? s.work : s.upper;
        const auto length = static_cast<Pos>(r.searchForm.size());
        const std::size_t i = k - group.first;
        Pos next = 0; // where the search of this keyword goes on
        for (std::size_t j = i == 0 ? 0 : ends[i - 1]; j < ends[i]; ++j) {
            const Pos start = s.starts[j];
            if (start < next || std::memchr(source.data() + start, kMask,
                                            static_cast<std::size_t>(length)) != nullptr) {
                continue;
            }
            next = start + length;
            if ((r.options & koWholeWords) == 0 ||
                wholeWordAt(paragraph, from + start, length, separators)) {
                accept(k, from, start, s);
            }
        }
    }
    if (found.capacity() > (std::size_t{1} << 20)) {
        found = {}; // not kept: a large paragraph's scratch would stay with the list
        s.starts = {};
    }
}

void KeywordList::match(std::string_view paragraph, Pos from, Pos to,
                        const std::bitset<256>& separators,
                        const std::vector<HighlightRun>& existing,
                        std::vector<HighlightRun>& out) const {
    from = std::max<Pos>(from, 0);
    to = std::min(to, static_cast<Pos>(paragraph.size()));
    if (records_.empty() || from >= to || updating_ > 0) {
        return;
    }
    buildGroups(separators);
    Scratch& s = scratch_;
    s.found.clear();
    s.upper.clear();
    s.work.clear();
    const bool closed = std::any_of(existing.begin(), existing.end(), [&](const HighlightRun& r) {
        return r.context != 0 && r.start < to && r.start + r.length > from;
    });
    const auto* bytes = reinterpret_cast<const unsigned char*>(paragraph.data());
    if (!closed && groups_.size() == 1 && groups_[0].tokens) {
        // The usual list: nothing is masked before the words are looked up, and a word found
        // masks nothing another word could match, so the paragraph is read as it stands and
        // the words come out in order.
        matchTokens(paragraph, from, to, groups_[0], bytes + from, s);
    } else {
        s.work.assign(
            paragraph.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from)));
        for (const HighlightRun& run : existing) {
            const Pos a = std::max(run.start, from);
            const Pos b = std::min(run.start + run.length, to);
            if (run.context != 0 && a < b) {
                std::fill_n(s.work.begin() + (a - from), b - a, kMask);
            }
        }
        if (needsUpper_) {
            s.upper = s.work;
            upperCase(s.upper);
        }
        for (const Group& g : groups_) {
            if (g.tokens) {
                // The words are looked up as they stand in the masked copy, so that masked
                // text fails.
                matchTokens(paragraph, from, to, g,
                            reinterpret_cast<const unsigned char*>(s.work.data()), s);
            } else {
                matchSearched(paragraph, from, g, separators, s);
            }
        }
        std::sort(s.found.begin(), s.found.end(),
                  [](const auto& a, const auto& b) { return a.second < b.second; });
    }
    for (const auto& [k, start] : s.found) {
        out.push_back(runOf(k, start));
    }
}

HighlightRun KeywordList::runOf(std::size_t k, Pos start) const {
    const KeywordRecord& r = records_[k];
    HighlightRun run;
    run.start = start;
    run.length = std::min(static_cast<Pos>(r.searchForm.size()), kMaxKeywordRun);
    run.color = r.foreground;
    run.background = r.background;
    run.style = r.style;
    run.cursor = r.cursor;
    run.context = r.context;
    return run;
}

bool KeywordList::matchAcrossBreaks(std::string_view text, const std::bitset<256>& separators,
                                    std::vector<HighlightRun>& out) const {
    if (records_.empty() || updating_ > 0) {
        return true; // nothing matches, as in match()
    }
    buildGroups(separators);
    if (groups_.size() != 1 || !groups_[0].tokens) {
        return false;
    }
    const Group& group = groups_[0];
    if (group.maxLength > kMaxKeywordRun) {
        return false; // a run would be cut short of its word, which the caller could not see
    }
    if (group.maxLength == 0 || text.empty()) {
        return true;
    }
    // The breaks split words as a paragraph's ends do, so every word lies inside one
    // paragraph and is whole there exactly when it is whole here.
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t count =
        candidateWords(breakSplitter_, bytes, static_cast<Pos>(text.size()), group, scratch_);
    for (std::size_t i = 0; i < count; ++i) {
        const WordSpan& w = scratch_.candidates[i];
        const std::size_t k =
            keywordOf(group, bytes + w.start, w.end - w.start, bytes + text.size());
        if (k < group.last) {
            out.push_back(runOf(k, w.start));
        }
    }
    return true;
}

std::string KeywordList::toText() const {
    std::string out;
    for (const KeywordRecord& r : records_) {
        out += r.keyword;
        out += '=';
        for (const long long v :
             {static_cast<long long>(r.options), static_cast<long long>(r.style),
              static_cast<long long>(r.context), static_cast<long long>(r.cursor),
              static_cast<long long>(static_cast<std::int32_t>(r.background)),
              static_cast<long long>(static_cast<std::int32_t>(r.foreground)), 0LL}) {
            out += std::to_string(v);
            out += ',';
        }
        out += "0\r\n";
    }
    return out;
}

void KeywordList::fromText(std::string_view text) {
    beginUpdate();
    records_.clear();
    while (!text.empty()) {
        std::size_t end = text.find_first_of("\r\n");
        std::string_view line = text.substr(0, end);
        if (end == std::string_view::npos) {
            text = {};
        } else {
            const std::size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
            text.remove_prefix(next);
        }
        const std::size_t eq = line.rfind('=');
        if (eq == std::string_view::npos) {
            continue;
        }
        std::array<long long, 6> v{};
        std::string_view rest = line.substr(eq + 1);
        for (long long& number : v) {
            const std::size_t comma = rest.find(',');
            const std::string_view field = rest.substr(0, comma);
            std::from_chars(field.data(), field.data() + field.size(), number);
            rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        }
        addKeyword(line.substr(0, eq), static_cast<std::uint8_t>(v[0]),
                   static_cast<ColorRef>(static_cast<std::int32_t>(v[5])),
                   static_cast<ColorRef>(static_cast<std::int32_t>(v[4])),
                   static_cast<std::int16_t>(v[3]), static_cast<std::int32_t>(v[2]),
                   static_cast<std::uint8_t>(v[1]));
    }
    endUpdate();
}

} // namespace tavrel
