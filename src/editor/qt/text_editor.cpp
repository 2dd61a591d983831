// The editor control's view: fonts, layout settings, the formatting timer, scrolling,
// painting and the caret. Keyboard, mouse and clipboard handling live in their own files.
#include "editor/qt/text_editor.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "editor/view_metrics.h"
#include "platform/command_guard.h"

namespace tavrel {
namespace {

// Longest time one formatting slice may take before the event loop runs again.
constexpr auto kSliceBudget = std::chrono::milliseconds(25);

QFont defaultEditorFont() {
    QFont font(QString::fromLatin1(kDefaultDisplayFamily));
    font.setPixelSize(16);
    return font;
}

} // namespace

TextEditor::TextEditor(QWidget* parent)
    : QAbstractScrollArea(parent), fontSetting_(defaultEditorFont()),
      drawFont_(resolveDisplayFont(fontSetting_)) {
    pixelSize_ = fontPixelSize(fontSetting_, logicalDpiY());
    metrics_ = std::make_unique<QtGlyphMetrics>(GlyphSet(drawFont_, pixelSize_));
    unzoomedHeight_ = metrics_->fontHeight();
    layout_ = std::make_unique<WrappedLayout>(engine_.document(), *metrics_);
    painter_ = std::make_unique<ViewPainter>(engine_, *layout_, glyphs_);
    glyphs_.setFont(drawFont_, pixelSize_);
    layout_->setTabStops(static_cast<std::int32_t>(engine_.tabStops()));
    engine_.setLayout(layout_.get());
    engine_.addObserver(this);
    engine_.onChange = [this] { Q_EMIT changed(); };
    ownHighlights_ = std::make_unique<EditorHighlights>(engine_);
    ownHighlights_->onRepaint = [this] { viewport()->update(); };
    highlights_ = ownHighlights_.get();
    painter_->setHighlightSource(highlights_);

    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setMouseTracking(true); // the hand over addresses
    viewport()->setAcceptDrops(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    formatTimer_.setSingleShot(true);
    // The layout's slices and the drag's scrolling are the editor's own work too.
    connect(&formatTimer_, &QTimer::timeout, this,
            platform::guardedSlot([this] { formatSlice(); }));
    connect(&blinkTimer_, &QTimer::timeout, this, [this] {
        caretOn_ = !caretOn_;
        viewport()->update(caretRect().adjusted(-1, 0, 1, 0));
    });
    connect(&autoScrollTimer_, &QTimer::timeout, this,
            platform::guardedSlot([this] { autoScroll(); }));
    autoScrollTimer_.setInterval(50);

    takeSelectionColorsFromPalette();
    layout_->setWrap(wordWrap_, currentWrapWidth());
    scheduleFormatting();
}

TextEditor::~TextEditor() {
    engine_.removeObserver(this);
    engine_.setLayout(nullptr);
}

// --- Fonts and look ---------------------------------------------------------------------------

void TextEditor::setEditorFont(const QFont& font) {
    fontSetting_ = font;
    drawFont_ = resolveDisplayFont(font);
    pixelSize_ = fontPixelSize(font, logicalDpiY());
    applyFont(drawFont_, pixelSize_);
}

void TextEditor::setByteGlyphs(ByteGlyphs glyphs) {
    if (glyphs == glyphs_.byteGlyphs()) {
        return;
    }
    glyphs_.setByteGlyphs(glyphs);
    applyFont(drawFont_, pixelSize_);
    viewport()->update();
}

void TextEditor::applyFont(const QFont& drawFont, qreal pixelSize) {
    // Measured at zoom 1 and multiplied: measuring the larger font instead would give cells
    // that are not whole multiples (a scaled outline rounds its advance on its own).
    metrics_ = std::make_unique<QtGlyphMetrics>(GlyphSet(drawFont, pixelSize, glyphs_.byteGlyphs()),
                                                zoom_);
    unzoomedHeight_ = metrics_->fontHeight() / zoom_;
    glyphs_.setFont(drawFont, pixelSize);
    glyphs_.setZoom(zoom_);
    deviceMetrics_.reset();
    deviceLayout_ = false;
    layout_->setGlyphMetrics(*metrics_);
    rewrap();
}

void TextEditor::setZoom(int factor) {
    factor = std::clamp(factor, 1, kMaxZoom);
    if (factor == zoom_) {
        return;
    }
    // Zooming never moves a line break: art wrapped at the window's width at 1x keeps its
    // lines at every step, and the view scrolls sideways instead.
    if (zoom_ == 1) {
        wrapAtOneX_ = currentWrapWidth();
    }
    zoom_ = factor;
    applyFont(drawFont_, pixelSize_);
    updateScrollBars();
    viewport()->update();
    Q_EMIT linesChanged();
}

void TextEditor::setColor(const QColor& background) {
    look_.background = background;
    viewport()->update();
}

void TextEditor::setTextColor(const QColor& text) {
    look_.text = text;
    viewport()->update();
}

void TextEditor::setSelectionColors(const QColor& background, const QColor& text) {
    paletteSelectionColors_ = false;
    look_.selectedBackground = background;
    look_.selectedText = text;
    viewport()->update();
}

void TextEditor::takeSelectionColorsFromPalette() {
    // The desktop's highlight colours, as every other text field of the desktop shows a
    // selection; the active group, because the selection shows while the editor has focus.
    const QPalette& colors = palette();
    look_.selectedBackground = colors.color(QPalette::Active, QPalette::Highlight);
    look_.selectedText = colors.color(QPalette::Active, QPalette::HighlightedText);
    viewport()->update();
}

void TextEditor::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && paletteSelectionColors_) {
        takeSelectionColorsFromPalette();
    }
}

