// Random edits, undos and redos always restore the exact text and keep the engine's
// invariants; a model string checks every step.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/fake_layout.h"
#include "editor/text_engine.h"

namespace tavrel {
namespace {

// Mirrors the engine's rule: a position between CR and LF means the end before the CR.
Pos normalised(const std::string& text, Pos p) {
    p = std::clamp<Pos>(p, 0, static_cast<Pos>(text.size()));
    if (p > 0 && p < static_cast<Pos>(text.size()) && text[p - 1] == '\r' && text[p] == '\n') {
        --p;
    }
    return p;
}

std::string randomText(std::mt19937& random) {
    static const char* const pieces[] = {"a", "b", " ", "\r\n", "xyz", "\t", "\xDB\xB1"};
    std::string out;
    const int n = static_cast<int>(random() % 6);
    for (int i = 0; i < n; ++i) {
        out += pieces[random() % 7];
    }
    return out;
}

class EngineProperty : public testing::TestWithParam<int> {};

TEST_P(EngineProperty, randomEditsUndoAndRedoRestoreTheText) {
    std::mt19937 random(static_cast<unsigned>(GetParam()));
    TextEngine e;
    e.setUndoMaxLevel(100000);
    e.setUndoMaxSpace(0);
    std::string initial = "first line\r\nsecond\r\n\r\nlast";
    e.loadBytes(std::string(initial));
    test::FixedWidthLayout layout(e.document(), 1 + static_cast<Pos>(random() % 7));
    if (random() % 2 == 0) {
        e.setLayout(&layout);
    }
    std::string model = initial;
    std::vector<std::string> history{model};

    for (int step = 0; step < 300; ++step) {
        const int action = static_cast<int>(random() % 10);
        if (action < 7) {
            const Pos size = static_cast<Pos>(model.size());
            const Pos a = normalised(model, static_cast<Pos>(random() % (size + 1)));
            const Pos b =
                random() % 3 == 0 ? a : normalised(model, static_cast<Pos>(random() % (size + 1)));
            if (random() % 2 == 0) {
                e.select(a, b);
            } else {
                e.setSelStart(b);
                e.setSelLength(a - b);
            }
            const std::string text = randomText(random);
            e.setSelText(text);
            const Pos low = std::min(a, b);
            model.replace(static_cast<std::size_t>(low),
                          static_cast<std::size_t>(std::max(a, b) - low), text);
            EXPECT_EQ(e.selection().caret(), low + static_cast<Pos>(text.size()));
        } else if (action < 9) {
            e.undo();
        } else {
            e.redo();
        }
        if (action >= 7) {
            model = e.paragraphs().text(); // undo granularity is checked below
        }
        ASSERT_EQ(e.paragraphs().text(), model) << "step " << step;
        if (step % 5 == 0) { // search agrees with a plain scan of the model, both ways
            const std::string pattern = randomText(random).substr(0, 2);
            const std::size_t from =
                static_cast<std::size_t>(normalised(model, random() % (model.size() + 1)));
            if (!pattern.empty() && pattern.find_first_of("\r\n") == std::string::npos) {
                e.setSelStart(static_cast<Pos>(from));
                const std::size_t forward = model.find(pattern, from);
                ASSERT_EQ(e.searchText(pattern, true, false, false, true),
                          forward != std::string::npos);
                if (forward != std::string::npos) {
                    ASSERT_EQ(e.selection().caret(), static_cast<Pos>(forward + pattern.size()));
                }
                e.setSelStart(static_cast<Pos>(from));
                // backward: the last occurrence starting before `from`
                const std::size_t backward =
                    from == 0 ? std::string::npos : model.rfind(pattern, from - 1);
                ASSERT_EQ(e.searchText(pattern, false, false, false, true),
                          backward != std::string::npos);
                if (backward != std::string::npos) {
                    ASSERT_EQ(e.selection().caret(), static_cast<Pos>(backward));
                }
            }
        }
        ASSERT_EQ(e.charCount(), static_cast<Pos>(model.size()));
        ASSERT_EQ(e.consistencyCheck(), "") << "step " << step;
    }
    while (e.canRedo()) { // the last actions may have been undos
        e.redo();
    }
    const std::string final = e.paragraphs().text();
    while (e.canUndo()) {
        e.undo();
        ASSERT_EQ(e.consistencyCheck(), "");
    }
    EXPECT_EQ(e.paragraphs().text(), initial);
    while (e.canRedo()) {
        e.redo();
    }
    EXPECT_EQ(e.paragraphs().text(), final);
}

INSTANTIATE_TEST_SUITE_P(Seeds, EngineProperty, testing::Range(1, 41));

} // namespace
} // namespace tavrel
