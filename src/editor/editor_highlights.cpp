// Keeping an editor's runs in step with its text. Every scan, whole or partial, finds the
// addresses first and then the keywords with the addresses closed to them; a partial scan
// widens its window until no run crosses its edges, so that what an edit leaves on screen
// is what scanning the paragraph afresh would give.
#include "editor/editor_highlights.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace tavrel {

namespace {

// Big enough that the set-up of a block is nothing beside its scan, small enough that the
// block and the scratch of its scan stay in the processor's cache, and that a paragraph
// asked for first (the top of the screen) costs no more than a screenful or so.
constexpr Pos kBlockBytes = 32 * 1024;
// How far before a paragraph asked for the block reaches: scrolling up asks for the
// paragraphs above the screen one by one.
constexpr Pos kBlockBytesBefore = kBlockBytes / 4;
// How much of a long paragraph either side of an edit is read to scan around it: far more
// than any keyword or address prefix, so only an address longer than this needs the rest.
constexpr Pos kEditWindow = 16 * 1024;

[[nodiscard]] Pos endOf(const HighlightRun& r) noexcept {
    return r.start + r.length;
}

// The runs that touch [a, b] (ending at a or starting at b counts), and [a, b] widened over
// them.
std::pair<std::vector<HighlightRun>::iterator, std::vector<HighlightRun>::iterator>
widenOverTouching(std::vector<HighlightRun>& runs, Pos& a, Pos& b) {
    const auto first = std::lower_bound(runs.begin(), runs.end(), a,
                                        [](const HighlightRun& r, Pos p) { return endOf(r) < p; });
    auto last = first;
    while (last != runs.end() && last->start <= b) {
        ++last;
    }
    if (first != last) {
        a = std::min(a, first->start);
        b = std::max(b, endOf(*std::prev(last)));
    }
    return {first, last};
}

// Removes the runs that touch [a, b] and widens [a, b] over them.
void removeTouching(std::vector<HighlightRun>& runs, Pos& a, Pos& b) {
    const auto [first, last] = widenOverTouching(runs, a, b);
    runs.erase(first, last);
}

} // namespace

EditorHighlights::EditorHighlights(TextEngine& engine) : engine_(engine) {
    engine_.addObserver(this);
}

EditorHighlights::~EditorHighlights() {
    engine_.removeObserver(this);
    if (urls_ != nullptr) {
        urls_->removeListener(this);
    }
}

void EditorHighlights::setApplyKeywords(bool on) {
    applyKeywords_ = on;
    reapplyKeywords();
}

void EditorHighlights::setAddressHighlighter(UrlHighlighter* highlighter) {
    if (urls_ == highlighter) {
        return;
    }
    if (urls_ != nullptr) {
        urls_->removeListener(this);
    }
    urls_ = highlighter;
    if (urls_ != nullptr) {
        urls_->addListener(this);
    }
    reapplyKeywords();
}

void EditorHighlights::forgetAll() {
    recent_ = nullptr;
    blocks_.clear();
    single_.clear();
}

void EditorHighlights::reapplyKeywords() {
    forgetAll();
    if (onRepaint) {
        onRepaint();
    }
}

void EditorHighlights::highlighterChanged() {
    reapplyKeywords();
}

void EditorHighlights::highlighterGone() {
    urls_ = nullptr;
    reapplyKeywords();
}