void TextEditor::setShowNonPrintChars(std::uint8_t flags) {
    look_.showSpaces = (flags & npSpace) != 0;
    look_.showTabs = (flags & npTab) != 0;
    look_.showReturns = (flags & npReturn) != 0;
    viewport()->update();
}

void TextEditor::setHighlightSource(HighlightSource* source) {
    highlights_ = source;
    painter_->setHighlightSource(source);
    viewport()->update();
}

// --- Layout settings ---------------------------------------------------------------------------

std::int64_t TextEditor::currentWrapWidth() const {
    // A hidden editor (the print copy, the dialogs before they open) has no laid-out
    // viewport yet; its own width is what it will show at.
    if (wordWrap_ && columnWrap_ == 0 && zoom_ > 1 && wrapAtOneX_ > 0) {
        return wrapAtOneX_ * zoom_;
    }
    const int width = isVisible() ? viewport()->width() : contentsRect().width();
    return wrapWidth(wordWrap_, columnWrap_, width, look_.leftMargin, kRightMargin,
                     layout_->metrics().spaceWidth());
}

void TextEditor::rewrap() {
    ++layoutPasses_;
    if (!deviceLayout_) {
        layout_->setWrap(wordWrap_, currentWrapWidth());
    }
    if (wrapsAtViewport()) {
        scrollX_ = 0;
    }
    scheduleFormatting();
    updateScrollBars();
    viewport()->update();
    Q_EMIT linesChanged();
}

void TextEditor::setWordWrap(bool on) {
    wordWrap_ = on;
    rewrap();
}

void TextEditor::setColumnWrap(std::int32_t columnWrap) {
    columnWrap_ = columnWrap;
    rewrap();
}

void TextEditor::setTabStops(std::int32_t tabStops) {
    engine_.setTabStops(tabStops);
    layout_->setTabStops(static_cast<std::int32_t>(engine_.tabStops()));
    rewrap();
}

void TextEditor::setLineHeight(std::int32_t height) {
    lineHeightSetting_ = height;
    updateScrollBars();
    viewport()->update();
    Q_EMIT linesChanged();
}

std::int32_t TextEditor::lineHeight() const {
    // Another device's layout (the printer's) is never zoomed.
    const std::int32_t zoom = deviceLayout_ ? 1 : zoom_;
    return effectiveLineHeight(lineHeightSetting_ * zoom, layout_->metrics(),
                               layout_->knownLineCount());
}

std::int32_t TextEditor::baseline() const {
    return baselineOffset(lineHeight(), layout_->metrics());
}

void TextEditor::setUpdateMode(UpdateMode mode) {
    layout_->setUpdateMode(mode);
    if (mode != UpdateMode::Background) {
        formatTimer_.stop();
    }
    scheduleFormatting();
    updateScrollBars();
}

