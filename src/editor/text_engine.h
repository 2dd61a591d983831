// The editing engine of one editor: the document, the selection, the one replace operation
// through which every change goes, undo and redo, batches, the paragraph and line views and
// text search. It knows no toolkit; the editor widget, the format commands and find and
// replace all drive it.
#pragma once

#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/document.h"
#include "editor/line_layout.h"
#include "editor/types.h"
#include "editor/undo_list.h"

namespace tavrel {

// Editing options, a set of bits as the editor has always stored them.
enum EditorOption : std::uint32_t {
    eoKeepColumnPos = 1u << 0,
    eoPutExtraSpaces = 1u << 1,
    eoWrapCaret = 1u << 2,
    eoInsertKeyActive = 1u << 3,
    eoWideOverwriteCaret = 1u << 4,
    eoLargeWordSelect = 1u << 5,
    eoAutoScrollBars = 1u << 6,
    eoNoDragnDrop = 1u << 7,
    eoAutoIndent = 1u << 8,
    eoBackIndent = 1u << 9,
    eoWindowsSelColors = 1u << 10,
    eoFullLineSelect = 1u << 11,
    eoDiscardTrailingSpaces = 1u << 12,
    eoNoFineScroll = 1u << 13,
    eoNoLineSelection = 1u << 14,
    eoNoDefaultPopup = 1u << 15,
    eoBlockSelection = 1u << 16,
    eoAutoLineBreak = 1u << 17,
    eoPlainClipboard = 1u << 18,
    eoPersistentBlocks = 1u << 19,
    eoNoOverwriteBlocks = 1u << 20,
    eoSmartTabs = 1u << 21,
    eoKeepParBackgnd = 1u << 22,
};
using EditorOptions = std::uint32_t;
inline constexpr EditorOptions kDefaultEditorOptions =
    eoPutExtraSpaces | eoWrapCaret | eoInsertKeyActive | eoWideOverwriteCaret | eoAutoScrollBars;

// Separators of the main window's editors: tab, LF, CR, space and "$%&,./:;<=>".
inline constexpr std::string_view kDefaultSeparators = "\t\n\r $%&,./:;<=>";

// Views and highlighters watch the engine through this interface.
class TextObserver {
public:
    virtual ~TextObserver() = default;
    // After each structural change (the layout has already been told).
    virtual void textChanged(const TextChange&) {}
    // After a load replaced everything and reset the selection.
    virtual void documentLoaded() {}
    // After the selection or the caret moved.
    virtual void selectionChanged() {}
    // When the outermost batch ended (or a change outside a batch finished): the moment to
    // repaint and update scroll bars.
    virtual void updateEnded() {}
    // Assigning the whole text asks the view to show its top.
    virtual void scrollToTopRequested() {}
};

class TextEngine {
public:
    TextEngine();
    ~TextEngine();
    TextEngine(const TextEngine&) = delete; // observers and the layout point back at it
    TextEngine& operator=(const TextEngine&) = delete;

    [[nodiscard]] const Document& document() const noexcept { return doc_; }

    // --- Loading and saving (not undoable; loading empties the undo list) -------------
    LoadResult loadBytes(std::string&& bytes);
    // Makes a document loaded elsewhere (on a loading thread) the engine's, as loadBytes
    // would have: selection at the start, no undo, observers told. `built` gets the old
    // document back. With takeLineBreak, eoAutoLineBreak takes the file's last break from
    // `result` as loadBytes does.
    void adoptDocument(Document& built, const LoadResult& result, bool takeLineBreak = true);
    // Writes the text with the editor's LineBreak (and trailing blanks dropped with
    // eoDiscardTrailingSpaces).
    bool write(const Document::Sink& sink) const;
    [[nodiscard]] LineBreak lineBreak() const noexcept { return lineBreak_; }
    void setLineBreak(LineBreak lineBreak) noexcept { lineBreak_ = lineBreak; }

    // --- Layout ------------------------------------------------------------------------
    // The layout that breaks paragraphs into display lines; null restores one line per
    // paragraph. The engine does not own it.
    void setLayout(LineLayout* layout) noexcept;
    [[nodiscard]] LineLayout& layout() noexcept { return *layout_; }