bool EditorHighlights::rescan(TextWindow text, std::vector<HighlightRun>& runs, Pos from,
                              Pos to) const {
    const Pos n = text.length;
    const Pos origin = text.origin;
    const Pos windowEnd = origin + static_cast<Pos>(text.bytes.size());
    const Pos reach = std::max(kLongestUrlLiteral, keywords_.longestLength()) + 1;
    // The scanners look a character or so beyond what they are given; a window that the scan
    // comes near, other than at the paragraph's own ends, may hide what decides a run.
    const auto inside = [&](Pos lo, Pos hi) {
        return (origin == 0 || lo > origin + reach) && (windowEnd == n || hi < windowEnd - reach);
    };
    const auto at = [&](Pos i) { return text.bytes[static_cast<std::size_t>(i - origin)]; };
    Pos a = std::max<Pos>(0, from - reach);
    Pos b = std::min(n, to + reach);
    // An address just before the window, with only "," "." ";" between, may now go on.
    Pos probe = a;
    while (probe > origin &&
           (at(probe - 1) == ',' || at(probe - 1) == '.' || at(probe - 1) == ';')) {
        --probe;
    }
    if (!inside(probe, b)) {
        return false;
    }
    // Runs are taken out only once the scan is known to fit the window, so that a scan given
    // up leaves them as they were: until then each range to take out is noted and the
    // window widened over the runs that touch it, as taking them out would.
    std::vector<std::pair<Pos, Pos>> taken;
    const auto touching = [&runs, &taken](Pos& lo, Pos& hi) {
        taken.emplace_back(lo, hi);
        widenOverTouching(runs, lo, hi);
    };
    touching(probe, b);
    a = std::min(a, probe);

    std::vector<HighlightRun>& fresh = fresh_;
    fresh.clear();
    if (urls_ != nullptr) {
        // Addresses are found as in an empty paragraph; one that reaches beyond the window
        // takes the runs it covers and the window grows until nothing crosses its edges.
        Pos scanFrom = a;
        for (;;) {
            if (!inside(a, b)) {
                return false;
            }
            const std::size_t before = fresh.size();
            urls_->scan(text.bytes, scanFrom - origin, b - origin, nullptr, fresh);
            if (fresh.size() == before) {
                break;
            }
            Pos lo = fresh[before].start + origin;
            Pos hi = endOf(fresh.back()) + origin;
            if (lo < a) {
                Pos top = a;
                touching(lo, top);
                a = lo;
            }
            if (hi <= b) {
                break;
            }
            Pos bottom = b;
            touching(bottom, hi);
            scanFrom = endOf(fresh.back()) + origin;
            b = hi;
        }
    }
    if (!inside(a, b)) {
        return false;
    }
    std::vector<HighlightRun>& words = words_;
    words.clear();
    if (applyKeywords_ && !keywords_.empty()) {
        keywords_.match(text.bytes, a - origin, b - origin, engine_.separatorSet(), fresh, words);
    }
    for (HighlightRun& r : fresh) {
        r.start += origin;
    }
    for (HighlightRun& r : words) {
        r.start += origin;
    }
    for (auto [lo, hi] : taken) {
        removeTouching(runs, lo, hi);
    }
    const auto into = std::lower_bound(runs.begin(), runs.end(), a,
                                       [](const HighlightRun& r, Pos p) { return r.start < p; });
    if (words.empty() || fresh.empty()) {
        const std::vector<HighlightRun>& only = words.empty() ? fresh : words;
        runs.insert(into, only.begin(), only.end());
        return true;
    }
    // Merged in kept scratch: merging in place would take a buffer from the heap for every
    // paragraph that holds both an address and a keyword.
    std::vector<HighlightRun>& merged = merged_;
    merged.clear();
    std::merge(fresh.begin(), fresh.end(), words.begin(), words.end(), std::back_inserter(merged),
               [](const HighlightRun& x, const HighlightRun& y) { return x.start < y.start; });
    runs.insert(into, merged.begin(), merged.end());
    return true;
}

std::vector<HighlightRun> EditorHighlights::scanParagraph(std::string_view text) const {
    std::vector<HighlightRun> runs;
    rescan(TextWindow{text, 0, static_cast<Pos>(text.size())}, runs, 0,
           static_cast<Pos>(text.size()));
    return runs;
}

void EditorHighlights::scanParagraphs(Pos first, Pos last, ScannedParagraphs& out) const {
    Document& doc = engine_.document();
    first = std::max<Pos>(first, 0);
    last = std::min(last, doc.paragraphCount());
    out.first = first;
    out.runs.clear();
    out.ends.clear();
    // An address of context 0 is not closed to keywords, which may then overlap it: only the
    // scan per paragraph merges those as they have always been merged.
    const bool together = urls_ == nullptr || urls_->rowOfContext(0) < 0;
    for (Pos p = first; p < last;) {
        const Pos q = together ? std::min(doc.runEnd(p, kBlockBytes), last - 1) : p;
        if (!together || !scanTogether(p, q, out)) {
            for (Pos k = p; k <= q; ++k) {
                const std::vector<HighlightRun> runs = scanParagraph(doc.paragraph(k));
                out.runs.insert(out.runs.end(), runs.begin(), runs.end());
                out.ends.push_back(out.runs.size());
            }
        }
        p = q + 1;
    }
}

