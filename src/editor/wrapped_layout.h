// The display lines of a document as the editor widget, the image export and the printer
// see them: paragraphs broken at a width with one font's glyph advances. Display lines are
// kept as the document positions where they start (8 bytes a line), so an edit costs a
// lazy shift instead of a walk over every later line. Formatting is done in pieces:
// the visible paragraphs at once, the rest in time-boxed slices that the owner paces.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string_view>
#include <vector>

#include "editor/document.h"
#include "editor/gap_vector.h"
#include "editor/glyph_metrics.h"
#include "editor/line_breaker.h"
#include "editor/line_layout.h"
#include "editor/partitioning.h"
#include "editor/types.h"

namespace tavrel {

// When changed paragraphs are broken into lines: at once, when something needs them, or
// in slices driven by the owner's timer (which also formats whatever it needs first).
enum class UpdateMode : std::uint8_t { Immediate, OnNeed, Background };

class WrappedLayout final : public LineLayout {
public:
    // Starts with one line per paragraph of `document`, everything pending.
    WrappedLayout(Document& document, const GlyphMetrics& metrics);
    WrappedLayout(const WrappedLayout&) = delete; // widths_ points into metrics_
    WrappedLayout& operator=(const WrappedLayout&) = delete;

    // --- Settings; each change marks every paragraph for formatting ----------------------
    // Measures with another font or device from now on.
    void setGlyphMetrics(const GlyphMetrics& metrics);
    void setTabStops(std::int32_t tabStops);
    // wordWrap off lays out one line per paragraph; width is the wrap width in pixels
    // (see wrapWidth()).
    void setWrap(bool wordWrap, std::int64_t width);
    void setUpdateMode(UpdateMode mode);
    [[nodiscard]] UpdateMode updateMode() const noexcept { return mode_; }
    [[nodiscard]] std::int64_t width() const noexcept { return width_; }
    [[nodiscard]] const GlyphMetrics& metrics() const noexcept { return metrics_; }
    [[nodiscard]] const GlyphWidths& widths() const noexcept { return widths_; }

    // --- LineLayout: exact answers, formatting what they depend on first --------------------
    [[nodiscard]] bool wordWrap() const override { return wordWrap_; }
    [[nodiscard]] Pos lineCount() override;
    [[nodiscard]] Pos firstLineOf(Pos paragraph) override;
    [[nodiscard]] Pos lineCountOf(Pos paragraph) override;
    [[nodiscard]] Pos lineStart(Pos paragraph, Pos subLine) override;
    [[nodiscard]] Pos paragraphOfLine(Pos line) override;
    void textChanged(const TextChange& change) override;
    void documentReset() override;

    // --- What is known now, without formatting (unformatted paragraphs count one line) ---
    [[nodiscard]] Pos knownLineCount() const noexcept { return lines_.partitions(); }
    [[nodiscard]] Pos knownFirstLineOf(Pos paragraph) const noexcept;
    [[nodiscard]] Pos knownParagraphOfLine(Pos line) const noexcept;
    // Offsets [start, stop) of a display line inside its paragraph, as known now.
    struct LineSpan {
        Pos paragraph = 0;
        Pos subLine = 0;
        Pos start = 0;
        Pos stop = 0;
        bool lastOfParagraph = true;
    };
    [[nodiscard]] LineSpan knownLine(Pos line) const noexcept;
    // Document position where a display line starts.
    [[nodiscard]] Pos knownLineStart(Pos line) const noexcept;
    // The display line showing a document position. A position where a wrapped line
    // ends is also where the next one starts; `atLineEnd` picks the earlier line then
    // (a caret put there by End or by a click right of the line's text).
    [[nodiscard]] Pos knownLineOfPosition(Pos position, bool atLineEnd = false) const noexcept;
    // Widest display line in pixels among the formatted paragraphs (word wrap off).
    [[nodiscard]] std::int64_t widestLine();
    // Pixel width of a paragraph's text from its start, as one line.
    [[nodiscard]] std::int64_t paragraphWidth(Pos paragraph) const noexcept;
    [[nodiscard]] bool isFormatted(Pos paragraph) const noexcept {
        return formatted_[paragraph] != 0;
    }

    // --- Doing the work -----------------------------------------------------------------
    [[nodiscard]] bool hasPendingWork() const noexcept { return pendingFirst_ <= pendingLast_; }
    // Formats pending paragraphs from the first on until none is left or `budget` has
    // passed, cutting a long paragraph into pieces; returns whether work remains.
    bool formatSlice(std::chrono::steady_clock::duration budget);
    void formatAll();
    // Bytes a slice breaks between looks at the clock (at least 1). The default is a few
    // hundred microseconds of work on a slow machine; tests make it small to cut short
    // paragraphs into pieces.
    void setWorkPerLook(std::int64_t bytes) noexcept {
        workPerLook_ = std::max<std::int64_t>(bytes, 1);
    }
    // This one paragraph (what painting needs).
    void ensureFormatted(Pos paragraph);
    // Every pending paragraph up to and including this one (what exact line numbers need).
    void formatThrough(Pos paragraph);

private:
    void rebuildProvisional();
    [[nodiscard]] Pos wrappedLinesEstimate() const noexcept;
    // Breaks about `budget` more bytes of an unformatted paragraph whose first display line
    // is firstLine (`broken` gets how many); returns whether it is now formatted to its end.
    bool formatParagraph(Pos paragraph, Pos firstLine, std::int64_t budget, std::int64_t* broken);
    void finishParagraph(Pos paragraph);
    // Re-breaks a formatted paragraph after an edit inside it, from the first line the
    // edit can affect until the new breaks meet the old ones again.
    void rebreakAfterEdit(const TextChange& change, Pos firstLine, Pos endLine);
    void setWidth(Pos paragraph, std::int64_t width);
    void widenPending(Pos first, Pos last) noexcept;
    [[nodiscard]] Pos lineEndOf(Pos paragraph) const noexcept;
    [[nodiscard]] Pos lineEndOf(Pos paragraph, Pos firstLine) const noexcept;

    Document& doc_;
    TableGlyphMetrics metrics_;
    GlyphWidths widths_;
    std::int32_t tabStops_ = 8;
    bool wordWrap_ = true;
    std::int64_t width_ = kUnlimitedWidth;
    UpdateMode mode_ = UpdateMode::Background;

    Partitioning lines_;                // display line -> document position of its start
    GapVector<std::uint8_t> formatted_; // per paragraph: its lines are up to date
    // Per paragraph pixel width while word wrap is off (saturated at 32 bits; empty with
    // word wrap on, which never needs it).
    GapVector<std::uint32_t> paraWidths_;
    std::int64_t widest_ = 0;
    bool widestStale_ = false;
    Pos pendingFirst_ = 0; // none pending: first > last
    Pos pendingLast_ = -1;
    std::int64_t workPerLook_ = 256 * 1024;
    std::vector<Pos> scratch_;
};

} // namespace tavrel
