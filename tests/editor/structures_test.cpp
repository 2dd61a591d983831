// The engine's bottom structures on their own: GapVector and Partitioning driven by random
// operations beside a plain std::vector that does the same the obvious way, Partitioning's
// lazy shift provoked forwards and backwards, and UndoList's two limits.
#include "editor/gap_vector.h"
#include "editor/partitioning.h"
#include "editor/undo_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavrel {
namespace {

void expectSameElements(const GapVector<std::int64_t>& gap,
                        const std::vector<std::int64_t>& plain) {
    ASSERT_EQ(gap.size(), static_cast<Pos>(plain.size()));
    for (std::size_t i = 0; i < plain.size(); ++i) {
        ASSERT_EQ(gap[static_cast<Pos>(i)], plain[i]) << "element " << i;
    }
    // The contiguous runs segment() hands out cover the same elements in order.
    Pos i = 0;
    while (i < gap.size()) {
        Pos count = 0;
        const std::int64_t* run = gap.segment(i, &count);
        ASSERT_GT(count, 0);
        ASSERT_LE(i + count, gap.size());
        for (Pos k = 0; k < count; ++k) {
            ASSERT_EQ(run[k], plain[static_cast<std::size_t>(i + k)]) << "segment at " << i;
        }
        i += count;
    }
}

TEST(GapVector, randomEditsMatchAPlainVector) {
    std::mt19937 random(20261207);
    GapVector<std::int64_t> gap;
    std::vector<std::int64_t> plain;
    for (int step = 0; step < 20000; ++step) {
        const auto size = static_cast<Pos>(plain.size());
        const int op = std::uniform_int_distribution<int>(0, 9)(random);
        const std::int64_t value = random();
        if (op <= 2) {
            const Pos at = std::uniform_int_distribution<Pos>(0, size)(random);
            gap.insert(at, value);
            plain.insert(plain.begin() + at, value);
        } else if (op == 3) {
            gap.push_back(value);
            plain.push_back(value);
        } else if (op == 4) {
            const Pos at = std::uniform_int_distribution<Pos>(0, size)(random);
            const Pos n = std::uniform_int_distribution<Pos>(0, 40)(random);
            std::int64_t* slot = gap.insertUninitialised(at, n);
            std::vector<std::int64_t> values;
            for (Pos k = 0; k < n; ++k) {
                slot[k] = value + k;
                values.push_back(value + k);
            }
            plain.insert(plain.begin() + at, values.begin(), values.end());
        } else if (op <= 7 && size > 0) {
            const Pos at = std::uniform_int_distribution<Pos>(0, size - 1)(random);
            const Pos n =
                std::uniform_int_distribution<Pos>(0, std::min<Pos>(size - at, 30))(random);
            gap.erase(at, n);
            plain.erase(plain.begin() + at, plain.begin() + at + n);
        } else if (op == 8 && size > 0) {
            const Pos at = std::uniform_int_distribution<Pos>(0, size - 1)(random);
            gap[at] = value;
            plain[static_cast<std::size_t>(at)] = value;
        } else if (step % 500 == 0) {
            gap.shrinkToFit();
            EXPECT_EQ(gap.capacity(), gap.size());
        }
        if (step % 97 == 0) {
            expectSameElements(gap, plain);
        }
    }
    expectSameElements(gap, plain);
    // Erasing everything at once and starting again.
    gap.erase(0, gap.size());
    plain.clear();
    gap.push_back(7);
    plain.push_back(7);
    expectSameElements(gap, plain);
}

TEST(GapVector, aMovedFromVectorIsEmptyAndTheTargetKeepsTheElements) {
    GapVector<std::int64_t> source;
    for (std::int64_t i = 0; i < 100; ++i) {
        source.insert(0, i); // the gap moves to the front each time
    }
    GapVector<std::int64_t> target(std::move(source));
    EXPECT_EQ(source.size(), 0); // NOLINT(bugprone-use-after-move): the state is promised
    ASSERT_EQ(target.size(), 100);
    EXPECT_EQ(target[0], 99);
    EXPECT_EQ(target[99], 0);
}

// Partitioning beside a plain vector of starts (the total length last), kept up to date by
// adding every shift to every later start at once.
class PlainPartitions {
public:
    std::vector<Pos> starts{0, 0};