bool EditorHighlights::scanTogether(Pos p, Pos q, ScannedParagraphs& out) const {
    Document& doc = engine_.document();
    const char* begin = doc.paragraph(p).data();
    const std::string_view lastText = doc.paragraph(q);
    const std::string_view text(
        begin, static_cast<std::size_t>(lastText.data() + lastText.size() - begin));
    std::vector<HighlightRun>& addresses = fresh_;
    std::vector<HighlightRun>& words = words_;
    addresses.clear();
    words.clear();
    if (applyKeywords_ && !keywords_.empty() &&
        !keywords_.matchAcrossBreaks(text, engine_.separatorSet(), words)) {
        return false;
    }
    if (urls_ != nullptr) {
        urls_->scanAcrossBreaks(text, addresses);
    }
    // Both lists are in order and no run crosses a break: each paragraph takes its runs
    // from their fronts, merged by start, dropping the words that overlap an address (the
    // addresses are closed to keywords).
    std::size_t a = 0;
    std::size_t w = 0;
    Pos addressEnd = 0; // the end of the last address taken
    for (Pos k = p; k <= q; ++k) {
        const std::string_view para = doc.paragraph(k);
        const Pos offset = para.data() - begin;
        const Pos end = offset + static_cast<Pos>(para.size());
        for (;;) {
            const bool address = a < addresses.size() && addresses[a].start < end;
            const bool word = w < words.size() && words[w].start < end;
            if (!address && !word) {
                break;
            }
            HighlightRun run;
            if (address && (!word || addresses[a].start <= words[w].start)) {
                run = addresses[a++];
                addressEnd = endOf(run);
            } else {
                run = words[w++];
                if (run.start < addressEnd ||
                    (a < addresses.size() && addresses[a].start < endOf(run))) {
                    continue;
                }
            }
            run.start -= offset;
            out.runs.push_back(run);
        }
        out.ends.push_back(out.runs.size());
    }
    return true;
}

bool EditorHighlights::keptRuns(Pos paragraph, std::span<const HighlightRun>& runs) const {
    if (!single_.empty()) {
        if (const auto it = single_.find(paragraph); it != single_.end()) {
            runs = it->second;
            return true;
        }
    }
    // Painting asks for paragraph after paragraph of one block: that one is tried first.
    const auto within = [paragraph](const ScannedParagraphs& block) {
        return paragraph >= block.first && paragraph < block.first + block.count();
    };
    if (recent_ == nullptr || !within(*recent_)) {
        auto block = blocks_.upper_bound(paragraph);
        if (block == blocks_.begin() || !within(std::prev(block)->second)) {
            return false;
        }
        recent_ = &std::prev(block)->second;
    }
    runs = recent_->of(paragraph);
    return true;
}

