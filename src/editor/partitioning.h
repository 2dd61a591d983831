// The starts of consecutive partitions (paragraphs of a document, display lines of a layout)
// in one gap vector, with a lazily applied shift: an edit adds its length change to every
// later start only when those starts are next read, so typing at the top of a document
// with a million paragraphs does not walk them all.
#pragma once

#include <cassert>
#include <string>

#include "editor/gap_vector.h"
#include "editor/types.h"

namespace tavrel {

class Partitioning {
public:
    // One empty partition starting at 0.
    Partitioning() {
        body_.push_back(0);
        body_.push_back(0);
    }

    // Number of partitions (at least 1).
    [[nodiscard]] Pos partitions() const noexcept { return body_.size() - 1; }

    // Start of partition p; start(partitions()) is the total length.
    [[nodiscard]] Pos start(Pos p) const noexcept {
        assert(p >= 0 && p <= partitions());
        Pos value = body_[p];
        if (p > stepPartition_) {
            value += stepLength_;
        }
        return value;
    }

    // The partition holding `position`; positions at or past the end give the last one.
    [[nodiscard]] Pos partitionFromPosition(Pos position) const noexcept {
        if (partitions() <= 1 || position <= 0) {
            return 0;
        }
        if (position >= start(partitions())) {
            return partitions() - 1;
        }
        Pos lower = 0;
        Pos upper = partitions();
        while (lower < upper) {
            const Pos middle = lower + (upper - lower + 1) / 2;
            if (position < start(middle)) {
                upper = middle - 1;
            } else {
                lower = middle;
            }
        }
        return lower;
    }

    // Adds delta to the start of every partition after `partition` (and to the total).
    void shiftAfter(Pos partition, Pos delta) {
        if (delta == 0) {
            return;
        }
        if (stepLength_ != 0) {
            if (partition >= stepPartition_) {
                applyStep(partition);
                stepLength_ += delta;
            } else if (partition >= stepPartition_ - partitions() / 10) {
                backStep(partition);
                stepLength_ += delta;
            } else {
                applyStep(partitions());
                stepPartition_ = partition;
                stepLength_ = delta;
            }
        } else {
            stepPartition_ = partition;
            stepLength_ = delta;
        }
    }

    // Inserts n partitions before partition p (1 <= p <= partitions()); their starts are
    // written into the returned array by the caller, as final (already shifted) values.
    Pos* insertPartitions(Pos p, Pos n) {
        assert(p >= 1 && p <= partitions() && n >= 0);
        if (stepPartition_ < p) {
            applyStep(p);
        }
        Pos* inserted = body_.insertUninitialised(p, n);
        stepPartition_ += n;
        return inserted;
    }

    // Removes partitions p .. p+n-1 (p >= 1): each merges into the partition before it.
    void removePartitions(Pos p, Pos n) {
        assert(p >= 1 && n >= 0 && p + n <= partitions());
        if (n == 0) {
            return;
        }
        if (p + n - 1 > stepPartition_) {
            applyStep(p + n - 1);
        }
        stepPartition_ -= n;
        body_.erase(p, n);
    }

    // Room for this many partitions, so that inserting up to them cannot fail for memory.
    void reserve(Pos partitionCount) { body_.reserve(partitionCount + 1); }

    // Back to one empty partition, keeping the allocation.
    void reset() {
        body_.clear();
        body_.push_back(0);
        body_.push_back(0);
        stepPartition_ = 0;
        stepLength_ = 0;
    }

    // Builds the partitions from scratch: the caller appends starts in order and then the
    // total with finishAppend. Used by the loader, which knows every start in turn.
    // `expected` partitions get room (more may be appended).
    void beginAppend(Pos expected) {
        body_.clear();
        body_.reserve(expected + 1);
        stepPartition_ = 0;
        stepLength_ = 0;
    }
    void append(Pos startPosition) { body_.push_back(startPosition); }
    // With `insertsFrom` > 0 the room reserved by beginAppend is kept, as the gap before
    // that partition: partitions that will be inserted there, in order, then cost no
    // growth and no move of everything after them (moves of tens of megabytes that would
    // otherwise fall into whatever edit or slice inserts first).
    void finishAppend(Pos total, Pos insertsFrom = 0) {
        body_.push_back(total);
        stepPartition_ = partitions();
        if (insertsFrom > 0) {
            body_.insertUninitialised(insertsFrom, 0);
        } else {
            body_.shrinkToFit();
        }
    }

    // The rules every change keeps, for the tests: empty when they hold, else the first one
    // broken. There is at least one partition, the first starts at 0, no start lies before
    // the one before it, and the pending shift belongs to a partition that exists.
    [[nodiscard]] std::string check() const {
        if (body_.size() < 2) {
            return "no partition";
        }
        if (stepPartition_ < 0 || stepPartition_ > partitions()) {
            return "a shift pending after partition " + std::to_string(stepPartition_) + " of " +
                   std::to_string(partitions());
        }
        if (start(0) != 0) {
            return "partition 0 starts at " + std::to_string(start(0));
        }
        for (Pos p = 1; p <= partitions(); ++p) {
            if (start(p) < start(p - 1)) {
                return "partition " + std::to_string(p) + " starts at " + std::to_string(start(p)) +
                       ", before partition " + std::to_string(p - 1) + " at " +
                       std::to_string(start(p - 1));
            }
        }
        return {};
    }

private:
    void applyStep(Pos upTo) {
        if (stepLength_ != 0) {
            for (Pos i = stepPartition_ + 1; i <= upTo; ++i) {
                body_[i] += stepLength_;
            }
        }
        stepPartition_ = upTo;
        if (stepPartition_ >= partitions()) {
            stepPartition_ = partitions();
            stepLength_ = 0;
        }
    }

    void backStep(Pos downTo) {
        if (stepLength_ != 0) {
            for (Pos i = downTo + 1; i <= stepPartition_; ++i) {
                body_[i] -= stepLength_;
            }
        }
        stepPartition_ = downTo;
    }

    GapVector<Pos> body_;
    // Starts of partitions with an index above stepPartition_ still lack stepLength_.
    Pos stepPartition_ = 0;
    Pos stepLength_ = 0;
};

} // namespace tavrel