    [[nodiscard]] Pos partitions() const { return static_cast<Pos>(starts.size()) - 1; }
    void shiftAfter(Pos partition, Pos delta) {
        for (std::size_t i = static_cast<std::size_t>(partition) + 1; i < starts.size(); ++i) {
            starts[i] += delta;
        }
    }
    [[nodiscard]] Pos partitionFromPosition(Pos position) const {
        Pos found = 0;
        for (Pos p = 0; p < partitions(); ++p) {
            if (starts[static_cast<std::size_t>(p)] <= position) {
                found = p;
            }
        }
        return found;
    }
};

void expectSamePartitions(const Partitioning& lazy, const PlainPartitions& plain) {
    ASSERT_EQ(lazy.check(), "");
    ASSERT_EQ(lazy.partitions(), plain.partitions());
    for (Pos p = 0; p <= plain.partitions(); ++p) {
        ASSERT_EQ(lazy.start(p), plain.starts[static_cast<std::size_t>(p)]) << "start " << p;
    }
}

// Text is inserted at a position and may add line breaks; text is removed within or across
// partitions. Each operation keeps the starts ascending, as the document keeps them.
TEST(Partitioning, randomEditsMatchStartsShiftedAtOnce) {
    std::mt19937 random(7);
    Partitioning lazy;
    PlainPartitions plain;
    for (int step = 0; step < 6000; ++step) {
        const Pos total = plain.starts.back();
        const int op = std::uniform_int_distribution<int>(0, 5)(random);
        if (op <= 2) {
            // Insert `length` characters at `position`, with a break after the first one when
            // op is 0: the new partition starts right after it.
            const Pos position = std::uniform_int_distribution<Pos>(0, total)(random);
            const Pos length = std::uniform_int_distribution<Pos>(1, 50)(random);
            const Pos p = plain.partitionFromPosition(position);
            lazy.shiftAfter(p, length);
            plain.shiftAfter(p, length);
            if (op == 0) {
                *lazy.insertPartitions(p + 1, 1) = position + 1;
                plain.starts.insert(plain.starts.begin() + p + 1, position + 1);
            }
        } else if (op <= 4 && total > 0) {
            // Remove [from, to) and the partitions that start inside it.
            const Pos from = std::uniform_int_distribution<Pos>(0, total - 1)(random);
            const Pos to =
                std::min(total, from + std::uniform_int_distribution<Pos>(1, 80)(random));
            const Pos first = plain.partitionFromPosition(from);
            Pos last = first;
            while (last + 1 < plain.partitions() &&
                   plain.starts[static_cast<std::size_t>(last + 1)] <= to) {
                ++last;
            }
            // Partitions first+1 .. last start inside the removed text and go.
            const Pos n = last - first;
            if (n > 0) {
                lazy.removePartitions(first + 1, n);
                plain.starts.erase(plain.starts.begin() + first + 1,
                                   plain.starts.begin() + first + 1 + n);
            }
            lazy.shiftAfter(first, from - to);
            plain.shiftAfter(first, from - to);
        } else if (step % 1000 == 999) {
            lazy.reset();
            plain.starts = {0, 0};
        }
        if (step % 53 == 0) {
            expectSamePartitions(lazy, plain);
            const Pos probe = std::uniform_int_distribution<Pos>(0, plain.starts.back())(random);
            ASSERT_EQ(lazy.partitionFromPosition(probe), plain.partitionFromPosition(probe));
        }
    }
    expectSamePartitions(lazy, plain);
}

// Builds partitions of ten characters each, starting 0, 10, 20, ...
void buildEvenPartitions(Partitioning& lazy, PlainPartitions& plain, Pos count) {
    lazy.beginAppend(count);
    plain.starts.clear();
    for (Pos p = 0; p < count; ++p) {
        lazy.append(p * 10);
        plain.starts.push_back(p * 10);
    }
    lazy.finishAppend(count * 10);
    plain.starts.push_back(count * 10);
}

// Typing moves backwards through a document: each edit lies a little before the pending
// shift, where the shift is taken back over the few starts between rather than applied to
// the whole rest. A fault there adds the shift twice or not at all.
TEST(Partitioning, editsStepByStepBackwardsTakeThePendingShiftBack) {
    Partitioning lazy;
    PlainPartitions plain;
    buildEvenPartitions(lazy, plain, 1000);
    for (Pos p = 900; p >= 880; --p) {
        lazy.shiftAfter(p, 3);
        plain.shiftAfter(p, 3);
    }
    expectSamePartitions(lazy, plain);
    // Then forwards past the pending step, and far back before it (the whole step applied).
    lazy.shiftAfter(950, -2);
    plain.shiftAfter(950, -2);
    lazy.shiftAfter(10, 5);
    plain.shiftAfter(10, 5);
    expectSamePartitions(lazy, plain);
    EXPECT_EQ(lazy.partitionFromPosition(plain.starts[500]), 500);
    EXPECT_EQ(lazy.partitionFromPosition(plain.starts[500] - 1), 499);
    EXPECT_EQ(lazy.partitionFromPosition(plain.starts.back() + 100), 999);
}

TEST(Partitioning, insertingAndRemovingAroundThePendingShift) {
    Partitioning lazy;
    PlainPartitions plain;
    buildEvenPartitions(lazy, plain, 100);
    lazy.shiftAfter(50, 4);
    plain.shiftAfter(50, 4);
    // Insert before the pending step: the starts after it must still get the shift.
    *lazy.insertPartitions(20, 1) = 195;
    plain.starts.insert(plain.starts.begin() + 20, 195);
    expectSamePartitions(lazy, plain);
    // Remove partitions after the pending step.
    lazy.removePartitions(70, 5);
    plain.starts.erase(plain.starts.begin() + 70, plain.starts.begin() + 75);
    expectSamePartitions(lazy, plain);
    // Remove across it.
    lazy.shiftAfter(40, 6);
    plain.shiftAfter(40, 6);
    lazy.removePartitions(38, 6);
    plain.starts.erase(plain.starts.begin() + 38, plain.starts.begin() + 44);
    expectSamePartitions(lazy, plain);
}

// The check finds a start that was written wrongly, even behind a pending shift.
TEST(Partitioning, theCheckNamesAStartBeforeTheOneBeforeIt) {
    Partitioning lazy;
    PlainPartitions plain;
    buildEvenPartitions(lazy, plain, 10);
    lazy.shiftAfter(2, 5);
    EXPECT_EQ(lazy.check(), "");
    *lazy.insertPartitions(6, 1) = 30; // partition 5 starts at 55 once shifted
    EXPECT_EQ(lazy.check(), "partition 6 starts at 30, before partition 5 at 55");
}

TEST(UndoList, theLevelLimitDropsTheOldestSteps) {
    UndoList undo;
    undo.setMaxLevel(3);
    for (Pos i = 0; i < 5; ++i) {
        ASSERT_NE(undo.add(i * 10, 0, std::string(1, static_cast<char>('a' + i))), nullptr);
    }
    EXPECT_EQ(undo.undoCount(), 3);
    EXPECT_EQ(undo.stepBelowIndex().removed, "e");
    undo.moveIndex(-3); // undo all three
    EXPECT_FALSE(undo.canUndo());
    EXPECT_EQ(undo.redoCount(), 3);
    EXPECT_EQ(undo.stepAtIndex().removed, "c"); // "a" and "b" went
    EXPECT_THROW(undo.setMaxLevel(UndoList::kMaxLevelLimit + 1), std::invalid_argument);
    EXPECT_NO_THROW(undo.setMaxLevel(UndoList::kMaxLevelLimit));
}

TEST(UndoList, theSpaceLimitCountsTextAndRecordAndDropsRedoFirst) {
    UndoList undo;
    undo.setMaxSpace(100);
    const std::string thirty(30, 'x'); // counts 30 + 13 = 43
    ASSERT_NE(undo.add(0, 0, thirty), nullptr);
    ASSERT_NE(undo.add(0, 0, thirty), nullptr);
    EXPECT_EQ(undo.usedSpace(), 86);
    undo.moveIndex(-1); // one step becomes a redo step
    // A new step after an undo: the redo step goes before any undo step is given up.
    undo.dropRedo();
    EXPECT_EQ(undo.usedSpace(), 43);
    ASSERT_NE(undo.add(5, 0, thirty), nullptr);
    EXPECT_EQ(undo.undoCount(), 2);
    // A third one is over the limit: the oldest goes.
    ASSERT_NE(undo.add(9, 0, thirty), nullptr);
    EXPECT_EQ(undo.undoCount(), 2);
    EXPECT_EQ(undo.usedSpace(), 86);
    EXPECT_EQ(undo.stepBelowIndex().start, 9);
    // A step larger than the whole limit cannot be kept, and takes the others with it.
    EXPECT_EQ(undo.add(0, 0, std::string(200, 'y')), nullptr);
    EXPECT_EQ(undo.undoCount(), 0);
    EXPECT_EQ(undo.usedSpace(), 0);
}

TEST(UndoList, resizeRecountsAJoinedStep) {
    UndoList undo;
    UndoStep* step = undo.add(0, 1, "ab");
    ASSERT_NE(step, nullptr);
    const Pos before = step->size();
    step->removed += "cdef";
    undo.resize(before, step->size());
    EXPECT_EQ(undo.usedSpace(), 6 + 13);
    undo.clear();
    EXPECT_EQ(undo.usedSpace(), 0);
    EXPECT_FALSE(undo.canUndo());
    EXPECT_FALSE(undo.canRedo());
}

} // namespace
} // namespace tavrel
