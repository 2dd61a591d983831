// Formatting copy, line breaking on the printer's widths and pagination.
#include "print/print_layout.h"

#include <algorithm>

#include "print/nearest.h"

namespace tavrel {

namespace {

constexpr char kFormFeed = '\f';

std::int64_t inchesToPixels(double inches, std::int32_t dpi) {
    return nearest(static_cast<double>(dpi) * inches);
}

// A margin as printed: never negative (text would fall off the sheet) nor wider than the
// sheet; a damaged settings file may hold anything, NaN included.
double onSheet(double margin, double sheetInches) {
    return margin > 0 ? std::min(margin, std::max(0.0, sheetInches)) : 0.0;
}

} // namespace

PrintLayout::PrintLayout(const PrintDevice& device)
    : device_(device), copy_(std::make_unique<Document>()) {}

PrintLayout::~PrintLayout() = default;

void PrintLayout::setText(std::string bytes) {
    source_ = std::move(bytes);
    copied_ = false;
    broken_ = false;
    paginated_ = false;
}

void PrintLayout::setSettings(const PrintSettings& s) {
    const PrintSettings& old = settings_;
    const bool horizontal = s.marginLeft != old.marginLeft || s.marginRight != old.marginRight ||
                            s.columnCount() != old.columnCount() || s.wordWrap != old.wordWrap ||
                            s.tabStops != old.tabStops ||
                            (s.gutterWidth != old.gutterWidth && s.columnCount() > 1);
    const bool vertical = s.marginTop != old.marginTop || s.marginBottom != old.marginBottom ||
                          s.lineSpacing != old.lineSpacing;
    settings_ = s;
    if (horizontal) {
        broken_ = false;
    }
    if (horizontal || vertical) {
        paginated_ = false;
    }
}

void PrintLayout::makeCopy() {
    // The document keeps the bytes; the copy is ours so that removing form feeds never
    // touches what the user edits.
    copy_ = std::make_unique<Document>();
    copy_->load(std::string(source_));
    breakParagraphs_.clear();
    for (Pos p = 0; p < copy_->paragraphCount(); ++p) {
        const std::string_view para = copy_->paragraph(p);
        // Only a form feed that opens a paragraph breaks the page; it is not printed.
        if (!para.empty() && para.front() == kFormFeed) {
            const Pos start = copy_->paragraphStart(p);
            copy_->replace(start, start + 1, std::string_view());
            breakParagraphs_.push_back(p);
        }
    }
    lines_.reset();
    copied_ = true;
    broken_ = false;
}

void PrintLayout::breakLines() {
    if (onFormat_) {
        onFormat_();
    }
    metrics_ = device_.metrics();
    letterHeight_ = device_.letterHeight();
    const std::int32_t columns = settings_.columnCount();
    const double width = metrics_.dpiX > 0 ? double(metrics_.paperWidth) / metrics_.dpiX : 0.0;
    const std::int64_t left = inchesToPixels(onSheet(settings_.marginLeft, width), metrics_.dpiX);
    const std::int64_t right = inchesToPixels(onSheet(settings_.marginRight, width), metrics_.dpiX);
    leftMargin_ = left;
    const std::int64_t gutter = inchesToPixels(settings_.gutterWidth, metrics_.dpiX);
    columnWidth_ = (metrics_.paperWidth - left - right - (columns - 1) * gutter) / columns;
    columnPitch_ = (metrics_.paperWidth - left - right + gutter) / columns;

    if (!lines_) {
        lines_ = std::make_unique<WrappedLayout>(*copy_, device_.glyphMetrics());
    } else {
        lines_->setGlyphMetrics(device_.glyphMetrics());
    }
    lines_->setUpdateMode(UpdateMode::OnNeed);
    lines_->setTabStops(settings_.tabStops);
    // Margins wider than the paper leave a column of one pixel: every character on its
    // own line rather than a failure.
    lines_->setWrap(settings_.wordWrap, std::max<std::int64_t>(1, columnWidth_));
    lines_->formatAll();
    lineCount_ = lines_->lineCount();
    horizontalRoom_ =
        columnWidth_ >= std::max<std::int64_t>(1, device_.glyphMetrics().spaceWidth());
    broken_ = true;
    paginated_ = false;
}

void PrintLayout::paginate() {
    const double dpiY = metrics_.dpiY;
    exactPitch_ = settings_.lineSpacing >= 0 ? dpiY * settings_.lineSpacing
                                             : -settings_.lineSpacing * letterHeight_;
    pitch_ = nearest(exactPitch_);
    if (pitch_ <= 0) {
        pitch_ = 1;
        exactPitch_ = 1.0;
    }
    // The top and bottom margins leave room for one line at least: a guide dragged past the
    // sheet or a damaged setting prints the text, never an empty page that claims success.
    const double height = dpiY > 0 ? double(metrics_.paperHeight) / dpiY : 0.0;
    const double most = std::max(0.0, height - exactPitch_ / std::max(1.0, dpiY));
    const double asSet =
        onSheet(settings_.marginTop, height) + onSheet(settings_.marginBottom, height);
    verticalRoom_ = (height - asSet) * std::max(1.0, dpiY) >= exactPitch_;
    double top = std::min(onSheet(settings_.marginTop, height), most);
    double bottom = std::min(onSheet(settings_.marginBottom, height), most - top);
    topMargin_ = inchesToPixels(top, metrics_.dpiY);
    const double room = static_cast<double>(metrics_.paperHeight) - (top + bottom) * dpiY;
    // Margins from a damaged settings file can make the room absurdly large; a column of at
    // most a billion lines keeps the page arithmetic below overflow.
    constexpr double kMostLinesPerColumn = 1e9;
    const double fit =
        room > 0 ? std::min(room / static_cast<double>(pitch_), kMostLinesPerColumn) : 0.0;
    linesPerColumn_ = std::max<Pos>(1, static_cast<Pos>(fit));

    breaks_.clear();
    blanksThrough_.clear();
    Pos blanks = 0;
    for (const Pos paragraph : breakParagraphs_) {
        const Pos line = lines_->firstLineOf(paragraph);
        // A break that already starts a column still gets a whole blank column: the
        // form feed asked for a new sheet.
        const Pos b = linesPerColumn_ - ((line + blanks) % linesPerColumn_);
        blanks += b;
        breaks_.push_back({line, b});
        blanksThrough_.push_back(blanks);
    }
    const Pos perPage = linesPerColumn_ * settings_.columnCount();
    pageCount_ = std::max<Pos>(1, (lineCount_ + blanks + perPage - 1) / perPage);
    paginated_ = true;
}

void PrintLayout::layout() {
    if (!copied_) {
        makeCopy();
    }
    // A printer with another paper size or resolution needs new lines.
    if (broken_ && !(device_.metrics() == metrics_)) {
        broken_ = false;
    }
    if (!broken_) {
        breakLines();
    }
    if (!paginated_) {
        paginate();
    }
}

Pos PrintLayout::pageCount() {
    layout();
    return pageCount_;
}

bool PrintLayout::hasRoomForText() {
    layout();
    return horizontalRoom_ && verticalRoom_;
}

Pos PrintLayout::linesPerColumn() {
    layout();
    return linesPerColumn_;
}

Pos PrintLayout::displayLineCount() {
    layout();
    return lineCount_;
}

std::int64_t PrintLayout::linePitch() {
    layout();
    return pitch_;
}

double PrintLayout::exactLinePitch() {
    layout();
    return exactPitch_;
}

std::int64_t PrintLayout::columnWidth() {
    layout();
    return columnWidth_;
}

std::int64_t PrintLayout::columnPitch() {
    layout();
    return columnPitch_;
}

std::int64_t PrintLayout::columnLeft(std::int32_t column) {
    layout();
    return leftMargin_ + column * columnPitch_;
}

std::int64_t PrintLayout::textTop() {
    layout();
    return topMargin_;
}

const std::vector<PrintLayout::ForcedBreak>& PrintLayout::forcedBreaks() {
    layout();
    return breaks_;
}

Pos PrintLayout::lineOfSlot(Pos slot) {
    layout();
    if (slot < 0) {
        return -1;
    }
    // The last break whose blank slots begin at or before this slot decides.
    Pos before = 0;
    std::size_t lo = 0;
    std::size_t hi = breaks_.size();
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        const Pos blanksBefore = mid == 0 ? 0 : blanksThrough_[mid - 1];
        if (breaks_[mid].line + blanksBefore <= slot) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    if (lo > 0) {
        const std::size_t i = lo - 1;
        const Pos firstSlotOfLine = breaks_[i].line + blanksThrough_[i];
        if (slot < firstSlotOfLine) {
            return -1;
        }
        before = blanksThrough_[i];
    }
    const Pos line = slot - before;
    return line < lineCount_ ? line : -1;
}

} // namespace tavrel
