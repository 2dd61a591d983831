// The replace operation, undo and redo, batches and the selection of the text engine.
#include "editor/text_engine.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace tavrel {

TextEngine::TextEngine() : ownLayout_(std::make_unique<ParagraphLayout>(doc_)) {
    layout_ = ownLayout_.get();
    setSeparators(kDefaultSeparators);
}

TextEngine::~TextEngine() = default;

// --- Loading and saving ------------------------------------------------------------------

LoadResult TextEngine::loadBytes(std::string&& bytes) {
    notifyAboutToChange();
    const LoadResult result = doc_.load(std::move(bytes), hasOption(eoDiscardTrailingSpaces));
    documentReplaced(result, true);
    return result;
}

void TextEngine::adoptDocument(Document& built, const LoadResult& result, bool takeLineBreak) {
    notifyAboutToChange();
    doc_.swap(built);
    documentReplaced(result, takeLineBreak);
}

void TextEngine::documentReplaced(const LoadResult& result, bool takeLineBreak) {
    undo_.clear();
    sel_.collapse(0);
    groupBreak_ = true;
    if (takeLineBreak && hasOption(eoAutoLineBreak)) {
        lineBreak_ = result.lastBreak;
    }
    layout_->documentReset();
    for (TextObserver* o : observers_) {
        o->documentLoaded();
    }
    finishChange(); // a load is a change: the view and OnChange follow
}

bool TextEngine::write(const Document::Sink& sink) const {
    return doc_.write(sink, lineBreak_, hasOption(eoDiscardTrailingSpaces));
}

void TextEngine::setLayout(LineLayout* layout) noexcept {
    layout_ = layout != nullptr ? layout : ownLayout_.get();
    layout_->documentReset();
}

void TextEngine::setOptions(EditorOptions options) {
    const bool discardBefore = hasOption(eoDiscardTrailingSpaces);
    options_ = options;
    if (!discardBefore && hasOption(eoDiscardTrailingSpaces)) {
        // Trailing blanks go at once: the text is saved and reloaded.
        std::string text;
        doc_.write([&](const char* data, std::size_t size) {
            text.append(data, size);
            return true;
        });
        loadBytes(std::move(text));
    }
}

// --- Observers ------------------------------------------------------------------------------

void TextEngine::addObserver(TextObserver* observer) {
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
        observers_.push_back(observer);
    }
}

