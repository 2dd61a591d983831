// The editor control: a scroll area that shows a TextEngine's document with the wrapped
// layout and the glyph painter, and edits it with the keyboard, the mouse, drag and drop
// and the clipboard. It owns its engine, its layout and its formatting timer.
#pragma once

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "editor/editor_highlights.h"
#include "editor/highlight_runs.h"
#include "editor/qt/display_font.h"
#include "editor/qt/glyph_painter.h"
#include "editor/qt/view_painter.h"
#include "editor/text_engine.h"
#include "editor/wrapped_layout.h"
#include "text/unicode_art.h"

class QMenu;

namespace tavrel {

// The clipboard format that marks a column block; its data is the one byte 2.
inline constexpr char kColumnBlockMimeType[] = "Tavrel Column Block";

// Which blanks are shown as marks.
enum NonPrintChar : std::uint8_t { npSpace = 1, npTab = 2, npReturn = 4 };

class TextEditor : public QAbstractScrollArea, private TextObserver {
    Q_OBJECT

public:
    explicit TextEditor(QWidget* parent = nullptr);
    ~TextEditor() override;
    TextEditor(const TextEditor&) = delete;
    TextEditor& operator=(const TextEditor&) = delete;

    [[nodiscard]] TextEngine& engine() noexcept { return engine_; }
    [[nodiscard]] const TextEngine& engine() const noexcept { return engine_; }
    [[nodiscard]] WrappedLayout& layout() noexcept { return *layout_; }

    // --- Look ----------------------------------------------------------------------------
    // The font setting; its name is kept ("TavrelLarge" by default) even when another
    // installed family draws in its place (drawingFont()).
    void setEditorFont(const QFont& font);
    [[nodiscard]] const QFont& editorFont() const noexcept { return fontSetting_; }
    [[nodiscard]] const QFont& drawingFont() const noexcept { return drawFont_; }
    [[nodiscard]] const GlyphMetrics& glyphMetrics() const noexcept { return *metrics_; }
    // Zoom: the font drawn at `factor` times its pixel size, every glyph cell (advance,
    // ascent, descent and a set line height) exactly `factor` times its size at 1, so that
    // block and box art keeps its proportions and joins at every step. Clamped to
    // [1, kMaxZoom].
    static constexpr int kMaxZoom = 8;
    void setZoom(int factor);
    [[nodiscard]] int zoom() const noexcept { return zoom_; }
    // The font's cell height at zoom 1: what setLineHeight takes for a tight line.
    [[nodiscard]] std::int32_t unzoomedFontHeight() const noexcept { return unzoomedHeight_; }
    // Every one of the 256 glyphs has the same measured advance (the window may then size
    // itself to the text).
    [[nodiscard]] bool isFixedPitch() const noexcept { return metrics_->isFixedPitch(); }
    void setColor(const QColor& background);
    [[nodiscard]] QColor color() const { return look_.background; }
    void setTextColor(const QColor& text);
    [[nodiscard]] QColor textColor() const { return look_.text; }
    // Until set, the selection has the desktop palette's highlight colours and follows them.
    void setSelectionColors(const QColor& background, const QColor& text);
    [[nodiscard]] QColor selectionBackground() const { return look_.selectedBackground; }
    [[nodiscard]] QColor selectionTextColor() const { return look_.selectedText; }
    void setShowNonPrintChars(std::uint8_t flags);
    // The editor's own highlighting (keywords, the attached address highlighter) is its
    // highlight source unless another is set; null shows no highlighting at all.
    [[nodiscard]] EditorHighlights& highlights() noexcept { return *ownHighlights_; }
    void setHighlightSource(HighlightSource* source);