    // --- Selection -----------------------------------------------------------------------
    [[nodiscard]] Pos selStart() const noexcept { return caret_; }
    void setSelStart(Pos position);
    [[nodiscard]] Pos selLength() const noexcept { return anchor_ - caret_; }
    void setSelLength(Pos length);
    // Lower and upper end of the selection.
    [[nodiscard]] Pos selectionLow() const noexcept { return std::min(caret_, anchor_); }
    [[nodiscard]] Pos selectionHigh() const noexcept { return std::max(caret_, anchor_); }
    [[nodiscard]] Pos anchor() const noexcept { return anchor_; }
    // Sets both ends at once (the caret end moves, the anchor stays); breaks undo grouping
    // when anything moved. Mouse and keyboard selections use this.
    void select(Pos anchor, Pos caret);
    void selectAll();

    // Block (column) selection: the rectangle between two display columns across the
    // paragraphs from the anchor's to the caret's.
    [[nodiscard]] bool blockMode() const noexcept { return block_; }
    void setBlockSelection(Pos anchor, Pos caret, Pos anchorColumn, Pos caretColumn);
    [[nodiscard]] Pos blockLowColumn() const noexcept { return std::min(blockA_, blockB_); }
    [[nodiscard]] Pos blockHighColumn() const noexcept { return std::max(blockA_, blockB_); }
    [[nodiscard]] Pos blockCaretColumn() const noexcept { return blockB_; }

    [[nodiscard]] std::string selText() const;
    // The replace operation: the selection becomes `text` as one undoable step.
    void setSelText(std::string_view text);
    void setSelText(std::string&& text);
    void setSelText(const char* text) { setSelText(std::string_view(text)); }
    // Copies at most size - 1 selected characters (the plain run, even in block mode)
    // and a terminating NUL; returns the count copied.
    Pos getSelTextBuf(char* buffer, Pos size) const;

    // The caret's line: its paragraph without word wrap, its display line with it.
    [[nodiscard]] Pos selLine();
    // The caret's offset in its display line; setting it empties the selection.
    [[nodiscard]] Pos selCol();
    void setSelCol(Pos column);
    [[nodiscard]] Pos caretParagraph() const noexcept { return doc_.paragraphAt(caret_); }
    [[nodiscard]] Pos paragraphOfLine(Pos line) { return layout_->paragraphOfLine(line); }

    // --- Undo ------------------------------------------------------------------------------
    void undo();
    void redo();
    [[nodiscard]] bool canUndo() const noexcept { return undo_.canUndo(); }
    [[nodiscard]] bool canRedo() const noexcept { return undo_.canRedo(); }
    void clearUndo() noexcept { undo_.clear(); }
    [[nodiscard]] const UndoList& undoList() const noexcept { return undo_; }
    void setUndoMaxLevel(Pos level) { undo_.setMaxLevel(level); }
    void setUndoMaxSpace(Pos space) noexcept { undo_.setMaxSpace(space); }
    // The next edit starts a new undo step (a click, a paste, a caret move).
    void breakUndoGroup() noexcept { groupBreak_ = true; }

    // --- Batches ---------------------------------------------------------------------------
    // While a batch runs, observers hear of the selection and of the end of the changes once,
    // when the outermost batch ends. Its changes undo together, or each alone (Replace All:
    // the view catches up once, yet every replacement is an undo step of its own); the
    // outermost beginUpdate decides.
    enum class BatchUndo : std::uint8_t { Together, EachAlone };
    void beginUpdate(BatchUndo undo = BatchUndo::Together) noexcept;
    void endUpdate();
    [[nodiscard]] int updateDepth() const noexcept { return batch_; }

    // --- Events and state ------------------------------------------------------------------
    // Before a replace, with the text about to be inserted; the handler may change it.
    std::function<void(std::string& text)> onBeforeChange;
    // Once after each change outside a batch, once at the end of an outermost batch that
    // changed text, and after loading.
    std::function<void()> onChange;
    void addObserver(TextObserver* observer);
    void removeObserver(TextObserver* observer);

    [[nodiscard]] bool modified() const noexcept { return modified_; }
    void setModified(bool modified) noexcept { modified_ = modified; }
    [[nodiscard]] EditorOptions options() const noexcept { return options_; }
    void setOptions(EditorOptions options);
    [[nodiscard]] bool hasOption(EditorOption option) const noexcept {
        return (options_ & option) != 0;
    }
    [[nodiscard]] Pos tabStops() const noexcept { return tabStops_; }
    void setTabStops(Pos tabStops) noexcept { tabStops_ = tabStops < 1 ? 1 : tabStops; }

    [[nodiscard]] bool isSeparator(unsigned char c) const noexcept { return separators_[c]; }
    [[nodiscard]] const std::bitset<256>& separatorSet() const noexcept { return separators_; }
    // The separator set as a string of its members in code order.
    [[nodiscard]] std::string separators() const;
    void setSeparators(std::string_view members);