void TextEngine::removeObserver(TextObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void TextEngine::notifySelection() {
    if (batch_ > 0) {
        selectionInBatch_ = true; // told once, when the batch ends
        return;
    }
    for (TextObserver* o : observers_) {
        o->selectionChanged();
    }
}

void TextEngine::notifyAboutToChange() {
    for (TextObserver* o : observers_) {
        o->textAboutToChange();
    }
}

void TextEngine::notifyChanged(const TextChange& change) {
    try {
        layout_->textChanged(change);
    } catch (const std::bad_alloc&) {
        // The document did change; a layout that could not follow starts over from it
        // rather than keep lines of a text that is gone.
        layout_->documentReset();
    }
    for (TextObserver* o : observers_) {
        o->textChanged(change);
    }
}

void TextEngine::finishChange() {
    notifySelection();
    if (batch_ > 0) {
        changedInBatch_ = true;
        return;
    }
    for (TextObserver* o : observers_) {
        o->updateEnded();
    }
    if (onChange) {
        onChange();
    }
}

// --- Batches --------------------------------------------------------------------------------

void TextEngine::beginUpdate(BatchUndo undo) noexcept {
    if (batch_ == 0) {
        ++batchSerial_;
        changedInBatch_ = false;
        selectionInBatch_ = false;
        eachAloneInBatch_ = undo == BatchUndo::EachAlone;
    }
    ++batch_;
}

void TextEngine::endUpdate() {
    if (batch_ == 0) {
        return;
    }
    if (--batch_ > 0) {
        return;
    }
    if (selectionInBatch_) {
        selectionInBatch_ = false;
        notifySelection();
    }
    for (TextObserver* o : observers_) {
        o->updateEnded();
    }
    if (changedInBatch_) {
        changedInBatch_ = false;
        if (onChange) {
            onChange();
        }
    }
}

// --- Selection ------------------------------------------------------------------------------

void TextEngine::selectionMoved(Pos oldCaret, Pos oldAnchor) {
    if (oldCaret != sel_.caret() || oldAnchor != sel_.anchor()) {
        groupBreak_ = true;
    }
    notifySelection();
}

void TextEngine::setSelStart(Pos position) {
    sel_.collapse(doc_.normalise(position));
    groupBreak_ = true; // any placement of the caret starts a new undo step
    notifySelection();
}

void TextEngine::setSelLength(Pos length) {
    const Pos oldAnchor = sel_.anchor();
    sel_.place(doc_.normalise(sel_.caret() + length), sel_.caret());
    selectionMoved(sel_.caret(), oldAnchor);
}

void TextEngine::select(Pos anchor, Pos caret) {
    const Pos oldCaret = sel_.caret();
    const Pos oldAnchor = sel_.anchor();
    sel_.place(doc_.normalise(anchor), doc_.normalise(caret));
    selectionMoved(oldCaret, oldAnchor);
}

void TextEngine::selectAll() {
    setSelStart(charCount());
    setSelLength(-charCount());
}

void TextEngine::setBlockSelection(Pos anchor, Pos caret, Pos anchorColumn, Pos caretColumn) {
    const Pos oldCaret = sel_.caret();
    const Pos oldAnchor = sel_.anchor();
    sel_.placeBlock(doc_.normalise(anchor), doc_.normalise(caret), anchorColumn, caretColumn);
    selectionMoved(oldCaret, oldAnchor);
}

std::string TextEngine::selText() const {
    return textOf(sel_);
}

std::string TextEngine::textOf(const Selection& selection) const {
    if (!selection.isBlock()) {
        return doc_.textRange(selection.low(), selection.high());
    }
    std::string out;
    const Selection::Block block = selection.block(doc_);
    for (Pos p = block.firstParagraph; p <= block.lastParagraph; ++p) {
        const Pos a = offsetAtColumn(p, block.lowColumn);
        const Pos b = offsetAtColumn(p, block.highColumn);
        const Pos start = doc_.paragraphStart(p);
        out.append(doc_.textRange(start + a, start + b));
        out.append("\r\n");
    }
    return out;
}

Pos TextEngine::getSelTextBuf(char* buffer, Pos size) const {
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    const Pos low = sel_.low();
    const std::string text = doc_.textRange(low, std::min(sel_.high(), low + size - 1));
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = '\0';
    return static_cast<Pos>(text.size());
}

// --- The replace operation ------------------------------------------------------------------

TextChange TextEngine::replaceRange(Pos start, Pos stop, std::string_view text,
                                    std::string* adopt) {
    notifyAboutToChange();
    const TextChange change = adopt != nullptr ? doc_.replace(start, stop, std::move(*adopt))
                                               : doc_.replace(start, stop, text);
    notifyChanged(change);
    return change;
}

void TextEngine::setSelText(std::string_view text) {
    replaceSelection(text, nullptr);
}

void TextEngine::setSelText(std::string&& text) {
    const std::string_view view(text);
    replaceSelection(view, &text);
}

void TextEngine::replaceSelection(std::string_view text, std::string* adopt) {
    std::string substitute;
    if (onBeforeChange) {
        substitute.assign(text);
        onBeforeChange(substitute);
        text = substitute;
        adopt = &substitute;
    }
    sel_.normalise(doc_);
    if (sel_.empty() && text.empty()) {
        return;
    }

    if (sel_.isBlock()) {
        // A column block is deleted row by row inside one batch (so it undoes as one), and
        // the text goes in at its top-left corner.
        beginUpdate();
        try {
            deleteBlock();
            if (!text.empty()) {
                replaceSelection(text, adopt);
            }
        } catch (...) {
            endUpdate();
            throw;
        }
        endUpdate();
        return;
    }

    const Pos low = sel_.low();
    const Pos high = sel_.high();
    // The undo step is planned and its text copied before the change, but the list is
    // touched only after the change succeeded: when memory runs out the document, the
    // selection and the undo and redo steps all stay as they were.
    enum class UndoPlan { None, Join, Add, Clear } record = UndoPlan::None;
    UndoStep* step = nullptr;
    std::string removed;
    const Pos group = batch_ > 0 && !eachAloneInBatch_ ? batchSerial_ : 0;
    if (!undoing_ && undo_.maxLevel() != 0) {
        UndoStep* previous = undo_.lastUndo();
        if (low == high && previous != nullptr && !groupBreak_ && sel_.caret() == previous->end &&
            previous->end != previous->start && previous->group == group) {
            step = previous; // typing on: the same step grows
            record = UndoPlan::Join;
        } else if (undo_.maxSpace() > 0 && high - low + 13 > undo_.maxSpace()) {
            // The removed text alone is over the space limit: the step and every older one
            // would be dropped at once, so the text is not even copied.
            record = UndoPlan::Clear;
        } else {
            removed = doc_.textRange(low, high);
            record = UndoPlan::Add;
        }
    }

    const bool groupBreakBefore = groupBreak_;
    if (record != UndoPlan::None) {
        groupBreak_ = false; // before the change, so that an observer may break it again
    }
    ++batch_; // work the change sets off is not grouped with this step
    TextChange change;
    try {
        change = replaceRange(low, high, text, adopt);
    } catch (...) {
        --batch_;
        groupBreak_ = groupBreakBefore;
        throw;
    }
    --batch_;
    if (record != UndoPlan::None) {
        undo_.dropRedo();
    }
    if (record == UndoPlan::Clear) {
        undo_.clear();
    } else if (record == UndoPlan::Add) {
        try {
            step = undo_.add(low, group, std::move(removed));
        } catch (const std::bad_alloc&) {
            // The change is made; without its step the older ones would undo at the wrong
            // places, so they go too.
            undo_.clear();
            step = nullptr;
        }
    }
    if (step != nullptr) {
        step->end = change.position + change.inserted;
    }
    sel_.collapse(change.position + change.inserted);
    finishChange();
}

// Everything becomes `text` as one undoable step; the caret goes to 0 and the view to the
// top. The Paragraphs view's setText.
void TextEngine::replaceAll(std::string_view text, std::string* adopt) {
    const Selection before = sel_;
    select(0, charCount());
    try {
        replaceSelection(text, adopt);
    } catch (...) {
        // The text is unchanged, and so is where the user was.
        select(before.anchor(), before.caret());
        throw;
    }
    setSelStart(0);
    if (batch_ == 0) {
        for (TextObserver* o : observers_) {
            o->scrollToTopRequested();
        }
    }
}

void TextEngine::deleteBlock() {
    const Selection::Block block = sel_.block(doc_);
    for (Pos p = block.firstParagraph; p <= block.lastParagraph; ++p) {
        const Pos a = offsetAtColumn(p, block.lowColumn);
        const Pos b = offsetAtColumn(p, block.highColumn);
        if (a < b) {
            const Pos start = doc_.paragraphStart(p);
            sel_.place(start + a, start + b);
            replaceSelection(std::string_view(), nullptr);
        }
    }
    sel_.collapse(doc_.paragraphStart(block.firstParagraph) +
                  offsetAtColumn(block.firstParagraph, block.lowColumn));
}

// --- Undo and redo --------------------------------------------------------------------------

void TextEngine::undo() {
    walkSteps(true);
}

void TextEngine::redo() {
    walkSteps(false);
}

// Undo and redo are mirror images: take the step below (undo) or at (redo) the index, put
// its removed text back in place of what it inserted and keep what was there as the step's
// new removed text, so the same step serves the other direction. Steps of one non-zero
// group are walked together.
void TextEngine::walkSteps(bool backwards) {
    auto more = [&] { return backwards ? undo_.canUndo() : undo_.canRedo(); };
    auto next = [&]() -> UndoStep& {
        return backwards ? undo_.stepBelowIndex() : undo_.stepAtIndex();
    };
    if (!more()) {
        return;
    }
    beginUpdate();
    undoing_ = true;
    Pos caretAfter = sel_.caret();
    try {
        while (more()) {
            UndoStep& step = next();
            undo_.moveIndex(backwards ? -1 : 1);
            const Pos sizeBefore = step.size();
            std::string current = doc_.textRange(step.start, step.end);
            std::string restore = std::move(step.removed);
            TextChange change;
            try {
                change = replaceRange(step.start, step.end, restore, &restore);
            } catch (...) {
                // The document is unchanged and `restore` holds the step's text again: the
                // step stays where it was, ready for another try.
                step.removed = std::move(restore);
                undo_.moveIndex(backwards ? 1 : -1);
                throw;
            }
            step.removed = std::move(current);
            step.end = step.start + change.inserted;
            undo_.resize(sizeBefore, step.size());
            caretAfter = step.end;
            const Pos group = step.group;
            if (group == 0 || !more() || next().group != group) {
                break;
            }
        }
    } catch (...) {
        undoing_ = false;
        endUpdate();
        throw;
    }
    undoing_ = false;
    sel_.collapse(caretAfter);
    groupBreak_ = true;
    finishChange();
    endUpdate();
}

} // namespace tavrel
