// Breaking paragraphs into display lines and keeping them in step with the document.
#include "editor/wrapped_layout.h"

#include <algorithm>
#include <limits>

#include "editor/paragraph_window.h"

namespace tavrel {
namespace {

// What one paragraph counts for at least in a slice's work: the bookkeeping of a short
// paragraph costs about as much as breaking a hundred bytes.
constexpr std::int64_t kParagraphCost = 128;

[[nodiscard]] std::uint32_t saturate(std::int64_t width) noexcept {
    return static_cast<std::uint32_t>(
        std::min<std::int64_t>(width, std::numeric_limits<std::uint32_t>::max()));
}

} // namespace

WrappedLayout::WrappedLayout(Document& document, const GlyphMetrics& metrics)
    : doc_(document),
      metrics_(metrics.advances(), metrics.ascent(), metrics.descent(), metrics.internalLeading()) {
    widths_ = GlyphWidths::from(metrics_, tabStops_);
    rebuildProvisional();
}

void WrappedLayout::setGlyphMetrics(const GlyphMetrics& metrics) {
    metrics_ = TableGlyphMetrics(metrics.advances(), metrics.ascent(), metrics.descent(),
                                 metrics.internalLeading());
    widths_ = GlyphWidths::from(metrics_, tabStops_);
    rebuildProvisional();
}

void WrappedLayout::setTabStops(std::int32_t tabStops) {
    tabStops = std::max(tabStops, 1);
    if (tabStops == tabStops_) {
        return;
    }
    tabStops_ = tabStops;
    widths_ = GlyphWidths::from(metrics_, tabStops_);
    rebuildProvisional();
}

void WrappedLayout::setWrap(bool wordWrap, std::int64_t width) {
    width = wordWrap ? std::max<std::int64_t>(width, 1) : kUnlimitedWidth;
    if (wordWrap == wordWrap_ && width == width_) {
        return;
    }
    wordWrap_ = wordWrap;
    width_ = width;
    rebuildProvisional();
}

void WrappedLayout::setUpdateMode(UpdateMode mode) {
    mode_ = mode;
    if (mode_ == UpdateMode::Immediate) {
        formatAll();
    }
}

void WrappedLayout::documentReset() {
    rebuildProvisional();
}

// One provisional line per paragraph, starting where the paragraph starts; every paragraph
// pending. This is the whole cost of showing a freshly loaded document: one pass over the
// paragraph starts, no text read.
void WrappedLayout::rebuildProvisional() {
    const Pos n = doc_.paragraphCount();
    const Pos room = wordWrap_ ? n + wrappedLinesEstimate() : n;
    lines_.beginAppend(room);
    for (Pos p = 0; p < n; ++p) {
        lines_.append(doc_.paragraphStart(p));
    }
    lines_.finishAppend(doc_.charCount(), room > n ? 1 : 0);
    formatted_.clear();
    std::fill_n(formatted_.insertUninitialised(0, n), n, std::uint8_t{0});
    paraWidths_.clear();
    if (!wordWrap_) {
        std::fill_n(paraWidths_.insertUninitialised(0, n), n, 0u);
    }
    paraWidths_.shrinkToFit();
    widest_ = 0;
    widestStale_ = false;
    pendingFirst_ = 0;
    pendingLast_ = n - 1;
    if (mode_ == UpdateMode::Immediate) {
        formatAll();
    }
}

// Room for the lines that wrapping adds, reserved before the first slice: a line table
// that grows while slices run copies itself once per growth, a stall of tens of
// milliseconds on a large document. Lines hold at least width / widest glyph characters
// bar the ends of words; the estimate allows lines of half that. Reserved memory that is
// never written costs no physical memory, but the estimate is capped at half a byte of
// table per byte of text for very narrow windows, which grow the table as before.
Pos WrappedLayout::wrappedLinesEstimate() const noexcept {
    const Pos chars = doc_.charCount();
    const Pos fit = std::max<Pos>(1, width_ / std::max(metrics_.maxAdvance(), 1));
    return std::min(chars / std::max<Pos>(1, fit / 2), chars / 16) + 1024;
}

Pos WrappedLayout::knownFirstLineOf(Pos paragraph) const noexcept {
    paragraph = std::clamp<Pos>(paragraph, 0, doc_.paragraphCount() - 1);
    return lines_.partitionFromPosition(doc_.paragraphStart(paragraph));
}

Pos WrappedLayout::lineEndOf(Pos paragraph) const noexcept {
    return paragraph + 1 < doc_.paragraphCount() ? knownFirstLineOf(paragraph + 1)
                                                 : lines_.partitions();
}

Pos WrappedLayout::lineEndOf(Pos paragraph, Pos firstLine) const noexcept {
    // Walks forward from the paragraph's first line: most paragraphs have a line or two,
    // and a slice walking the document in order then never searches the line table.
    const Pos next = paragraph + 1 < doc_.paragraphCount() ? doc_.paragraphStart(paragraph + 1)
                                                           : kUnlimitedWidth;
    const Pos total = lines_.partitions();
    Pos line = firstLine + 1;
    for (int step = 0; step < 4 && line < total; ++step, ++line) {
        if (lines_.start(line) >= next) {
            return line;
        }
    }
    return line >= total ? total : lineEndOf(paragraph);
}

Pos WrappedLayout::knownParagraphOfLine(Pos line) const noexcept {
    line = std::clamp<Pos>(line, 0, lines_.partitions() - 1);
    return doc_.paragraphAt(lines_.start(line));
}

WrappedLayout::LineSpan WrappedLayout::knownLine(Pos line) const noexcept {
    line = std::clamp<Pos>(line, 0, lines_.partitions() - 1);
    LineSpan span;
    const Pos position = lines_.start(line);
    span.paragraph = doc_.paragraphAt(position);
    const Pos paraStart = doc_.paragraphStart(span.paragraph);
    const Pos length = doc_.paragraphLength(span.paragraph);
    span.start = position - paraStart;
    span.subLine = line - knownFirstLineOf(span.paragraph);
    // A later line of the same paragraph starts before its end; anything else does not.
    const Pos next = lines_.start(line + 1) - paraStart;
    span.lastOfParagraph = next >= length;
    span.stop = span.lastOfParagraph ? length : next;
    return span;
}

Pos WrappedLayout::knownLineStart(Pos line) const noexcept {
    return lines_.start(std::clamp<Pos>(line, 0, lines_.partitions() - 1));
}

Pos WrappedLayout::knownLineOfPosition(Pos position, bool atLineEnd) const noexcept {
    const Pos line = lines_.partitionFromPosition(position);
    if (atLineEnd && line > 0 && lines_.start(line) == position &&
        doc_.paragraphStart(doc_.paragraphAt(position)) != position) {
        return line - 1;
    }
    return line;
}

Pos WrappedLayout::lineCount() {
    formatAll();
    return lines_.partitions();
}

Pos WrappedLayout::firstLineOf(Pos paragraph) {
    formatThrough(paragraph);
    return knownFirstLineOf(paragraph);
}

Pos WrappedLayout::lineCountOf(Pos paragraph) {
    paragraph = std::clamp<Pos>(paragraph, 0, doc_.paragraphCount() - 1);
    ensureFormatted(paragraph);
    return lineEndOf(paragraph) - knownFirstLineOf(paragraph);
}

Pos WrappedLayout::lineStart(Pos paragraph, Pos subLine) {
    paragraph = std::clamp<Pos>(paragraph, 0, doc_.paragraphCount() - 1);
    ensureFormatted(paragraph);
    const Pos first = knownFirstLineOf(paragraph);
    const Pos line = first + std::clamp<Pos>(subLine, 0, lineEndOf(paragraph) - first - 1);
    return lines_.start(line) - doc_.paragraphStart(paragraph);
}

Pos WrappedLayout::paragraphOfLine(Pos line) {
    // Formatting the paragraphs before a line can push it into a later paragraph; repeat
    // until everything up to the answer is formatted.
    for (;;) {
        const Pos paragraph = knownParagraphOfLine(line);
        if (pendingFirst_ > paragraph || !hasPendingWork()) {
            return paragraph;
        }
        formatThrough(paragraph);
    }
}

std::int64_t WrappedLayout::paragraphWidth(Pos paragraph) const noexcept {
    // Measured across the document's gap rather than through it, which would move it.
    const Document::Halves text = doc_.paragraphHalves(paragraph);
    const std::int64_t first =
        xOfOffset(text.first, 0, static_cast<Pos>(text.first.size()), widths_);
    return penAfter(text.second, 0, static_cast<Pos>(text.second.size()), first, widths_);
}

std::int64_t WrappedLayout::widestLine() {
    if (widestStale_) {
        widest_ = 0;
        for (Pos p = 0; p < paraWidths_.size(); ++p) {
            widest_ = std::max<std::int64_t>(widest_, paraWidths_[p]);
        }
        widestStale_ = false;
    }
    return widest_;
}

void WrappedLayout::setWidth(Pos paragraph, std::int64_t width) {
    const std::uint32_t old = paraWidths_[paragraph];
    const std::uint32_t now = saturate(width);
    paraWidths_[paragraph] = now;
    if (now >= widest_) {
        widest_ = now;
    } else if (old >= widest_) {
        widestStale_ = true; // the widest line got narrower: find the new one when asked
    }
}

bool WrappedLayout::formatParagraph(Pos paragraph, Pos firstLine, std::int64_t budget,
                                    std::int64_t* broken) {
    if (!wordWrap_) {
        formatted_[paragraph] = 1;
        setWidth(paragraph, paragraphWidth(paragraph));
        return true;
    }
    // An unformatted paragraph's lines are final except its last one, which runs to the
    // paragraph's end: one line after a load or an edit, more when an earlier slice ran out
    // of work in it. Breaking goes on from that last line.
    const std::string_view text = doc_.paragraph(paragraph);
    const auto length = static_cast<Pos>(text.size());
    const Pos paraStart = doc_.paragraphStart(paragraph);
    const Pos lastLine = lineEndOf(paragraph, firstLine) - 1;
    const Pos from = lines_.start(lastLine) - paraStart;
    const Pos stopAt = budget < length - from ? from + budget : length;
    scratch_.clear();
    Pos s = from;
    while (s < stopAt) {
        const Pos e = nextLineStart(text, s, width_, widths_);
        if (e >= length) {
            s = length;
            break;
        }
        scratch_.push_back(paraStart + e);
        s = e;
    }
    if (!scratch_.empty()) {
        Pos* fresh = lines_.insertPartitions(lastLine + 1, static_cast<Pos>(scratch_.size()));
        std::copy(scratch_.begin(), scratch_.end(), fresh);
    }
    if (broken != nullptr) {
        *broken = s - from;
    }
    if (s < length) {
        return false;
    }
    formatted_[paragraph] = 1;
    return true;
}

void WrappedLayout::finishParagraph(Pos paragraph) {
    const Pos first = knownFirstLineOf(paragraph);
    while (!formatParagraph(paragraph, first, kUnlimitedWidth, nullptr)) {
    }
}

void WrappedLayout::ensureFormatted(Pos paragraph) {
    if (paragraph >= 0 && paragraph < doc_.paragraphCount() && formatted_[paragraph] == 0) {
        finishParagraph(paragraph);
    }
}

void WrappedLayout::formatThrough(Pos paragraph) {
    paragraph = std::min(paragraph, pendingLast_);
    for (Pos p = pendingFirst_; p <= paragraph; ++p) {
        if (formatted_[p] == 0) {
            finishParagraph(p);
        }
        pendingFirst_ = p + 1;
    }
}

void WrappedLayout::formatAll() {
    formatThrough(pendingLast_);
    pendingFirst_ = doc_.paragraphCount();
    pendingLast_ = -1;
}

bool WrappedLayout::formatSlice(std::chrono::steady_clock::duration budget) {
    const auto deadline = std::chrono::steady_clock::now() + budget;
    // Work is counted in bytes broken (a paragraph costs at least kParagraphCost), and the
    // clock is read after every workPerLook_ of it: a slice of short paragraphs does not
    // read the clock for each, and a huge paragraph is broken in pieces that each stay
    // well inside the budget.
    std::int64_t work = 0;
    Pos line = pendingFirst_ <= pendingLast_ ? knownFirstLineOf(pendingFirst_) : 0;
    while (pendingFirst_ <= pendingLast_) {
        const Pos p = pendingFirst_;
        bool done = true;
        if (formatted_[p] == 0) {
            std::int64_t broken = 0;
            done = formatParagraph(p, line, workPerLook_ - work, &broken);
            work += std::max(broken, kParagraphCost);
        } else {
            work += kParagraphCost;
        }
        if (done) {
            line = lineEndOf(p, line);
            ++pendingFirst_;
        }
        if (work >= workPerLook_) {
            work = 0;
            if (std::chrono::steady_clock::now() >= deadline) {
                break;
            }
        }
    }
    if (pendingFirst_ > pendingLast_) {
        pendingFirst_ = doc_.paragraphCount();
        pendingLast_ = -1;
        return false;
    }
    return true;
}

void WrappedLayout::widenPending(Pos first, Pos last) noexcept {
    if (pendingFirst_ > pendingLast_) {
        pendingFirst_ = first;
        pendingLast_ = last;
    } else {
        pendingFirst_ = std::min(pendingFirst_, first);
        pendingLast_ = std::max(pendingLast_, last);
    }
}

void WrappedLayout::textChanged(const TextChange& change) {
    const Pos f = change.firstParagraph;
    const Pos removedParas = change.removedBreaks;
    const Pos insertedParas = change.insertedBreaks;
    const Pos delta = change.inserted - change.removed;
    // The lines still hold the positions from before the change: find the old lines of the
    // replaced paragraphs with the old start of the paragraph that follows them.
    const Pos first = lines_.partitionFromPosition(doc_.paragraphStart(f));
    const Pos after = f + insertedParas + 1;
    const Pos end = after < doc_.paragraphCount()
                        ? lines_.partitionFromPosition(doc_.paragraphStart(after) - delta)
                        : lines_.partitions();

    if (removedParas == 0 && insertedParas == 0 && formatted_[f] != 0) {
        if (wordWrap_) {
            rebreakAfterEdit(change, first, end);
        } else {
            lines_.shiftAfter(first, delta);
            setWidth(f, paragraphWidth(f));
        }
        return;
    }

    // Room first: running out of memory then leaves the lines as they were, for the engine
    // to rebuild, instead of half changed.
    lines_.reserve(lines_.partitions() + insertedParas);
    formatted_.reserve(formatted_.size() + insertedParas);
    if (!wordWrap_) {
        paraWidths_.reserve(paraWidths_.size() + insertedParas);
    }
    lines_.removePartitions(first + 1, end - first - 1);
    lines_.shiftAfter(first, delta);
    Pos* fresh = lines_.insertPartitions(first + 1, insertedParas);
    for (Pos i = 0; i < insertedParas; ++i) {
        fresh[i] = doc_.paragraphStart(f + 1 + i);
    }

    formatted_.erase(f + 1, removedParas);
    std::fill_n(formatted_.insertUninitialised(f + 1, insertedParas), insertedParas,
                std::uint8_t{0});
    formatted_[f] = 0;
    if (!wordWrap_) {
        for (Pos p = f + 1; p <= f + removedParas; ++p) {
            widestStale_ = widestStale_ || paraWidths_[p] >= widest_;
        }
        widestStale_ = widestStale_ || paraWidths_[f] >= widest_;
        paraWidths_.erase(f + 1, removedParas);
        std::fill_n(paraWidths_.insertUninitialised(f + 1, insertedParas), insertedParas, 0u);
        paraWidths_[f] = 0;
    }

    // Keep the pending range on the same paragraphs, then add the new ones.
    const Pos shift = insertedParas - removedParas;
    if (pendingFirst_ <= pendingLast_) {
        if (pendingFirst_ > f + removedParas) {
            pendingFirst_ += shift;
        } else if (pendingFirst_ > f) {
            pendingFirst_ = f;
        }
        if (pendingLast_ > f + removedParas) {
            pendingLast_ += shift;
        } else if (pendingLast_ >= f) {
            pendingLast_ = f + insertedParas;
        }
    }
    widenPending(f, f + insertedParas);
    if (mode_ == UpdateMode::Immediate) {
        formatAll();
    }
}

void WrappedLayout::rebreakAfterEdit(const TextChange& change, Pos firstLine, Pos endLine) {
    const Pos paraStart = doc_.paragraphStart(change.firstParagraph);
    // Only the lines around the edit are read: the paragraph may be huge, and reading it
    // whole would close the document's gap at the caret on every keystroke.
    ParagraphWindow text(doc_, change.firstParagraph);
    const Pos length = text.length();
    const Pos editAt = change.position;
    const Pos removedEnd = change.position + change.removed;
    const Pos delta = change.inserted - change.removed;

    // Where a line ends depends on the text up to the end of the word after it. A line
    // that starts before the last blank ahead of the edit ends before the edit's word, so
    // it keeps its break; start with the line holding that blank.
    const Pos blank = text.lastBlankBefore(editAt - paraStart);
    Pos line = blank < 0 ? firstLine : lines_.partitionFromPosition(paraStart + blank);
    line = std::clamp(line, firstLine, endLine - 1);

    // Merge: old lines (positions from before the edit) against new breaks, until a new
    // break equals an old one beyond the edit; from there on nothing changes.
    scratch_.clear();
    Pos old = line + 1;
    Pos s = lines_.start(line) - paraStart;
    for (;;) {
        const Pos e = text.nextLineStart(s, width_, widths_);
        if (e >= length) {
            old = endLine;
            break;
        }
        const Pos at = paraStart + e;
        bool meets = false;
        while (old < endLine) {
            const Pos oldStart = lines_.start(old);
            const bool beyond = oldStart >= removedEnd;
            const Pos moved = beyond ? oldStart + delta : oldStart;
            if (beyond && moved == at) {
                meets = true;
                break;
            }
            if (beyond && moved > at) {
                break;
            }
            ++old; // a break the edit removed or moved
        }
        if (meets) {
            break;
        }
        scratch_.push_back(at);
        s = e;
    }
    lines_.removePartitions(line + 1, old - line - 1);
    lines_.shiftAfter(line, delta);
    Pos* fresh = lines_.insertPartitions(line + 1, static_cast<Pos>(scratch_.size()));
    std::copy(scratch_.begin(), scratch_.end(), fresh);
}

} // namespace tavrel
