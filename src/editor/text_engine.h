// The editing engine of one editor: the one replace operation through which every change
// goes, undo and redo, batches and the observers that hear of them, and text search. It owns
// the document, the selection (selection.h) and the paragraph and display-line views
// (text_views.h) and hands them out. It knows no toolkit; the editor widget, the format
// commands and find and replace all drive it.
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
#include "editor/selection.h"
#include "editor/text_views.h"
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
    // Before the document's bytes change (an edit, undo, redo or a load): the last moment to
    // read what is there.
    virtual void textAboutToChange() {}
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
    // For the reads that move a paragraph's gap (Document::paragraph, paragraphPart). The
    // text is changed through replace() and the loads, never here: undo, the selection and
    // the observers follow only those.
    [[nodiscard]] Document& document() noexcept { return doc_; }
    // Makes reads of the text move nothing until the next change (Document::closeGaps).
    void prepareSharedReads() noexcept { doc_.closeGaps(); }

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

    // --- Layout ------------------------------------------------------------------------
    // The layout that breaks paragraphs into display lines; null restores one line per
    // paragraph. The engine does not own it.
    void setLayout(LineLayout* layout) noexcept;
    [[nodiscard]] LineLayout& layout() noexcept { return *layout_; }

    // --- Selection -----------------------------------------------------------------------
    // Where the selection stands; it moves only through the calls below, which tell the
    // observers and decide where undo steps break.
    [[nodiscard]] const Selection& selection() const noexcept { return sel_; }
    // Places the caret (an empty selection).
    void setSelStart(Pos position);
    // Moves the anchor to caret + length.
    void setSelLength(Pos length);
    // Sets both ends at once (the caret end moves, the anchor stays); breaks undo grouping
    // when anything moved. Mouse and keyboard selections use this.
    void select(Pos anchor, Pos caret);
    void selectAll();

    // Block (column) selection: the rectangle between two display columns across the
    // paragraphs from the anchor's to the caret's.
    void setBlockSelection(Pos anchor, Pos caret, Pos anchorColumn, Pos caretColumn);

    [[nodiscard]] std::string selText() const;
    // The text a selection covers in the document as it is now.
    [[nodiscard]] std::string textOf(const Selection& selection) const;
    // The replace operation: the selection becomes `text` as one undoable step.
    void setSelText(std::string_view text);
    void setSelText(std::string&& text);
    void setSelText(const char* text) { setSelText(std::string_view(text)); }
    // Copies at most size - 1 selected characters (the plain run, even in block mode)
    // and a terminating NUL; returns the count copied.
    Pos getSelTextBuf(char* buffer, Pos size) const;

    [[nodiscard]] Pos caretParagraph() const noexcept { return doc_.paragraphAt(sel_.caret()); }

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
    // The text as a list of paragraphs, edited item by item (see text_views.h). Its count
    // leaves out a trailing empty paragraph, which document().paragraphCount() includes.
    [[nodiscard]] ParagraphsView& paragraphs() noexcept { return paragraphs_; }
    [[nodiscard]] const ParagraphsView& paragraphs() const noexcept { return paragraphs_; }
    // The text as display lines, as the layout breaks it, and the caret's place in them.
    [[nodiscard]] LinesView& lines() noexcept { return lines_; }

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
    friend class ParagraphsView; // its setText is the one replace of everything

    TextChange replaceRange(Pos start, Pos stop, std::string_view text, std::string* adopt);
    void replaceSelection(std::string_view text, std::string* adopt);
    void deleteBlock();
    void walkSteps(bool backwards);
    void replaceAll(std::string_view text, std::string* adopt);
    void notifyAboutToChange();
    void notifyChanged(const TextChange& change);
    void notifySelection();
    void finishChange();
    void selectionMoved(Pos oldCaret, Pos oldAnchor);

    Document doc_;
    UndoList undo_;
    std::unique_ptr<ParagraphLayout> ownLayout_;
    LineLayout* layout_ = nullptr;
    std::vector<TextObserver*> observers_;

    Selection sel_;
    ParagraphsView paragraphs_{*this};
    LinesView lines_{*this};

    int batch_ = 0;
    Pos batchSerial_ = 0; // names the undo group of the current outermost batch
    bool changedInBatch_ = false;
    bool selectionInBatch_ = false; // the selection moved during the batch
    bool eachAloneInBatch_ = false; // the batch's changes are separate undo steps
    bool undoing_ = false;
    bool groupBreak_ = false;

    EditorOptions options_ = kDefaultEditorOptions;
    LineBreak lineBreak_ = LineBreak::CrLf;
    Pos tabStops_ = 8;
    std::bitset<256> separators_;
};

} // namespace tavrel