void TextEditor::setOptions(EditorOptions options) {
    engine_.setOptions(options);
    const Qt::ScrollBarPolicy policy =
        (options & eoAutoScrollBars) != 0 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
    setVerticalScrollBarPolicy(policy);
    setHorizontalScrollBarPolicy(policy);
    updateScrollBars();
}

void TextEditor::setOverwrite(bool on) {
    overwrite_ = on;
    viewport()->update();
}

void TextEditor::layoutForDevice(const GlyphMetrics& metrics, std::int64_t width) {
    deviceLayout_ = true;
    layout_->setGlyphMetrics(metrics);
    layout_->setWrap(wordWrap_, width);
    scheduleFormatting();
}

void TextEditor::layoutForDevice(const QPaintDevice& device, std::int64_t width) {
    const qreal dpi = device.logicalDpiY();
    deviceMetrics_ = std::make_unique<QtGlyphMetrics>(fontSetting_, dpi);
    glyphs_.setFont(drawFont_, fontPixelSize(fontSetting_, dpi));
    glyphs_.setZoom(1); // another device (the printer) is never zoomed
    layoutForDevice(*deviceMetrics_, width);
}

void TextEditor::layoutForScreen() {
    applyFont(drawFont_, pixelSize_);
}

// --- Formatting --------------------------------------------------------------------------------

void TextEditor::scheduleFormatting() {
    if (layout_->hasPendingWork() && layout_->updateMode() == UpdateMode::Background &&
        !formatTimer_.isActive()) {
        formatTimer_.start(0);
    }
}

void TextEditor::formatSlice() {
    if (engine_.updateDepth() > 0 || layout_->updateMode() != UpdateMode::Background) {
        return; // the end of the batch schedules the work again
    }
    ++layoutPasses_;
    const bool more = layout_->formatSlice(kSliceBudget);
    updateScrollBars();
    Q_EMIT linesChanged();
    if (more) {
        formatTimer_.start(0);
    }
}

// --- Engine notifications ----------------------------------------------------------------------

void TextEditor::textChanged(const TextChange& change) {
    if (topPos_ > change.position) {
        topPos_ = topPos_ >= change.position + change.removed
                      ? topPos_ + change.inserted - change.removed
                      : change.position;
    }
    desiredX_ = -1;
    caretAtLineEnd_ = false;
    scheduleFormatting();
}

void TextEditor::documentLoaded() {
    if (!deviceLayout_) {
        // A hidden editor gets no resize events; take its width as it is now.
        layout_->setWrap(wordWrap_, currentWrapWidth());
    }
    topPos_ = 0;
    topPixel_ = 0;
    scrollX_ = 0;
    desiredX_ = -1;
    caretAtLineEnd_ = false;
    scheduleFormatting();
}

void TextEditor::selectionChanged() {
    restartCaretBlink();
    viewport()->update();
    Q_EMIT caretMoved();
}

void TextEditor::updateEnded() {
    scheduleFormatting();
    updateScrollBars();
    viewport()->update();
    Q_EMIT linesChanged();
}

void TextEditor::scrollToTopRequested() {
    setHorizontalOffset(0);
    setVerticalOffset(0);
}

// --- Scrolling ---------------------------------------------------------------------------------

void TextEditor::normaliseTop() {
    const Document& doc = engine_.document();
    topPos_ = doc.clamp(topPos_);
    layout_->ensureFormatted(doc.paragraphAt(topPos_));
    topPos_ = layout_->knownLineStart(layout_->knownLineOfPosition(topPos_));
}

Pos TextEditor::topLine() const {
    return layout_->knownLineOfPosition(engine_.document().clamp(topPos_));
}

std::int64_t TextEditor::verticalOffset() const {
    return topLine() * lineHeight() + topPixel_;
}

void TextEditor::setVerticalOffset(std::int64_t pixels) {
    const std::int64_t lh = lineHeight();
    const std::int64_t content = layout_->knownLineCount() * lh;
    const std::int64_t limit = std::max<std::int64_t>(
        0, std::max(content - viewport()->height() + lh,
                    static_cast<std::int64_t>(verticalScrollBar()->maximum()) * vScale_));
    pixels = std::clamp<std::int64_t>(pixels, 0, limit);
    const std::int64_t before = verticalOffset();
    const Pos line = pixels / lh;
    layout_->ensureFormatted(layout_->knownParagraphOfLine(line));
    topPos_ = layout_->knownLineStart(line);
    topPixel_ = static_cast<std::int32_t>(pixels - line * lh);
    updateScrollBars();
    viewport()->update();
    const std::int64_t dy = before - verticalOffset();
    if (dy != 0) {
        Q_EMIT verticalScrolled(
            static_cast<int>(std::clamp<std::int64_t>(dy, INT32_MIN, INT32_MAX)));
    }
}

