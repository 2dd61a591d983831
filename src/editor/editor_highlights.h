// The highlighting of one editor: its keyword list, the address highlighter attached to it,
// and the runs of every paragraph scanned so far. Paragraphs are scanned when first painted,
// a block of neighbours with them (so opening a large file scans only around what is shown,
// and painting page after page scans at the speed of a block scan), and re-scanned around
// each edit, one keyword or address length either side, so a keystroke never re-scans a
// whole paragraph.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "editor/highlight_runs.h"
#include "editor/keyword_list.h"
#include "editor/text_engine.h"
#include "editor/url_highlighter.h"

namespace tavrel {

// The runs of consecutive paragraphs scanned together, in order.
struct ScannedParagraphs {
    Pos first = 0;                  // the first paragraph scanned
    std::vector<HighlightRun> runs; // those of every paragraph, one paragraph after another
    std::vector<std::size_t> ends;  // the runs of paragraph first + i end at runs[ends[i]]

    [[nodiscard]] Pos count() const noexcept { return static_cast<Pos>(ends.size()); }
    // The runs of a paragraph in [first, first + count()), starts in the paragraph.
    [[nodiscard]] std::span<const HighlightRun> of(Pos paragraph) const {
        const auto i = static_cast<std::size_t>(paragraph - first);
        const std::size_t begin = i == 0 ? 0 : ends[i - 1];
        return {runs.data() + begin, ends[i] - begin};
    }
};

class EditorHighlights final : public HighlightSource,
                               private TextObserver,
                               private UrlHighlighter::Listener {
public:
    explicit EditorHighlights(TextEngine& engine);
    ~EditorHighlights() override;
    EditorHighlights(const EditorHighlights&) = delete; // registered with the engine
    EditorHighlights& operator=(const EditorHighlights&) = delete;

    // The list's changes take effect with reapplyKeywords().
    [[nodiscard]] KeywordList& keywords() noexcept { return keywords_; }
    void setApplyKeywords(bool on);
    // Null detaches: no address is then found, styled or launched.
    void setAddressHighlighter(UrlHighlighter* highlighter);
    [[nodiscard]] UrlHighlighter* addressHighlighter() const noexcept { return urls_; }

    // Forgets every run and scans again what is shown next.
    void reapplyKeywords();
    // Called whenever the runs changed other than by an edit (the view repaints).
    std::function<void()> onRepaint;

    // HighlightSource
    void runsOf(Pos paragraph, std::string_view text, std::vector<HighlightRun>& out) override;
    HighlightRun runAt(Pos paragraph, std::string_view text, Pos offset) override;
    void mouseNote(MouseNote note, Pos position) override;
    [[nodiscard]] bool isAddress(const HighlightRun& run) const override;
    [[nodiscard]] bool readsText() const noexcept override { return false; }

    // The runs of a paragraph, scanning it first when needed, together with the uncached
    // unedited paragraphs around it (a block's worth). Valid until the next edit, reapply
    // or load.
    [[nodiscard]] std::span<const HighlightRun> paragraphRuns(Pos paragraph);
    // The runs kept for a paragraph, or false when it is not scanned yet; scans nothing.
    [[nodiscard]] bool keptRuns(Pos paragraph, std::span<const HighlightRun>& runs) const;
    // All runs of a paragraph scanned from scratch, for comparison with the kept ones.
    [[nodiscard]] std::vector<HighlightRun> scanParagraph(std::string_view text) const;
    // The runs of the document's paragraphs [first, last) (clamped) scanned from scratch, each
    // paragraph's the same as scanParagraph gives. Unedited paragraphs that lie one after
    // another in memory are scanned a block at a time, which spares the set-up of a scan per
    // paragraph: the way to scan many paragraphs (a whole document) quickly.
    void scanParagraphs(Pos first, Pos last, ScannedParagraphs& out) const;

private:
    // TextObserver
    void textChanged(const TextChange& change) override;
    void documentLoaded() override;
    // UrlHighlighter::Listener
    void highlighterChanged() override;
    void highlighterGone() override;

    // Bytes [origin, origin + bytes.size()) of a paragraph `length` bytes long.
    struct TextWindow {
        std::string_view bytes;
        Pos origin = 0;
        Pos length = 0;
    };
    // Rebuilds the runs around the changed offsets [from, to) of a paragraph, reading only
    // the window; false, with the runs untouched, when the scan came too near the window's
    // edge to be sure of them (never for the whole paragraph).
    bool rescan(TextWindow text, std::vector<HighlightRun>& runs, Pos from, Pos to) const;
    // Scans paragraphs p .. q, which follow one another in memory, in one pass, appending to
    // `out`; false (nothing appended) when the keyword list needs a scan per paragraph.
    bool scanTogether(Pos p, Pos q, ScannedParagraphs& out) const;
    // Scans and keeps the uncached paragraphs around p (which is uncached), a block at most.
    void fillAround(Pos p);
    // Moves the kept runs of the paragraphs from p on by `shift`, forgetting those of
    // p .. lastTouched, after breaks were inserted or removed there.
    void moveKept(Pos p, Pos lastTouched, Pos shift);
    void forgetAll();

    TextEngine& engine_;
    KeywordList keywords_;
    bool applyKeywords_ = true;
    UrlHighlighter* urls_ = nullptr;
    // The runs kept: blocks of paragraphs scanned together, keyed by their first paragraph
    // and not overlapping, and paragraphs kept on their own (edited since their block was
    // scanned, or left over when a block was cut by a new or removed break), which stand
    // before the block's copy.
    std::map<Pos, ScannedParagraphs> blocks_;
    std::unordered_map<Pos, std::vector<HighlightRun>> single_;
    mutable const ScannedParagraphs* recent_ = nullptr; // the block last looked in, if any
    std::size_t runsPerKilobyte_ = 16;                  // in the last block scanned
    mutable std::vector<HighlightRun> fresh_;           // scratch of rescan(), kept between calls
    mutable std::vector<HighlightRun> words_;
    mutable std::vector<HighlightRun> merged_;
};

} // namespace tavrel
