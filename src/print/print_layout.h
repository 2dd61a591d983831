// The text laid out for a printer: a formatting copy of the document broken into lines at
// the width of a paper column with the printer's own glyph widths, forced breaks at form
// feeds, lines per column, blank slots that start a new column, and the page count. The
// printer and the preview both read their pages from here.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/document.h"
#include "editor/types.h"
#include "editor/wrapped_layout.h"
#include "print/print_device.h"
#include "print/print_settings.h"

namespace tavrel {

class PrintLayout {
public:
    explicit PrintLayout(const PrintDevice& device);
    PrintLayout(const PrintLayout&) = delete; // the line layout points into the copy
    PrintLayout& operator=(const PrintLayout&) = delete;
    ~PrintLayout();

    // The text to print (CR LF, LF or CR breaks); discards the formatting copy.
    void setText(std::string bytes);
    // Changes the settings, discarding only what they affect: horizontal measures re-break
    // the lines, vertical ones only re-paginate.
    void setSettings(const PrintSettings& settings);
    [[nodiscard]] const PrintSettings& settings() const noexcept { return settings_; }
    // Called at every layout, before the printer is measured (the program remembers the
    // printer in use there).
    void setOnFormat(std::function<void()> onFormat) { onFormat_ = std::move(onFormat); }
    // Forget everything measured, e.g. after the printer or its font changed.
    void invalidate() noexcept {
        broken_ = false;
        paginated_ = false;
    }

    // Brings the layout up to date; cheap when nothing changed.
    void layout();

    // --- Results (each lays out first) ----------------------------------------------------
    [[nodiscard]] Pos pageCount();
    [[nodiscard]] Pos linesPerColumn();
    [[nodiscard]] Pos displayLineCount();
    // The display line a slot shows, or -1 among inserted blank lines and past the end.
    [[nodiscard]] Pos lineOfSlot(Pos slot);
    // Line pitch in printer pixels: rounded (the preview and pagination) and exact (paper).
    [[nodiscard]] std::int64_t linePitch();
    [[nodiscard]] double exactLinePitch();
    [[nodiscard]] std::int64_t columnWidth();
    [[nodiscard]] std::int64_t columnPitch();
    // Column u's left edge and the first line's top from the paper's corner, printer pixels.
    [[nodiscard]] std::int64_t columnLeft(std::int32_t column);
    [[nodiscard]] std::int64_t textTop();
    // Blank lines inserted before each forced break, in order (what pagination decided).
    struct ForcedBreak {
        Pos line = 0;   // display line that starts the break
        Pos blanks = 0; // blank slots put before it
    };
    [[nodiscard]] const std::vector<ForcedBreak>& forcedBreaks();
    // Whether the margins, as set, leave a column at least one character wide and one line
    // high. Without room the layout still holds every line (one per page, a character per
    // line), but printing it would waste paper on a damaged setting: it is refused.
    [[nodiscard]] bool hasRoomForText();
    // The metrics of the last layout.
    [[nodiscard]] const PrinterMetrics& metrics() const noexcept { return metrics_; }

    [[nodiscard]] const Document& text() const noexcept { return *copy_; }
    // For the painter's reads, which may move an edited paragraph's gap.
    [[nodiscard]] Document& text() noexcept { return *copy_; }
    [[nodiscard]] WrappedLayout& lines() {
        layout();
        return *lines_;
    }
    [[nodiscard]] const PrintDevice& device() const noexcept { return device_; }

private:
    void makeCopy();
    void breakLines();
    void paginate();

    const PrintDevice& device_;
    PrintSettings settings_;
    std::function<void()> onFormat_;

    std::string source_;
    std::unique_ptr<Document> copy_;
    std::unique_ptr<WrappedLayout> lines_;
    std::vector<Pos> breakParagraphs_; // paragraphs that began with a form feed
    bool copied_ = false;
    bool broken_ = false;
    bool paginated_ = false;

    PrinterMetrics metrics_;
    std::int32_t letterHeight_ = 0;
    std::int64_t columnWidth_ = 1;
    std::int64_t columnPitch_ = 1;
    std::int64_t pitch_ = 1;
    double exactPitch_ = 1.0;
    Pos linesPerColumn_ = 1;
    std::int64_t leftMargin_ = 0; // pixels, as printed (kept on the sheet)
    std::int64_t topMargin_ = 0;
    bool horizontalRoom_ = true; // the margins as set, before they were kept to one line
    bool verticalRoom_ = true;
    Pos lineCount_ = 1;
    Pos pageCount_ = 1;
    std::vector<ForcedBreak> breaks_;
    std::vector<Pos> blanksThrough_; // blank slots up to and including break i
};

} // namespace tavrel