void TextEditor::setHorizontalOffset(std::int64_t pixels) {
    const bool scrolls = !wrapsAtViewport();
    scrollX_ = scrolls ? std::max<std::int64_t>(0, pixels) : 0;
    updateScrollBars();
    viewport()->update();
}

void TextEditor::updateScrollBars() {
    settingBars_ = true;
    const std::int32_t lh = lineHeight();
    const ScrollRange v = verticalScrollRange(layout_->knownLineCount(), lh, viewport()->height());
    vScale_ = v.scale;
    QScrollBar* vBar = verticalScrollBar();
    vBar->setRange(0, v.maximum);
    vBar->setPageStep(v.page);
    vBar->setSingleStep(static_cast<int>(std::max<std::int64_t>(1, lh / v.scale)));
    vBar->setValue(static_cast<int>(std::min<std::int64_t>(verticalOffset() / v.scale, v.maximum)));

    const bool scrolls = !wrapsAtViewport();
    const std::int64_t widest = wordWrap_ ? layout_->width() : layout_->widestLine();
    const ScrollRange h =
        horizontalScrollRange(widest, look_.leftMargin, kRightMargin, viewport()->width(), scrolls);
    hScale_ = h.scale;
    QScrollBar* hBar = horizontalScrollBar();
    hBar->setRange(0, h.maximum);
    hBar->setPageStep(h.page);
    hBar->setSingleStep(
        static_cast<int>(std::max<std::int64_t>(1, layout_->metrics().spaceWidth() / h.scale)));
    hBar->setValue(static_cast<int>(std::min<std::int64_t>(scrollX_ / h.scale, h.maximum)));
    settingBars_ = false;
    // Last: showing or hiding the bar resizes the viewport, which lays out and comes back
    // here with the new width.
    settleVerticalBar(v.maximum > 0);
}