    // --- Layout ----------------------------------------------------------------------------
    void setWordWrap(bool on);
    [[nodiscard]] bool wordWrap() const noexcept { return wordWrap_; }
    // 0: the window's width; above 0: that many characters; below 0: that many pixels.
    void setColumnWrap(std::int32_t columnWrap);
    [[nodiscard]] std::int32_t columnWrap() const noexcept { return columnWrap_; }
    void setTabStops(std::int32_t tabStops);
    // 0 or less: automatic (the font's cell height + 1); a height at zoom 1, multiplied by
    // the zoom. Reads back the height in effect.
    void setLineHeight(std::int32_t height);
    [[nodiscard]] std::int32_t lineHeight() const;
    [[nodiscard]] std::int32_t leftMargin() const noexcept { return look_.leftMargin; }
    [[nodiscard]] std::int32_t rightMargin() const noexcept { return kRightMargin; }
    void setUpdateMode(UpdateMode mode);
    [[nodiscard]] UpdateMode updateMode() const noexcept { return layout_->updateMode(); }
    // Display lines known now (paragraphs not yet formatted count one).
    [[nodiscard]] Pos lineCount() const noexcept { return layout_->knownLineCount(); }
    // How often the text was laid out again or a formatting slice ran: a window left
    // alone must stop adding to it.
    [[nodiscard]] std::uint64_t layoutPasses() const noexcept { return layoutPasses_; }
    // Lays the text out with another device's metrics at a width in that device's pixels
    // (printing), until layoutForScreen().
    void layoutForDevice(const GlyphMetrics& metrics, std::int64_t width);
    void layoutForDevice(const QPaintDevice& device, std::int64_t width);
    void layoutForScreen();
    // Paints display lines from firstLine into `area` of a painter (no selection, no
    // caret): the print preview and printing use it after layoutForDevice.
    void paintLines(QPainter& painter, Pos firstLine, const QRect& area);

    // --- Editing state ---------------------------------------------------------------------
    void setOptions(EditorOptions options);
    [[nodiscard]] EditorOptions options() const noexcept { return engine_.options(); }
    void setOverwrite(bool on);
    [[nodiscard]] bool overwrite() const noexcept { return overwrite_; }
    void setReadOnly(bool on) noexcept { readOnly_ = on; }
    [[nodiscard]] bool isReadOnly() const noexcept { return readOnly_; }
    // How typed characters become bytes, after the form of the file the document came from:
    // for a file of bytes (the default) their Windows-1252 bytes, a best fit or '?' for the
    // rest; for Unicode art the byte the file writes back as the character typed, and any
    // character it could not write back is refused (typingRefused) rather than changed.
    void setTypingForm(const UnicodeForm& form) noexcept { typingForm_ = form; }

    // --- Commands --------------------------------------------------------------------------
    // Undo and Redo for menus and buttons: the change is brought into view, as the keys do.
    void undo();
    void redo();
    // Column blocks without Alt (Ctrl+Shift+B toggles it): while on, a drag with the mouse
    // and Shift with the arrows make column blocks, for desktops whose window manager takes
    // Alt+drag for itself. Needs eoBlockSelection and word wrap off, as Alt does.
    void setBlockSelectionMode(bool on);
    [[nodiscard]] bool blockSelectionMode() const noexcept { return blockSelectionMode_; }
    void copyToClipboard();
    void cutToClipboard();
    void pasteFromClipboard();
    // "Copy what you see": on, copy, cut and drag give other programs the glyphs the bytes
    // are drawn with, and a paste maps those glyphs back to their bytes; off, the clipboard
    // speaks Windows-1252.
    void setCopyGlyphs(bool on) noexcept { copyGlyphs_ = on; }
    // Document bytes as this editor gives them to the clipboard (a NUL as a space, the blank
    // it is drawn as), and clipboard text as the bytes a paste inserts (the window's primary
    // selection uses the same rules).
    [[nodiscard]] QString clipboardText(std::string_view bytes) const;
    [[nodiscard]] std::string clipboardBytes(const QString& text) const;
    // The glyphs the bytes are drawn with: code page 437 (the default) or Windows-1252.
    void setByteGlyphs(ByteGlyphs glyphs);
    [[nodiscard]] ByteGlyphs byteGlyphs() const noexcept { return glyphs_.byteGlyphs(); }
    void scrollInView();
    // The editor's own popup (built on first use), its items enabled for the moment;
    // null when the editor has a menu of its own or eoNoDefaultPopup is set.
    QMenu* builtInPopupMenu();

    // --- Geometry, for the gutter, the window and tests ------------------------------------
    // Pixel offset of the view's top in the whole text, and the horizontal offset.
    [[nodiscard]] std::int64_t verticalOffset() const;
    [[nodiscard]] std::int64_t horizontalOffset() const noexcept { return scrollX_; }
    void setVerticalOffset(std::int64_t pixels);
    void setHorizontalOffset(std::int64_t pixels);
    // The display line at the top of the view.
    [[nodiscard]] Pos topLine() const;
    [[nodiscard]] std::int32_t baseline() const;
    // Whether a point of the viewport is over an address: the right button then opens it
    // instead of a popup menu (a keyword keeps the menu).
    [[nodiscard]] bool hasAddressAt(const QPoint& viewportPoint);
    // Document position under a point of the viewport.
    [[nodiscard]] Pos positionAt(const QPoint& viewportPoint);
    // The caret's rectangle in viewport coordinates.
    [[nodiscard]] QRect caretRect();

