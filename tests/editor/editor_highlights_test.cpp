// An editor's highlighting: addresses before keywords, attaching and detaching, the text a
// click hands to the launcher, and runs kept in step with edits (compared with scanning the
// edited paragraph afresh).
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "editor/editor_highlights.h"

namespace tavrel {
namespace {

class RecordingLauncher final : public AddressLauncher {
public:
    void open(const std::string& address) override { opened.push_back(address); }
    std::vector<std::string> opened;
};

struct Fixture {
    TextEngine engine;
    UrlHighlighter urls;
    RecordingLauncher launcher;
    EditorHighlights highlights{engine};
    int repaints = 0;

    explicit Fixture(std::string text, std::initializer_list<const char*> keywords = {}) {
        engine.setSeparators(kDefaultSeparators);
        engine.loadBytes(std::move(text));
        urls.setLauncher(&launcher);
        highlights.setAddressHighlighter(&urls);
        for (const char* k : keywords) {
            highlights.keywords().addKeyword(k, koWholeWords, 0x00FF00, 0, 0, 1, 0);
        }
        highlights.onRepaint = [this] { ++repaints; };
        highlights.reapplyKeywords();
    }

    // (start, length, context) of the runs of a paragraph.
    std::vector<std::tuple<Pos, Pos, int>> runs(Pos paragraph = 0) {
        std::vector<std::tuple<Pos, Pos, int>> out;
        for (const HighlightRun& r : highlights.paragraphRuns(paragraph)) {
            out.emplace_back(r.start, r.length, r.context);
        }
        return out;
    }