void TextEditor::settleVerticalBar(bool needed) {
    // Wrapped at the window's width, the text's height depends on the bar's width and the
    // bar on the text's height. Left to the scroll area, a bar that appears narrows the
    // text, the rewrap counts its unformatted paragraphs as one line each, the bar goes
    // again and the text widens: for ever, at full speed. So the bar follows a rule with a
    // fixed point: it appears as soon as the text is too tall, and goes only once every
    // paragraph is formatted and the text fits even with the bar's narrower width (then it
    // fits the wider width too, since wider lines never make more of them).
    const bool wrapsAtWindow = wrapsAtViewport() && !deviceLayout_;
    if ((engine_.options() & eoAutoScrollBars) == 0) {
        return; // both bars always shown
    }
    if (!wrapsAtWindow) {
        // Without wrapping at the window the text's size does not depend on the bars.
        if (verticalScrollBarPolicy() != Qt::ScrollBarAsNeeded) {
            setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        }
        return;
    }
    const bool shown = verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
    if (needed && !shown) {
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    } else if (!needed && shown && !layout_->hasPendingWork()) {
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    } else if (verticalScrollBarPolicy() == Qt::ScrollBarAsNeeded) {
        setVerticalScrollBarPolicy(needed ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    }
}

void TextEditor::scrollContentsBy(int dx, int dy) {
    if (settingBars_) {
        return;
    }
    if (dy != 0) {
        setVerticalOffset(static_cast<std::int64_t>(verticalScrollBar()->value()) * vScale_);
    }
    if (dx != 0) {
        setHorizontalOffset(static_cast<std::int64_t>(horizontalScrollBar()->value()) * hScale_);
    }
}

void TextEditor::scrollInView() {
    normaliseTop();
    const std::int64_t lh = lineHeight();
    const Pos line = caretLine();
    const std::int64_t top = verticalOffset();
    const std::int64_t caretTop = line * lh;
    const std::int64_t height = viewport()->height();
    if (caretTop < top) {
        setVerticalOffset(caretTop);
    } else if (caretTop + lh > top + height) {
        // The caret line's bottom at the window's bottom; on the last line one line more.
        const bool last = line + 1 >= layout_->knownLineCount();
        setVerticalOffset(caretTop + lh - height + (last ? lh : 0));
    }
    if (!wrapsAtViewport()) {
        const std::int64_t step = 5 * std::max<std::int64_t>(1, layout_->metrics().spaceWidth());
        const std::int64_t x = caretX();
        const std::int64_t visible =
            std::max<std::int64_t>(1, viewport()->width() - look_.leftMargin);
        std::int64_t offset = scrollX_;
        if (x - offset >= visible) {
            offset += ((x - offset - visible) / step + 1) * step; // whole steps to the right
        } else if (x < offset) {
            offset = std::max<std::int64_t>(0, offset - ((offset - x + step - 1) / step) * step);
        }
        if (offset != scrollX_) {
            setHorizontalOffset(offset);
        }
    }
}

void TextEditor::wheelEvent(QWheelEvent* event) {
    platform::runGuarded([&] { handleWheel(event); });
}

void TextEditor::handleWheel(QWheelEvent* event) {
    if ((event->modifiers() & Qt::ControlModifier) != 0) {
        // Zoom instead of scrolling; a touchpad's small angles add up to whole notches.
        zoomWheelRest_ += event->angleDelta().y();
        const int steps = zoomWheelRest_ / 120;
        zoomWheelRest_ -= steps * 120;
        if (steps != 0) {
            Q_EMIT zoomWheel(steps);
        }
        event->accept();
        return;
    }
    const int lines = QApplication::wheelScrollLines();
    const QPoint notches = event->angleDelta() / 120;
    if (notches.y() != 0) {
        setVerticalOffset(verticalOffset() -
                          static_cast<std::int64_t>(notches.y()) * lines * lineHeight());
    }
    if (notches.x() != 0) {
        setHorizontalOffset(scrollX_ - static_cast<std::int64_t>(notches.x()) * lines *
                                           layout_->metrics().spaceWidth());
    }
    event->accept();
}

void TextEditor::resizeEvent(QResizeEvent* event) {
    platform::runGuarded([&] { handleResize(event); });
}

void TextEditor::handleResize(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (wordWrap_ && !deviceLayout_ && layout_->width() != currentWrapWidth()) {
        rewrap();
    } else {
        updateScrollBars();
    }
}

// --- Painting and the caret --------------------------------------------------------------------

ViewAppearance TextEditor::appearance() const {
    ViewAppearance look = look_;
    look.lineHeight = lineHeight();
    look.baseline = baselineOffset(look.lineHeight, layout_->metrics());
    look.showSelection = true;
    return look;
}

ViewWindow TextEditor::window() const {
    ViewWindow w;
    w.firstLine = topLine();
    w.firstLineTop = -topPixel_;
    w.scrollX = scrollX_;
    return w;
}

void TextEditor::paintEvent(QPaintEvent* event) {
    platform::runGuarded([&] { handlePaint(event); });
}

void TextEditor::handlePaint(QPaintEvent* event) {
    normaliseTop();
    QPainter painter(viewport());
    painter_->paint(painter, appearance(), window(), event->rect());
    if (hasFocus() && caretOn_) {
        const QRect caret = caretRect();
        if (caret.intersects(event->rect())) {
            painter.setCompositionMode(QPainter::CompositionMode_Difference);
            painter.fillRect(caret, Qt::white);
        }
    }
}

Pos TextEditor::caretLine() {
    const Pos caret = engine_.selection().caret();
    layout_->ensureFormatted(engine_.document().paragraphAt(caret));
    return layout_->knownLineOfPosition(caret, caretAtLineEnd_);
}

std::int64_t TextEditor::caretX() {
    const Pos line = caretLine();
    const WrappedLayout::LineSpan span = layout_->knownLine(line);
    Document& doc = engine_.document();
    const Pos offset = engine_.selection().caret() - doc.paragraphStart(span.paragraph);
    // Only the caret's line is read: a whole long paragraph would be made contiguous.
    return xOfOffset(doc.paragraphPart(span.paragraph, span.start, offset), 0, offset - span.start,
                     layout_->widths());
}

QRect TextEditor::caretRect() {
    normaliseTop();
    const std::int64_t lh = lineHeight();
    const Pos line = caretLine();
    const std::int64_t y = (line - topLine()) * lh - topPixel_;
    std::int64_t x = look_.leftMargin + caretX() - scrollX_;
    std::int64_t width = 1;
    const Document& doc = engine_.document();
    const Pos caret = engine_.selection().caret();
    const Pos p = doc.paragraphAt(caret);
    const Pos offset = caret - doc.paragraphStart(p);
    if (overwrite_ && engine_.selection().length() == 0 &&
        engine_.hasOption(eoWideOverwriteCaret) && offset < doc.paragraphLength(p)) {
        const auto c = static_cast<unsigned char>(doc.charAt(caret));
        width = advanceAt(c, caretX(), layout_->widths());
    }
    if (wrapsAtViewport() && x + width > viewport()->width()) {
        x = viewport()->width() - width; // the last pixel column, not beyond the window
    }
    const auto clampInt = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, -(1 << 29), 1 << 29));
    };
    return QRect(clampInt(x), clampInt(y), clampInt(width), clampInt(lh));
}