    // --- Paragraph and line views -----------------------------------------------------------
    [[nodiscard]] Pos charCount() const noexcept { return doc_.charCount(); }
    // Every paragraph the document holds, a trailing empty one (after a final line break)
    // included; at least 1.
    [[nodiscard]] Pos paragraphCount() const noexcept { return doc_.paragraphCount(); }
    // The items of the Paragraphs view: a trailing empty paragraph is not counted, so an
    // empty document has none.
    [[nodiscard]] Pos paragraphsViewCount() const noexcept;
    // Item i of the view; throws std::out_of_range("List index out of bounds").
    [[nodiscard]] std::string_view paragraph(Pos index) const;
    [[nodiscard]] std::string paragraphsText() const { return doc_.text(); }
    // One undoable replace of everything; the caret goes to 0 and the view to the top.
    void setParagraphsText(std::string_view text);
    void setParagraphsText(std::string&& text);
    void setParagraphsText(const char* text) { setParagraphsText(std::string_view(text)); }
    void setParagraph(Pos index, std::string_view text);
    Pos addParagraph(std::string_view text);
    void insertParagraph(Pos index, std::string_view text);
    void deleteParagraph(Pos index);
    void clearText() { setParagraphsText(std::string_view()); }
    [[nodiscard]] std::string textPart(Pos start, Pos stop) const {
        return doc_.textRange(start, stop);
    }
    // Lines view: display lines; a trailing empty display line is not counted.
    [[nodiscard]] Pos linesCount();
    [[nodiscard]] std::string_view lineText(Pos line);
    // Offsets [start, stop) of a paragraph's display line within the paragraph.
    [[nodiscard]] std::pair<Pos, Pos> lineBounds(Pos paragraph, Pos subLine);

    // --- Columns (tabs expanded to tabStops) -----------------------------------------------
    [[nodiscard]] Pos columnOf(Pos paragraph, Pos offset) const;
    // The first offset whose column is at or after `column`, or the paragraph's length.
    [[nodiscard]] Pos offsetAtColumn(Pos paragraph, Pos column) const;

    // --- Words -------------------------------------------------------------------------------
    [[nodiscard]] Pos previousWordStart(Pos position) const;
    [[nodiscard]] Pos nextWordStart(Pos position) const;
    // The word around a position as a double-click selects it: [start, end).
    [[nodiscard]] std::pair<Pos, Pos> wordAt(Pos position) const;

    // --- Search ------------------------------------------------------------------------------
    // Finds and selects the next occurrence; see search.cpp for the rules.
    bool searchText(std::string_view pattern, bool forward, bool fromStart, bool wholeWord,
                    bool matchCase);

    // --- Checking ----------------------------------------------------------------------------
    // Walks the document and the layout; returns the first broken invariant's message
    // followed by the version label, or an empty string.
    [[nodiscard]] std::string consistencyCheck();
    std::string versionLabel = " (Tavrel text engine)";

private:
    // What every load does after the document changed: selection, undo, observers.
    void documentReplaced(const LoadResult& result, bool takeLineBreak);
    TextChange replaceRange(Pos start, Pos stop, std::string_view text, std::string* adopt);
    void replaceSelection(std::string_view text, std::string* adopt);
    void deleteBlock();
    void walkSteps(bool backwards);
    void replaceAll(std::string_view text, std::string* adopt);
    void replaceKeepingSelection(Pos start, Pos stop, std::string_view text);
    void notifyChanged(const TextChange& change);
    void notifySelection();
    void finishChange();
    void selectionMoved(Pos oldCaret, Pos oldAnchor);

    Document doc_;
    UndoList undo_;
    std::unique_ptr<ParagraphLayout> ownLayout_;
    LineLayout* layout_ = nullptr;
    std::vector<TextObserver*> observers_;

    Pos caret_ = 0;
    Pos anchor_ = 0;
    bool block_ = false;
    Pos blockA_ = 0; // column at the anchor's end
    Pos blockB_ = 0; // column at the caret's end

    int batch_ = 0;
    Pos batchSerial_ = 0; // names the undo group of the current outermost batch
    bool changedInBatch_ = false;
    bool selectionInBatch_ = false; // the selection moved during the batch
    bool eachAloneInBatch_ = false; // the batch's changes are separate undo steps
    bool undoing_ = false;
    bool groupBreak_ = false;
    bool modified_ = false;

    EditorOptions options_ = kDefaultEditorOptions;
    LineBreak lineBreak_ = LineBreak::CrLf;
    Pos tabStops_ = 8;
    std::bitset<256> separators_;
};

} // namespace tavrel