void EditorHighlights::fillAround(Pos p) {
    Document& doc = engine_.document();
    Pos lo = 0;
    Pos hi = doc.paragraphCount() - 1;
    const auto next = blocks_.upper_bound(p);
    if (next != blocks_.end()) {
        hi = std::min(hi, next->first - 1);
    }
    if (next != blocks_.begin()) {
        const auto& [first, before] = *std::prev(next);
        lo = std::max(lo, first + before.count());
    }
    // Forward a block's worth of paragraphs that follow one another in memory, but not into
    // a long paragraph that would make the block far bigger than a block.
    const char* const start = doc.paragraph(p).data();
    Pos last = std::min(doc.runEnd(p, kBlockBytes), hi);
    if (last > p) {
        const std::string_view text = doc.paragraph(last);
        if (text.data() + text.size() - start > 2 * kBlockBytes) {
            --last;
        }
    }
    Pos first = p;
    for (Pos bytes = 0; first > lo && doc.continuesInMemory(first - 1);) {
        bytes += doc.paragraphLength(first - 1) + 2;
        if (bytes > kBlockBytesBefore) {
            break;
        }
        --first;
    }
    if (!single_.empty()) {
        for (Pos k = p + 1; k <= last; ++k) {
            if (single_.contains(k)) {
                last = k - 1;
                break;
            }
        }
        for (Pos k = p - 1; k >= first; --k) {
            if (single_.contains(k)) {
                first = k + 1;
                break;
            }
        }
    }
    ScannedParagraphs& block = blocks_[first];
    // Room for as many runs per byte as the block before had, so that a block is rarely
    // copied as it grows.
    const std::string_view lastText = doc.paragraph(last);
    const auto bytes = static_cast<std::size_t>(
        std::max<Pos>(0, lastText.data() + lastText.size() - doc.paragraph(first).data()));
    block.ends.reserve(static_cast<std::size_t>(last + 1 - first));
    block.runs.reserve(bytes * runsPerKilobyte_ / 1024 + 16);
    scanParagraphs(first, last + 1, block);
    if (bytes >= 1024) {
        runsPerKilobyte_ = block.runs.size() * 1024 / bytes + 1;
    }
    recent_ = &block;
}

std::span<const HighlightRun> EditorHighlights::paragraphRuns(Pos paragraph) {
    if (urls_ == nullptr && (!applyKeywords_ || keywords_.empty())) {
        return {}; // nothing attached: nothing scanned or kept
    }
    std::span<const HighlightRun> runs;
    if (keptRuns(paragraph, runs) || paragraph < 0 ||
        paragraph >= engine_.document().paragraphCount()) {
        return runs;
    }
    fillAround(paragraph);
    static_cast<void>(keptRuns(paragraph, runs));
    return runs;
}

void EditorHighlights::runsOf(Pos paragraph, std::string_view, std::vector<HighlightRun>& out) {
    const std::span<const HighlightRun> runs = paragraphRuns(paragraph);
    out.insert(out.end(), runs.begin(), runs.end());
}

bool EditorHighlights::isAddress(const HighlightRun& run) const {
    // Keywords carry contexts too; only the address highlighter's own numbers are addresses.
    return run.length != 0 && urls_ != nullptr && urls_->rowOfContext(run.context) >= 0;
}

HighlightRun EditorHighlights::runAt(Pos paragraph, std::string_view, Pos offset) {
    const std::span<const HighlightRun> runs = paragraphRuns(paragraph);
    const auto it = std::upper_bound(runs.begin(), runs.end(), offset,
                                     [](Pos p, const HighlightRun& r) { return p < r.start; });
    if (it != runs.begin() && offset < endOf(*std::prev(it))) {
        return *std::prev(it);
    }
    return {};
}

void EditorHighlights::mouseNote(MouseNote note, Pos position) {
    if (urls_ == nullptr) {
        return;
    }
    switch (note) {
    case MouseNote::DoubleClick:
        urls_->doubleClicked();
        return;
    case MouseNote::LeftButtonUp:
        urls_->leftButtonUp();
        return;
    case MouseNote::OtherInput:
        urls_->otherInput();
        return;
    case MouseNote::Click:
        break;
    }
    Document& doc = engine_.document();
    const Pos p = doc.paragraphAt(position);
    const Pos offset = position - doc.paragraphStart(p);
    const HighlightRun run = runAt(p, {}, offset);
    if (run.context == 0) {
        return;
    }
    const std::string_view text = doc.paragraph(p);
    const auto start = static_cast<std::size_t>(std::min<Pos>(run.start, text.size()));
    urls_->click(run.context, text.substr(start, static_cast<std::size_t>(run.length)));
}