void TextEditor::restartCaretBlink() {
    caretOn_ = true;
    const int flash = QApplication::cursorFlashTime();
    if (flash > 0 && hasFocus()) {
        blinkTimer_.start(flash / 2);
    } else {
        blinkTimer_.stop();
    }
    viewport()->update();
}

void TextEditor::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    restartCaretBlink();
}

void TextEditor::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    blinkTimer_.stop();
    viewport()->update();
}

bool TextEditor::focusNextPrevChild(bool /*next*/) {
    return false; // Tab is a character in an editor, not a way out of it
}

QVariant TextEditor::inputMethodQuery(Qt::InputMethodQuery query) const {
    // The caret's rectangle needs the layout formatted up to it, which the const query
    // cannot promise; asking does not change what the editor shows.
    auto* self = const_cast<TextEditor*>(this);
    switch (query) {
    case Qt::ImEnabled:
        return !readOnly_;
    case Qt::ImCursorRectangle:
        // In the editor's own coordinates; the caret is painted in its viewport's.
        return QRectF(self->caretRect().translated(viewport()->geometry().topLeft()));
    case Qt::ImFont:
        return drawFont_;
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

// --- Pictures ----------------------------------------------------------------------------------

void TextEditor::paintLines(QPainter& painter, Pos firstLine, const QRect& area) {
    ViewAppearance look = appearance();
    look.showSelection = false;
    look.leftMargin = area.left();
    ViewWindow w;
    w.firstLine = firstLine;
    w.firstLineTop = area.top();
    painter_->paint(painter, look, w, area);
}

QImage TextEditor::renderViewport() {
    normaliseTop();
    const qreal dpr = devicePixelRatioF();
    QImage image(viewport()->size() * dpr, QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    QPainter painter(&image);
    painter_->paint(painter, appearance(), window(), QRect(QPoint(0, 0), viewport()->size()));
    return image;
}

QImage TextEditor::renderDocument(std::int64_t wrapWidth, qreal scale) {
    WrappedLayout full(engine_.document(), *metrics_);
    full.setTabStops(static_cast<std::int32_t>(engine_.tabStops()));
    full.setWrap(wrapWidth > 0, wrapWidth);
    full.formatAll();
    const std::int64_t lh =
        effectiveLineHeight(lineHeightSetting_ * zoom_, *metrics_, full.knownLineCount());
    const std::int64_t width =
        (wrapWidth > 0 ? wrapWidth : full.widestLine()) + look_.leftMargin + kRightMargin;
    const std::int64_t height = full.knownLineCount() * lh;
    scale = std::max<qreal>(scale, 0.1);
    if (width * scale > 32767 || height * scale > 32767) {
        return {};
    }
    QImage image(static_cast<int>(std::ceil(width * scale)),
                 static_cast<int>(std::ceil(height * scale)), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    QPainter painter(&image);
    ViewPainter documentPainter(engine_, full, glyphs_);
    documentPainter.setHighlightSource(highlights_);
    ViewAppearance look = appearance();
    look.lineHeight = static_cast<std::int32_t>(lh);
    look.baseline = baselineOffset(look.lineHeight, *metrics_);
    look.showSelection = false;
    ViewWindow w;
    documentPainter.paint(painter, look, w,
                          QRect(0, 0, static_cast<int>(width), static_cast<int>(height)));
    return image;
}

} // namespace tavrel
