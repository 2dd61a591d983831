// The undo and redo steps of one editor, with their two limits: a number of steps and a
// number of bytes. Each step remembers a range of the document and the text it replaced.
#pragma once

#include <deque>
#include <string>

#include "editor/types.h"

namespace tavrel {

struct UndoStep {
    Pos start = 0;
    Pos end = 0;   // end of the text the step inserted
    Pos group = 0; // steps of the same non-zero group undo together
    std::string removed;
    // The space a step counts for: its text plus the record's own fields.
    [[nodiscard]] Pos size() const noexcept { return static_cast<Pos>(removed.size()) + 13; }
};

class UndoList {
public:
    static constexpr Pos kMaxLevelLimit = 134217727;

    [[nodiscard]] Pos maxLevel() const noexcept { return maxLevel_; }
    // Throws std::invalid_argument("Undo set too high") above kMaxLevelLimit; 0 disables undo.
    void setMaxLevel(Pos level);
    [[nodiscard]] Pos maxSpace() const noexcept { return maxSpace_; }
    // 0 or less: no limit.
    void setMaxSpace(Pos space) noexcept { maxSpace_ = space; }

    [[nodiscard]] bool canUndo() const noexcept { return index_ > 0; }
    [[nodiscard]] bool canRedo() const noexcept { return index_ < static_cast<Pos>(steps_.size()); }
    [[nodiscard]] Pos undoCount() const noexcept { return index_; }
    [[nodiscard]] Pos redoCount() const noexcept {
        return static_cast<Pos>(steps_.size()) - index_;
    }
    [[nodiscard]] Pos usedSpace() const noexcept { return used_; }
    void clear() noexcept;

    // Recording: drop the redo steps, then either join the previous step (returned) or
    // add a new one. A new step may be dropped at once by the space limit; then the
    // result is null.
    void dropRedo() noexcept;
    [[nodiscard]] UndoStep* lastUndo() noexcept {
        return index_ > 0 ? &steps_[static_cast<std::size_t>(index_ - 1)] : nullptr;
    }
    UndoStep* add(Pos start, Pos group, std::string removed);
    // Re-counts a step whose removed text changed size (the joined step or a swap).
    void resize(Pos before, Pos after) noexcept { used_ += after - before; }

    // Undo and redo walk the list; the engine applies each step and swaps its text.
    [[nodiscard]] UndoStep& stepBelowIndex() noexcept {
        return steps_[static_cast<std::size_t>(index_ - 1)];
    }
    [[nodiscard]] UndoStep& stepAtIndex() noexcept {
        return steps_[static_cast<std::size_t>(index_)];
    }
    void moveIndex(Pos delta) noexcept { index_ += delta; }

private:
    void dropOldest() noexcept;

    std::deque<UndoStep> steps_;
    Pos index_ = 0; // steps below are undo steps, from here on redo steps
    Pos used_ = 0;
    Pos maxLevel_ = 65536;
    Pos maxSpace_ = 4194304;
};

} // namespace tavrel