    // --- Pictures ------------------------------------------------------------------------------
    // The viewport as it shows now (without the caret), at the screen's scale factor.
    [[nodiscard]] QImage renderViewport();
    // The whole document wrapped at `wrapWidth` pixels (0: unwrapped), margins included;
    // a null image when it would exceed 32767 pixels in either direction.
    [[nodiscard]] QImage renderDocument(std::int64_t wrapWidth, qreal scale = 1.0);

    // Moves text dropped at `position`: the selection is moved there (copied with
    // `copy`), or, dropped inside itself, only the caret moves. What a drop does.
    void dropSelectionAt(Pos position, bool copy);

Q_SIGNALS:
    void blockSelectionModeChanged(bool on);
    void changed();                  // OnChange
    void caretMoved();               // the caret or the selection moved
    void styleChanged();             // OnStyleChange: the Insert key toggled overwrite
    void selectionMoved();           // OnSelMove: text dropped inside its own selection
    void internalPopup(QMenu* menu); // OnInternalPopup
    void highlightClicked(tavrel::Pos position);
    void verticalScrolled(int dy); // OnVScroll
    void linesChanged();           // the line or paragraph totals may have changed
    void zoomWheel(int steps);     // Ctrl+wheel: steps up (positive) or down; no scrolling
    void consistencyError(const QString& message);
    // Characters typed into Unicode art that its file cannot hold: nothing was inserted for
    // them.
    void typingRefused(const QString& characters);
    // Characters typed while the editor is read-only: nothing was inserted.
    void typedWhileReadOnly();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool next) override;
    void changeEvent(QEvent* event) override;

private:
    // The work of the handlers above, each run inside the out-of-memory guard
    // (platform/command_guard.h): a handler that runs out of memory drops its work alone.
    void handlePaint(QPaintEvent* event);
    void handleResize(QResizeEvent* event);
    void handleKeyPress(QKeyEvent* event);
    void handleInputMethod(QInputMethodEvent* event);
    void handleMousePress(QMouseEvent* event);
    void handleMouseMove(QMouseEvent* event);
    void handleMouseRelease(QMouseEvent* event);
    void handleMouseDoubleClick(QMouseEvent* event);
    void handleWheel(QWheelEvent* event);
    void handleContextMenu(QContextMenuEvent* event);
    void handleDragMove(QDragMoveEvent* event);
    void handleDrop(QDropEvent* event);

public:
    // The caret's rectangle for input methods and for the keyboard's context menu, which
    // Qt opens at its centre.
    [[nodiscard]] QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

private:
    // TextObserver
    void textChanged(const TextChange& change) override;
    void documentLoaded() override;
    void selectionChanged() override;
    void updateEnded() override;
    void scrollToTopRequested() override;

    void applyFont(const QFont& drawFont, qreal pixelSize);
    void takeSelectionColorsFromPalette();
    void rewrap();
    [[nodiscard]] std::int64_t currentWrapWidth() const;
    // Word wrap follows the window's width: at 1x, with no fixed wrap column. Zoomed, the
    // breaks of 1x stay and the view scrolls sideways.
    [[nodiscard]] bool wrapsAtViewport() const noexcept {
        return wordWrap_ && columnWrap_ <= 0 && zoom_ == 1;
    }
    void scheduleFormatting();
    void formatSlice();
    void updateScrollBars();
    void settleVerticalBar(bool needed);
    void normaliseTop();
    [[nodiscard]] ViewAppearance appearance() const;
    [[nodiscard]] ViewWindow window() const;
    [[nodiscard]] Pos caretLine();
    [[nodiscard]] std::int64_t caretX();
    void restartCaretBlink();

    // Keyboard (text_editor_keys.cpp)
    bool handleCommandKey(QKeyEvent* event);
    bool handleMovementKey(QKeyEvent* event);
    void moveCaret(Pos position, bool extend, bool atLineEnd = false);
    // The display line `delta` lines from `line`, formatting the paragraphs it crosses.
    [[nodiscard]] Pos stepLines(Pos line, Pos delta);
    void moveCaretToLine(Pos line, bool extend, bool block);
    // Inserts what a typed text stands for; false when it held nothing to type.
    bool typeText(const QString& text);
    void insertTyped(const std::string& bytes);
    void pressEnter();
    void pressTab();
    void pressBackspace(bool word);
    void pressDelete(bool toLineEnd);
    void extendBlock(Pos caret, Pos caretColumn);

