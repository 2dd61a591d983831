// Undo steps and their limits.
#include "editor/undo_list.h"

#include <stdexcept>

namespace tavrel {

void UndoList::setMaxLevel(Pos level) {
    if (level > kMaxLevelLimit) {
        throw std::invalid_argument("Undo set too high");
    }
    maxLevel_ = level < 0 ? 0 : level;
}

void UndoList::clear() noexcept {
    steps_.clear();
    index_ = 0;
    used_ = 0;
}

void UndoList::dropRedo() noexcept {
    while (static_cast<Pos>(steps_.size()) > index_) {
        used_ -= steps_.back().size();
        steps_.pop_back();
    }
}

void UndoList::dropOldest() noexcept {
    used_ -= steps_.front().size();
    steps_.pop_front();
    --index_;
}

UndoStep* UndoList::add(Pos start, Pos group, std::string removed) {
    if (maxLevel_ > 0) {
        while (index_ >= maxLevel_) {
            dropOldest();
        }
    }
    steps_.push_back(UndoStep{start, start, group, std::move(removed)});
    used_ += steps_.back().size();
    ++index_;
    if (maxSpace_ > 0 && used_ > maxSpace_) {
        dropRedo();
        while (used_ > maxSpace_ && index_ > 0) {
            dropOldest();
        }
        if (index_ == 0) {
            return nullptr; // the step alone was over the limit and went with the rest
        }
    }
    return &steps_.back();
}

} // namespace tavrel
