// Find and replace on the editor engine alone: the dialog's actions, the repeat keys, the
// enabling of the repeat items, and Replace All against a plain re-implementation.
#include "textcmd/find_replace.h"

#include "editor/text_engine.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>

namespace tavrel {
namespace {

using Range = std::pair<Pos, Pos>;

Range selection(const TextEngine& e) {
    return {e.selection().low(), e.selection().high()};
}

struct Finder {
    TextEngine engine;
    FindReplace find{engine};

    explicit Finder(std::string text, std::string what = {}) {
        engine.loadBytes(std::move(text));
        find.setFindText(what);
    }
};

TEST(FindReplace, dialogFindStartsAtTheTopAndF3WalksOnWithoutWrapping) {
    Finder f("cat cat cat", "cat");
    f.engine.setSelStart(11); // the caret at the end does not matter to the dialog
    EXPECT_EQ(f.find.dialogFind(), FindOutcome::Found);
    EXPECT_EQ(selection(f.engine), Range(0, 3));
    EXPECT_EQ(f.find.repeat(false), FindOutcome::Found);
    EXPECT_EQ(selection(f.engine), Range(4, 7));
    EXPECT_EQ(f.find.repeat(false), FindOutcome::Found);
    EXPECT_EQ(selection(f.engine), Range(8, 11));
    EXPECT_EQ(f.find.repeat(false), FindOutcome::NotFound);
    EXPECT_EQ(selection(f.engine), Range(8, 11)); // the third stays selected

    EXPECT_EQ(f.find.repeat(true), FindOutcome::Found); // Ctrl+F3
    EXPECT_EQ(selection(f.engine), Range(4, 7));
    EXPECT_EQ(f.find.repeat(true), FindOutcome::Found);
    EXPECT_EQ(selection(f.engine), Range(0, 3));
    EXPECT_EQ(f.find.repeat(true), FindOutcome::NotFound);
    EXPECT_EQ(selection(f.engine), Range(0, 3));
    // A forward search after a backward match starts at the match: the same one again.
    EXPECT_EQ(f.find.repeat(false), FindOutcome::Found);
    EXPECT_EQ(selection(f.engine), Range(0, 3));
}

TEST(FindReplace, findPreviousDoesNotSkipAMatchThatTouchesTheCurrentOne) {
    Finder f("catcatcat", "cat");
    f.find.dialogFind();
    f.find.findNext();
    f.find.findNext();
    ASSERT_EQ(selection(f.engine), Range(6, 9));
    EXPECT_EQ(f.find.findPrevious(), FindOutcome::Found);
    EXPECT_EQ(selection(f.engine), Range(3, 6));
    EXPECT_EQ(f.find.findPrevious(), FindOutcome::Found);
    EXPECT_EQ(selection(f.engine), Range(0, 3));
}

TEST(FindReplace, findPreviousStepsBackOverTheSelectionOnlyWhenItIsTheFindText) {
    Finder f("cat dog cat", "cat");
    f.engine.select(4, 7); // "dog", caret at its end: not the find text, no step back
    EXPECT_EQ(f.find.findPrevious(), FindOutcome::Found);
    EXPECT_EQ(selection(f.engine), Range(0, 3));
    f.engine.select(8, 11); // "CAT" folded equals it: the search starts before it
    f.find.setFindText("CAT");
    EXPECT_EQ(f.find.findPrevious(), FindOutcome::Found);
    EXPECT_EQ(selection(f.engine), Range(0, 3));
}

TEST(FindReplace, caseFoldingIsAsciiOnly) {
    Finder f("cat", "CAT");
    EXPECT_EQ(f.find.dialogFind(), FindOutcome::Found);
    f.find.options.matchCase = true;
    EXPECT_EQ(f.find.dialogFind(), FindOutcome::NotFound);

    Finder accent("caf\xE9", "CAF\xC9"); // é and É are not folded onto each other
    EXPECT_EQ(accent.find.dialogFind(), FindOutcome::NotFound);
    accent.find.setFindText("CAF\xE9");
    EXPECT_EQ(accent.find.dialogFind(), FindOutcome::Found);
}

TEST(FindReplace, wholeWordsEndAtTheSeparators) {
    Finder f("concat cat", "cat");
    f.find.options.wholeWord = true;
    EXPECT_EQ(f.find.dialogFind(), FindOutcome::Found);
    EXPECT_EQ(selection(f.engine), Range(7, 10));

    Finder period("cat.", "cat");
    period.find.options.wholeWord = true;
    EXPECT_EQ(period.find.dialogFind(), FindOutcome::Found);

    Finder hyphen("cat-x", "cat");
    hyphen.find.options.wholeWord = true;
    EXPECT_EQ(hyphen.find.dialogFind(), FindOutcome::NotFound);
}

TEST(FindReplace, replaceChangesTheFirstOccurrenceFromTheTopEachTime) {
    Finder f("a b a", "a");
    f.find.setReplaceText("aa");
    f.engine.setSelStart(5);
    EXPECT_EQ(f.find.replace(), FindOutcome::Replaced);
    EXPECT_EQ(f.engine.paragraphs().text(), "aa b a");
    EXPECT_EQ(f.find.replace(), FindOutcome::Replaced);
    EXPECT_EQ(f.engine.paragraphs().text(), "aaa b a");
}

TEST(FindReplace, replaceAllStopsAfterTheLastAndEachReplacementUndoesAlone) {
    Finder f("a b a", "a");
    f.find.setReplaceText("aa");
    f.find.options.replaceAll = true;
    EXPECT_EQ(f.find.replace(), FindOutcome::Replaced);
    EXPECT_EQ(f.engine.paragraphs().text(), "aa b aa");
    f.engine.undo();
    EXPECT_EQ(f.engine.paragraphs().text(), "aa b a");
    f.engine.undo();
    EXPECT_EQ(f.engine.paragraphs().text(), "a b a");
    EXPECT_FALSE(f.engine.canUndo());
}

TEST(FindReplace, replaceAllReportsBusyAroundItsLoop) {
    Finder f("x x x", "x");
    f.find.options.replaceAll = true;
    std::string calls;
    f.find.onBusy = [&](bool busy) { calls += busy ? '+' : '-'; };
    f.find.replace();
    EXPECT_EQ(calls, "+-");
    EXPECT_EQ(f.engine.paragraphs().text(), "  ");
}

TEST(FindReplace, repeatItemsFollowTheActions) {
    Finder f("cat dog", "cat");
    EXPECT_FALSE(f.find.nextEnabled());
    EXPECT_FALSE(f.find.previousEnabled());
    EXPECT_EQ(f.find.nextCaptionText(), 0);

    f.find.dialogFind();
    EXPECT_TRUE(f.find.nextEnabled());
    EXPECT_FALSE(f.find.previousEnabled());
    EXPECT_EQ(f.find.nextCaptionText(), 108);
    EXPECT_EQ(f.find.repeatMode(), RepeatMode::Find);

    f.find.repeat(false); // fails, yet Previous is enabled and Next stays as it was
    EXPECT_TRUE(f.find.previousEnabled());
    EXPECT_TRUE(f.find.nextEnabled());

    f.find.setFindText("cow");
    f.find.dialogFind();
    EXPECT_FALSE(f.find.nextEnabled());
    EXPECT_FALSE(f.find.previousEnabled());

    f.find.setFindText("dog");
    f.find.setReplaceText("cow");
    EXPECT_EQ(f.find.replace(), FindOutcome::Replaced);
    EXPECT_TRUE(f.find.nextEnabled());
    EXPECT_FALSE(f.find.previousEnabled()); // unchanged by a replace
    EXPECT_EQ(f.find.nextCaptionText(), 110);
    EXPECT_EQ(f.find.repeatMode(), RepeatMode::Replace);

    // Replace All of an absent text: not found, and Next is disabled again.
    f.find.options.replaceAll = true;
    EXPECT_EQ(f.find.replace(), FindOutcome::NotFound);
    EXPECT_FALSE(f.find.nextEnabled());
    EXPECT_EQ(f.engine.paragraphs().text(), "cat cow");
}

TEST(FindReplace, bothRepeatKeysReplaceAfterAReplace) {
    Finder f("a a a a", "a");
    f.find.setReplaceText("b");
    f.find.replace();
    EXPECT_EQ(f.engine.paragraphs().text(), "b a a a");
    EXPECT_EQ(f.find.repeat(false), FindOutcome::Replaced);
    EXPECT_EQ(f.engine.paragraphs().text(), "b b a a");
    EXPECT_EQ(f.find.repeat(true), FindOutcome::Replaced);
    EXPECT_EQ(f.engine.paragraphs().text(), "b b b a");
}

TEST(FindReplace, emptyOrMultiLineFindTextsNeverMatch) {
    Finder f("one\r\ntwo", "");
    EXPECT_EQ(f.find.dialogFind(), FindOutcome::NotFound);
    f.find.setFindText("one\r\ntwo");
    EXPECT_EQ(f.find.dialogFind(), FindOutcome::NotFound);
    f.find.setFindText("e\r\nt");
    f.find.options.replaceAll = true;
    EXPECT_EQ(f.find.replace(), FindOutcome::NotFound);
    EXPECT_EQ(f.engine.paragraphs().text(), "one\r\ntwo");
    EXPECT_EQ(selection(f.engine), Range(0, 0)); // a failed search leaves the selection
}

TEST(FindReplace, textsAreCutToTheFieldLength) {
    TextEngine e;
    FindReplace find(e);
    find.setFindText(std::string(300, 'f'));
    find.setReplaceText(std::string(256, 'r'));
    EXPECT_EQ(find.findText(), std::string(255, 'f'));
    EXPECT_EQ(find.replaceText(), std::string(255, 'r'));
}

// The plain rule Replace All follows: left to right, never inside what was just inserted,
// a match never spans a line break, case folded on a-z only.
std::string plainReplaceAll(const std::string& text, const std::string& what,
                            const std::string& with, bool matchCase) {
    const auto fold = [&](char c) {
        return (!matchCase && c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    };
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        bool hit = i + what.size() <= text.size();
        for (std::size_t k = 0; hit && k < what.size(); ++k) {
            hit = fold(text[i + k]) == fold(what[k]);
        }
        if (hit) {
            out += with;
            i += what.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

TEST(FindReplace, replaceAllAgreesWithAPlainReimplementation) {
    std::mt19937 random(1234);
    const std::string alphabet = "abAB \r\n";
    const std::pair<const char*, const char*> cases[] = {
        {"ab", "b"}, {"a", "aa"}, {"Ab", ""}, {"bb", "abba"}, {"aba", "x"}};
    for (int round = 0; round < 200; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 200);
        for (int i = 0; i < length; ++i) {
            text += alphabet[random() % alphabet.size()];
        }
        // Line breaks as the engine keeps them: CR LF pairs only.
        std::string normal;
        for (char c : text) {
            if (c == '\r' || c == '\n') {
                normal += "\r\n";
            } else {
                normal += c;
            }
        }
        const auto& [what, with] = cases[round % 5];
        const bool matchCase = (round / 5) % 2 == 0;
        Finder f(normal, what);
        f.find.setReplaceText(with);
        f.find.options.replaceAll = true;
        f.find.options.matchCase = matchCase;
        f.find.replace();
        EXPECT_EQ(f.engine.paragraphs().text(), plainReplaceAll(normal, what, with, matchCase))
            << "text: " << normal << " find: " << what << " replace: " << with;
    }
}

} // namespace
} // namespace tavrel