    // Mouse (text_editor_mouse.cpp)
    struct Hit {
        Pos position = 0;
        bool atLineEnd = false; // right of a wrapped line's text: the caret stays on it
    };
    [[nodiscard]] Hit hitTest(const QPoint& viewportPoint);
    // The display line under a point of the viewport, formatted; none below the last line.
    [[nodiscard]] std::optional<WrappedLayout::LineSpan> lineAt(const QPoint& viewportPoint);
    // The document position of the character whose cell is under a point, or -1 over no
    // character (the margin, right of a line's text, below the text). What the pointer is
    // over goes by this, where a click puts the caret by hitTest.
    [[nodiscard]] Pos cellAt(const QPoint& viewportPoint);
    // Whether the character at document position `cell` (-1: none) is part of an address.
    [[nodiscard]] bool isAddressAt(Pos cell);
    [[nodiscard]] Pos columnAt(const QPoint& viewportPoint) const;
    [[nodiscard]] bool insideSelection(Pos position) const;
    void selectTo(const QPoint& viewportPoint);
    [[nodiscard]] bool isTripleClick(const QPoint& viewportPoint) const;
    void selectParagraphAt(const QPoint& viewportPoint);
    [[nodiscard]] bool blockGesture(Qt::KeyboardModifiers mods) const;
    void startTextDrag();
    void autoScroll();
    // The run under a document position of the highlight source (length 0: none).
    [[nodiscard]] HighlightRun highlightAt(Pos position);
    void noteHighlightClick(Pos position);
    void updateHoverCursor(const QPoint& point);

    // Clipboard and menu (text_editor_clipboard.cpp)
    void updatePopupMenu();

    TextEngine engine_;
    std::unique_ptr<QtGlyphMetrics> metrics_;
    std::unique_ptr<QtGlyphMetrics> deviceMetrics_; // while laid out for another device
    std::unique_ptr<WrappedLayout> layout_;
    GlyphPainter glyphs_;
    std::unique_ptr<ViewPainter> painter_;
    std::unique_ptr<EditorHighlights> ownHighlights_;
    HighlightSource* highlights_ = nullptr;

    QFont fontSetting_;
    QFont drawFont_;
    qreal pixelSize_ = 16; // at zoom 1
    int zoom_ = 1;
    std::int64_t wrapAtOneX_ = 0; // the window's wrap width when the zoom left 1x
    int zoomWheelRest_ = 0;       // angle of a Ctrl+wheel turn short of a whole notch
    std::int32_t unzoomedHeight_ = 0;
    ViewAppearance look_;
    // Room kept right of the widest line, so that the caret at its end shows.
    static constexpr std::int32_t kRightMargin = 8;
    std::int32_t lineHeightSetting_ = 0;
    std::int32_t columnWrap_ = 0;
    bool wordWrap_ = true;
    bool copyGlyphs_ = false;
    bool deviceLayout_ = false;

    // The view: the document position where the top line starts and how far it is
    // scrolled out at the top. Held as a position, the top stays put while background
    // formatting changes the line count above it.
    Pos topPos_ = 0;
    std::int32_t topPixel_ = 0;
    std::int64_t scrollX_ = 0;
    std::int64_t vScale_ = 1;
    std::int64_t hScale_ = 1;
    bool settingBars_ = false;
    std::uint64_t layoutPasses_ = 0;

    // The caret: drawn by us, blinking while the editor has the focus.
    bool caretAtLineEnd_ = false;
    std::int64_t desiredX_ = -1; // pixel column kept through a series of Up/Down moves
    bool caretOn_ = true;
    bool overwrite_ = false;
    QTimer blinkTimer_;

    UnicodeForm typingForm_;
    bool readOnly_ = false;
    bool blockSelectionMode_ = false;
    bool paletteSelectionColors_ = true;

    QTimer formatTimer_;

    // Mouse state.
    enum class Drag : std::uint8_t { None, Select, Block, MaybeText };
    Drag drag_ = Drag::None;
    QPoint pressPoint_;
    Pos blockAnchorColumn_ = 0;
    bool moved_ = false;
    QTimer autoScrollTimer_;
    QPoint lastMouse_;
    // A press soon after a double click near the same point is a triple click.
    QElapsedTimer sinceDoubleClick_;
    QPoint doubleClickPoint_;

    QMenu* popup_ = nullptr;
};

} // namespace tavrel
