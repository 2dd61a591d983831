// The searches and replacements of find and replace, and the state they leave for the
// repeat commands.
#include "textcmd/find_replace.h"

#include "editor/text_engine.h"
#include "text/ascii_case.h"

namespace tavrel {

namespace {

std::string clipped(std::string_view text) {
    return std::string(text.substr(0, FindReplace::kMaxTextLength));
}

} // namespace

void FindReplace::setFindText(std::string_view text) {
    find_ = clipped(text);
}

void FindReplace::setReplaceText(std::string_view text) {
    replace_ = clipped(text);
}

bool FindReplace::search(bool forward, bool fromStart) {
    return engine_.searchText(find_, forward, fromStart, options.wholeWord, options.matchCase);
}

FindOutcome FindReplace::dialogFind() {
    nextCaption_ = kFindNextCaption;
    mode_ = RepeatMode::Find;
    const bool found = search(true, true);
    nextEnabled_ = found;
    previousEnabled_ = false;
    return found ? FindOutcome::Found : FindOutcome::NotFound;
}

FindOutcome FindReplace::repeat(bool previous) {
    if (mode_ == RepeatMode::Replace) {
        return replace();
    }
    return previous ? findPrevious() : findNext();
}

FindOutcome FindReplace::findNext() {
    previousEnabled_ = true; // whatever the outcome
    // A forward search starts at the caret, which a forward match leaves at its end, so
    // successive presses walk through the occurrences.
    return search(true, false) ? FindOutcome::Found : FindOutcome::NotFound;
}

FindOutcome FindReplace::findPrevious() {
    // When the current match is selected, the search must start before it, or it would find
    // that match again. A forward match has the caret at its end: the caret steps back over
    // it, within its line. A backward match already has the caret at its start; stepping
    // back there as well would skip a match that ends where this one begins ("catcat").
    const Pos length = engine_.selection().length();
    const Pos size = static_cast<Pos>(find_.size());
    const Pos anchor = engine_.selection().anchor();
    const Pos caret = engine_.selection().caret();
    const bool current = length != 0 && (length == size || length == -size) &&
                         upperAscii(engine_.selText()) == upperAscii(find_);
    if (current) {
        if (length < 0) {
            engine_.lines().setCaretColumn(engine_.lines().caretColumn() - size);
        } else {
            engine_.setSelStart(caret);
        }
    }
    if (search(false, false)) {
        return FindOutcome::Found;
    }
    // Nothing before it: the current match stays selected, as after any failed search.
    if (current) {
        engine_.select(anchor, caret);
    }
    return FindOutcome::NotFound;
}

FindOutcome FindReplace::replace() {
    nextEnabled_ = true;
    nextCaption_ = kReplaceNextCaption;
    mode_ = RepeatMode::Replace;
    if (!search(true, true)) {
        nextEnabled_ = false;
        return FindOutcome::NotFound;
    }
    // Each replacement goes through the replace operation on its own, so each is one undo
    // step; the caret stands after the inserted text, where the next search starts, so a
    // replacement that contains the find text is never replaced again.
    engine_.setSelText(replace_);
    if (options.replaceAll) {
        if (onBusy) {
            onBusy(true);
        }
        // One batch: the view repaints once at the end instead of after every replacement,
        // which on a million replacements is most of the time spent.
        engine_.beginUpdate(TextEngine::BatchUndo::EachAlone);
        try {
            while (search(true, false)) {
                engine_.setSelText(replace_);
            }
        } catch (...) {
            engine_.endUpdate();
            if (onBusy) {
                onBusy(false);
            }
            throw;
        }
        engine_.endUpdate();
        if (onBusy) {
            onBusy(false);
        }
    }
    return FindOutcome::Replaced;
}

} // namespace tavrel