void EditorHighlights::moveKept(Pos p, Pos lastTouched, Pos shift) {
    std::unordered_map<Pos, std::vector<HighlightRun>> single;
    for (auto& [index, runs] : single_) {
        if (index < p) {
            single.emplace(index, std::move(runs));
        } else if (index > lastTouched) {
            single.emplace(index + shift, std::move(runs));
        }
    }
    single_ = std::move(single);
    // Blocks keep their order: those before p stay, those after the touched paragraphs all
    // move alike, and one the change cut into is split around the touched paragraphs.
    std::map<Pos, ScannedParagraphs> blocks;
    for (auto& [first, block] : blocks_) {
        const Pos end = first + block.count();
        if (first > lastTouched) {
            block.first = first + shift;
            blocks.emplace_hint(blocks.end(), block.first, std::move(block));
            continue;
        }
        if (end > lastTouched + 1) {
            const auto from = static_cast<std::size_t>(lastTouched + 1 - first);
            const std::size_t base = block.ends[from - 1];
            ScannedParagraphs after;
            after.first = lastTouched + 1 + shift;
            after.runs.assign(block.runs.begin() + static_cast<std::ptrdiff_t>(base),
                              block.runs.end());
            for (std::size_t i = from; i < block.ends.size(); ++i) {
                after.ends.push_back(block.ends[i] - base);
            }
            blocks.emplace(after.first, std::move(after));
        }
        if (first < p) {
            block.ends.resize(static_cast<std::size_t>(std::min(end, p) - first));
            block.runs.resize(block.ends.back());
            blocks.emplace(first, std::move(block));
        }
    }
    blocks_ = std::move(blocks);
    recent_ = nullptr;
}

void EditorHighlights::textChanged(const TextChange& change) {
    if (blocks_.empty() && single_.empty()) {
        return;
    }
    Document& doc = engine_.document();
    const Pos p = change.firstParagraph;
    if (change.removedBreaks != 0 || change.insertedBreaks != 0) {
        // Paragraphs were split or joined: the ones touched are scanned again when shown,
        // the ones after move to their new numbers.
        moveKept(p, p + change.removedBreaks, change.insertedBreaks - change.removedBreaks);
        return;
    }
    auto it = single_.find(p);
    if (it == single_.end()) {
        // The paragraph leaves its block: its runs change in place from now on. A block of
        // this paragraph alone (a long one gets its own) hands its runs over: a paragraph of
        // addresses may hold hundreds of thousands, too many to copy within a keystroke.
        std::vector<HighlightRun> own;
        auto block = blocks_.upper_bound(p);
        if (block != blocks_.begin() && std::prev(block)->second.first == p &&
            std::prev(block)->second.count() == 1) {
            --block;
            own = std::move(block->second.runs);
            if (recent_ == &block->second) {
                recent_ = nullptr;
            }
            blocks_.erase(block);
        } else {
            std::span<const HighlightRun> kept;
            if (!keptRuns(p, kept)) {
                return;
            }
            own.assign(kept.begin(), kept.end());
        }
        it = single_.emplace(p, std::move(own)).first;
    }
    std::vector<HighlightRun>& runs = it->second;
    const Pos o = change.position - doc.paragraphStart(p);
    const Pos removedEnd = o + change.removed;
    const Pos delta = change.inserted - change.removed;
    Pos from = o;
    Pos to = o + change.inserted;
    // Runs after the change move with the text; runs the change cut into are rebuilt. In
    // place: a paragraph of addresses may hold hundreds of thousands of runs.
    const auto first = std::lower_bound(
        runs.begin(), runs.end(), o, [](const HighlightRun& r, Pos at) { return endOf(r) <= at; });
    auto last = first;
    for (; last != runs.end() && last->start < removedEnd; ++last) {
        from = std::min(from, last->start);
        if (endOf(*last) > removedEnd) {
            to = std::max(to, endOf(*last) + delta);
        }
    }
    for (auto moved = last; moved != runs.end(); ++moved) {
        moved->start += delta;
    }
    runs.erase(first, last);
    // A long paragraph is read only around the change, so that typing in it leaves the
    // document's gap where it is; the whole paragraph only when a run reaches that far.
    const Pos length = doc.paragraphLength(p);
    if (length > 4 * kEditWindow) {
        const Pos windowStart = std::max<Pos>(0, from - kEditWindow);
        const Pos windowEnd = std::min(length, to + kEditWindow);
        if (rescan(TextWindow{doc.paragraphPart(p, windowStart, windowEnd), windowStart, length},
                   runs, from, to)) {
            return;
        }
    }
    rescan(TextWindow{doc.paragraph(p), 0, length}, runs, from, to);
}

void EditorHighlights::documentLoaded() {
    forgetAll();
}

} // namespace tavrel