    void clickAt(Pos position) { highlights.mouseNote(MouseNote::Click, position); }
};

using Runs = std::vector<std::tuple<Pos, Pos, int>>;

TEST(EditorHighlights, AddressesComeFirstAndCloseTheirTextToKeywords) {
    Fixture f("Visit www.nfo.org for nfo", {"nfo", "visit"});
    EXPECT_EQ(f.runs(), (Runs{{0, 5, 1}, {6, 11, 1025}, {22, 3, 1}}));
    const HighlightRun web = f.highlights.paragraphRuns(0)[1];
    EXPECT_EQ(web.color, kClBlue);
    EXPECT_EQ(web.style, hsUnderline);
    EXPECT_EQ(web.cursor, kHandCursor);
}

TEST(EditorHighlights, DetachingTheAddressHighlighterLeavesNoAddressStyled) {
    Fixture f("Visit www.nfo.org", {"nfo"});
    f.highlights.setAddressHighlighter(nullptr);
    EXPECT_GT(f.repaints, 0);
    EXPECT_EQ(f.runs(), (Runs{{10, 3, 1}})); // the keyword now shows inside it
    f.clickAt(11);
    EXPECT_TRUE(f.launcher.opened.empty());
}

TEST(EditorHighlights, TurningKeywordsOffRemovesThemAllAtOnce) {
    Fixture f("nfo\r\nnfo www.x.org", {"nfo"});
    EXPECT_EQ(f.runs(1).size(), 2u);
    f.highlights.setApplyKeywords(false);
    EXPECT_EQ(f.runs(0), Runs{});
    EXPECT_EQ(f.runs(1), (Runs{{4, 9, 1025}}));
}

TEST(EditorHighlights, AStyleChangeRecoloursEveryAttachedEditor) {
    Fixture f("www.a.org news:x");
    ASSERT_EQ(f.highlights.paragraphRuns(0).size(), 2u);
    HighlightInfo web = f.urls.style(UrlType::Web);
    web.foreground = 0x00123456;
    f.urls.setStyle(UrlType::Web, web);
    EXPECT_EQ(f.highlights.paragraphRuns(0)[0].color, 0x00123456u);
    EXPECT_EQ(f.highlights.paragraphRuns(0)[1].color, kClRed);
}

struct LaunchCase {
    const char* name;
    const char* text;
    Pos clickAt;
    const char* handedOver; // nullptr: nothing is launched
};

class LaunchCases : public testing::TestWithParam<LaunchCase> {};

TEST_P(LaunchCases, HandsOverTheExpectedText) {
    Fixture f(GetParam().text);
    f.clickAt(GetParam().clickAt);
    if (GetParam().handedOver == nullptr) {
        EXPECT_TRUE(f.launcher.opened.empty());
    } else {
        EXPECT_EQ(f.launcher.opened, std::vector<std::string>{GetParam().handedOver});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, LaunchCases,
    testing::Values(LaunchCase{"WwwAsWritten", "go WWW.Example.com, now", 5, "WWW.Example.com"},
                    LaunchCase{"EmailGetsMailto", "Ask joe@host.org.", 8, "mailto:joe@host.org"},
                    LaunchCase{"FtpDotGetsScheme", "FTP.site.org", 0, "ftp://FTP.site.org"},
                    LaunchCase{"FtpSchemeAsWritten", "ftp://site.org", 13, "ftp://site.org"},
                    LaunchCase{"GopherDotGetsScheme", "gopher.x.org", 3, "gopher://gopher.x.org"},
                    LaunchCase{"LastCharacter", "http://a.b", 9, "http://a.b"},
                    LaunchCase{"BesideTheAddress", "http://a.b c", 10, nullptr},
                    LaunchCase{"PlainText", "no address here", 3, nullptr}),
    [](const testing::TestParamInfo<LaunchCase>& p) { return std::string(p.param.name); });

TEST(EditorHighlights, KeywordClicksLaunchNothing) {
    Fixture f("nfo", {"nfo"});
    f.clickAt(1);
    EXPECT_TRUE(f.launcher.opened.empty());
}

TEST(UrlLaunching, TheLaunchHookMayRewriteOrCancelAndLaunchUrlsOffStopsAll) {
    Fixture f("www.a.org");
    f.urls.onUrlLaunch = [](std::string& text) {
        text = "http://" + text;
        return true;
    };
    f.clickAt(2);
    f.urls.onUrlLaunch = [](std::string&) { return false; };
    f.clickAt(2);
    f.urls.onUrlLaunch = nullptr;
    f.urls.launchUrls = false;
    f.clickAt(2);
    EXPECT_EQ(f.launcher.opened, std::vector<std::string>{"http://www.a.org"});
}

TEST(UrlLaunching, DoubleClickModeLaunchesOnTheReleaseAfterTheDoubleClick) {
    Fixture f("www.a.org");
    f.urls.dblClickLaunch = true;
    f.clickAt(2); // first release: waits
    EXPECT_TRUE(f.launcher.opened.empty());
    f.highlights.mouseNote(MouseNote::DoubleClick, 2);
    f.highlights.mouseNote(MouseNote::LeftButtonUp, 2);
    f.clickAt(2); // the same release's click notice is swallowed
    EXPECT_EQ(f.launcher.opened, std::vector<std::string>{"www.a.org"});

    f.clickAt(2);
    f.highlights.mouseNote(MouseNote::OtherInput, 2); // a key cancels the wait
    f.highlights.mouseNote(MouseNote::DoubleClick, 2);
    f.highlights.mouseNote(MouseNote::LeftButtonUp, 2);
    EXPECT_EQ(f.launcher.opened.size(), 1u);
}

TEST(EditorHighlights, TheOnUrlHookDecidesWhichAddressesAreTaken) {
    Fixture f("www.a.org x@y.org");
    f.urls.onUrl = [](std::int32_t scope, UrlType type) {
        return scope == 0 && type == UrlType::Email;
    };
    f.highlights.reapplyKeywords();
    EXPECT_EQ(f.runs(), (Runs{{10, 7, 1027}}));
    f.urls.setScope(3); // outside any section now: nothing is in scope 3
    f.urls.onUrl = nullptr;
    f.highlights.reapplyKeywords();
    EXPECT_EQ(f.runs(), Runs{});
}

TEST(EditorHighlights, RunsOfLaterParagraphsFollowInsertedAndRemovedBreaks) {
    Fixture f("a\r\nb\r\nx www.c.org", {"b"});
    EXPECT_EQ(f.runs(2), (Runs{{2, 9, 1025}}));
    EXPECT_EQ(f.runs(1), (Runs{{0, 1, 1}}));
    f.engine.select(0, 0);
    f.engine.setSelText("new\r\n");
    EXPECT_EQ(f.runs(3), (Runs{{2, 9, 1025}}));
    EXPECT_EQ(f.runs(2), (Runs{{0, 1, 1}}));
    f.engine.select(0, 5); // "new\r\n" again
    f.engine.setSelText("");
    EXPECT_EQ(f.runs(2), (Runs{{2, 9, 1025}}));
}

TEST(EditorHighlights, AnEditMovesTheRunsAfterItAndRebuildsTheOnesItTouched) {
    // A keyword list that would take the whole paragraph if it were rescanned from the start.
    std::string text;
    for (int i = 0; i < 2000; ++i) {
        text += "www.a" + std::to_string(i) + ".org nfo ";
    }
    Fixture f(text, {"nfo"});
    ASSERT_EQ(f.highlights.paragraphRuns(0).size(), 4000u);
    f.engine.select(3, 3);
    f.engine.setSelText("X"); // "wwwX.a0.org": no longer an address
    const auto& runs = f.highlights.paragraphRuns(0);
    ASSERT_EQ(runs.size(), 3999u);
    EXPECT_EQ(runs[0].start, 12); // the first keyword, one later
    EXPECT_EQ(runs.back().start, static_cast<Pos>(text.size()) + 1 - 4);
}

// Random single edits of a paragraph full of addresses and keywords: the kept runs must
// always equal a fresh scan of the edited paragraph.
TEST(EditorHighlights, RunsAfterEditsEqualAFreshScan) {
    const std::vector<std::string> pieces = {"www.", "x@y", "nfo", " ", ".", ",",    "(", "http://",
                                             "a",    "co",  "-",   ";", "@", "FTP.", "\t"};
    std::mt19937 random(7);
    for (int round = 0; round < 60; ++round) {
        std::string text;
        for (int i = 0; i < 40; ++i) {
            text += pieces[random() % pieces.size()];
        }
        Fixture f(text, {"nfo", "co", "a"});
        static_cast<void>(f.highlights.paragraphRuns(0));
        for (int edit = 0; edit < 40; ++edit) {
            const Pos length = f.engine.charCount();
            const Pos at = static_cast<Pos>(random() % static_cast<unsigned>(length + 1));
            const Pos cut = std::min<Pos>(length - at, static_cast<Pos>(random() % 4));
            f.engine.select(at, at + cut);
            f.engine.setSelText(random() % 3 == 0 ? std::string()
                                                  : pieces[random() % pieces.size()]);
            const std::string now(f.engine.document().paragraph(0));
            std::vector<std::tuple<Pos, Pos, int>> fresh;
            for (const HighlightRun& r : f.highlights.scanParagraph(now)) {
                fresh.emplace_back(r.start, r.length, r.context);
            }
            ASSERT_EQ(f.runs(), fresh) << "after edit " << edit << ": '" << now << "'";
        }
    }
}

// A long paragraph is scanned only around each edit, reading just that part of it, so the
// document's gap stays at the edit; an address longer than that part still comes out whole.
TEST(EditorHighlights, TypingInALongParagraphKeepsItsGapAndRunsEqualAFreshScan) {
    const std::vector<std::string> pieces = {"www.", "x@y",     "nfo",   " ",  ".", ",",
                                             "(",    "http://", "a",     "co", "-", ";",
                                             "@",    "FTP.",    "word ", "\t"};
    std::mt19937 random(13);
    std::string text;
    while (text.size() < 150'000) {
        text += pieces[random() % pieces.size()];
    }
    const Pos longAddress = static_cast<Pos>(text.size());
    text += " http://" + std::string(40'000, 'a') + " ";
    while (text.size() < 400'000) {
        text += pieces[random() % pieces.size()];
    }
    Fixture f(text, {"nfo", "co", "a"});
    static_cast<void>(f.highlights.paragraphRuns(0));
    int gapChecked = 0;
    for (int edit = 0; edit < 150; ++edit) {
        const Pos length = f.engine.charCount();
        // Every third edit lands in or next to the long address.
        const Pos at = edit % 3 == 0
                           ? longAddress - 20 + static_cast<Pos>(random() % 40'060)
                           : static_cast<Pos>(random() % static_cast<unsigned>(length + 1));
        const Pos cut = std::min<Pos>(length - at, static_cast<Pos>(random() % 4));
        f.engine.select(at, at + cut);
        const std::string typed =
            random() % 3 == 0 ? std::string() : pieces[random() % pieces.size()];
        f.engine.setSelText(typed);
        const Document::Halves halves = f.engine.document().paragraphHalves(0);
        const auto gap = static_cast<Pos>(halves.first.size());
        if ((cut > 0 || !typed.empty()) && std::abs(at - longAddress) > 100'000) {
            EXPECT_LT(std::abs(gap - at), 50'000) << "edit " << edit << " at " << at;
            ++gapChecked;
        }
        const std::string now = std::string(halves.first) + std::string(halves.second);
        Runs fresh;
        for (const HighlightRun& r : f.highlights.scanParagraph(now)) {
            fresh.emplace_back(r.start, r.length, r.context);
        }
        ASSERT_EQ(f.runs(), fresh) << "after edit " << edit << " at " << at;
    }
    EXPECT_GT(gapChecked, 30);
}

} // namespace
} // namespace tavrel
