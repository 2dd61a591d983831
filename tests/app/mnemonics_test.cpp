// Automatic menu mnemonics: which letter each caption gets, and which captions keep theirs.
#include "app/mnemonics.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

using Captions = std::vector<std::u16string>;

TEST(Mnemonics, theMarkerIsASingleAmpersandBeforeACharacter) {
    EXPECT_EQ(mnemonicOf(u"E&xit"), u'x');
    EXPECT_EQ(mnemonicOf(u"Drag && Drop"), std::nullopt);
    EXPECT_EQ(mnemonicOf(u"A && &B"), u'B');
    EXPECT_EQ(mnemonicOf(u"Trailing&"), std::nullopt);
    EXPECT_EQ(mnemonicOf(u""), std::nullopt);
}

TEST(Mnemonics, wordStartsFirstThenAnyFreeLetterAndGivenOnesAreKept) {
    const Captions given = withMnemonics({u"New", u"Open...", u"Save", u"Save as...", u"E&xit",
                                          u"Set Background Color...", u"Nothing"});
    EXPECT_EQ(given, (Captions{u"&New", u"&Open...", u"&Save", u"Save &as...", u"E&xit",
                               u"Set &Background Color...", u"No&thing"}))
        << "Nothing: n and o are taken (case folded), t is the next free letter";
}

TEST(Mnemonics, anEarlierItemMovesToAnotherLetterWhenALaterOneHasNoneLeft) {
    // "A" has only a; "Ab" gives it up for b. Along a chain: "B" takes b from "Bc", which
    // takes c from "Cab", which takes a; "A" then has no letter to be had.
    EXPECT_EQ(withMnemonics({u"Ab", u"A"}), (Captions{u"A&b", u"&A"}));
    EXPECT_EQ(withMnemonics({u"Bc", u"Cab", u"B", u"A"}), (Captions{u"B&c", u"C&ab", u"&B", u"A"}));
    // Keys given by the language file and the window's other keys are never moved.
    EXPECT_EQ(withMnemonics({u"&Ab", u"A"}), (Captions{u"&Ab", u"A"}));
    EXPECT_EQ(withMnemonics({u"Xa", u"X"}, u"a"), (Captions{u"&Xa", u"X"}));
}

TEST(Mnemonics, lettersFoldSoCaseDoesNotMakeASecondKey) {
    EXPECT_EQ(withMnemonics({u"&undo", u"Undo"}), (Captions{u"&undo", u"U&ndo"}));
    // Latin-1 letters count, in both cases, where no letter every keyboard has is free.
    EXPECT_EQ(withMnemonics({u"\u00D6ffnen", u"\u00D6", u"\u00F6"}),
              (Captions{u"\u00D6&ffnen", u"&\u00D6", u"\u00F6"}));
}

TEST(Mnemonics, keysTakenElsewhereInTheWindowAreAvoided) {
    // Buttons "&Copy" and "E&xit" beside the menu bar: "Cut" cannot have C, "Extras" not x.
    EXPECT_EQ(withMnemonics({u"Cut", u"Extras"}, u"cx"), (Captions{u"C&ut", u"&Extras"}));
    EXPECT_EQ(withMnemonics({u"Cut"}, u"CUT"), (Captions{u"Cut"}));
}

TEST(Mnemonics, aLiteralAmpersandIsNeverSplitAndACaptionWithoutFreeLettersStays) {
    EXPECT_EQ(withMnemonics({u"Drag && Drop"}), (Captions{u"&Drag && Drop"}));
    EXPECT_EQ(withMnemonics({u"&A", u"a", u"..."}), (Captions{u"&A", u"a", u"..."}));
}

} // namespace
} // namespace tavrel
