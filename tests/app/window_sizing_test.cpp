// SizeToContent's width and SizeWindow's bounds as plain arithmetic over a settings store.
#include "app/window_sizing.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavrel {
namespace {

std::int64_t widest(const std::vector<std::int64_t>& endedLines) {
    return widestLineChars(static_cast<std::int64_t>(endedLines.size()),
                           [&](std::int64_t i) { return endedLines[static_cast<std::size_t>(i)]; });
}

TEST(WidestLine, countsLinesFrom34To132Only) {
    EXPECT_EQ(widest({}), 34);
    EXPECT_EQ(widest({10, 20, 33}), 34);
    EXPECT_EQ(widest({80, 12}), 80);
    EXPECT_EQ(widest({132, 40}), 132);
    EXPECT_EQ(widest({133, 40}), 40);
    EXPECT_EQ(widest({200}), 34);
}

struct WidthCase {
    const char* name;
    ContentWidthInput input;
    int width;
};

// Test names show the case's name, not the bytes of the struct (padding included).
void PrintTo(const WidthCase& c, std::ostream* os) {
    *os << c.name;
}

class ContentWidth : public ::testing::TestWithParam<WidthCase> {};

TEST_P(ContentWidth, followsTheRule) {
    EXPECT_EQ(contentWidth(GetParam().input), GetParam().width);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ContentWidth,
    ::testing::Values(
        WidthCase{"eightyCharsInAnEightPixelFont", {true, 8, 8, 5, 80, false, 30}, 693},
        WidthCase{"gutterAddsItsWidth", {true, 8, 8, 5, 80, true, 30}, 723},
        WidthCase{"shortLinesGiveThirtyFourChars", {true, 8, 8, 3, 34, false, 30}, 325},
        WidthCase{"optionOffMeansStoredWidth", {false, 8, 8, 5, 80, false, 30}, 0},
        WidthCase{"proportionalFontMeansStoredWidth", {true, 7, 12, 5, 80, false, 30}, 0},
        WidthCase{"emptyDocumentMeansStoredWidth", {true, 8, 8, 0, 34, false, 30}, 0}),
    [](const ::testing::TestParamInfo<WidthCase>& param) { return param.param.name; });

ConfigSaver emptyStore() {
    return ConfigSaver("", "", [](const std::string&, std::string_view) { return WriteStatus{}; });
}

SizeWindowInput screen1280(std::string fileClass, int desired) {
    SizeWindowInput input;
    input.fileClass = std::move(fileClass);
    input.desiredWidth = desired;
    input.workArea = {1280, 1000};
    input.windowTop = 100;
    input.windowHeight = 400;
    input.editorHeight = 340; // 60 pixels of menu and buttons
    input.lineHeight = 12;
    input.lineCount = 3;
    return input;
}

TEST(PlaceWindow, defaultsComeFromTheWorkArea) {
    const ConfigSaver store = emptyStore();
    const WindowPlacement place = placeWindow(screen1280("nfo", 0), store);
    EXPECT_EQ(place.section, "nfo");
    EXPECT_EQ(place.height, 469);
    EXPECT_EQ(place.width, 687);
    EXPECT_EQ(place.left, (1280 - 687) / 2);
    EXPECT_EQ(place.top, (1000 - 469) / 2);
    EXPECT_EQ(place.findLeft, place.left + 100);
    EXPECT_EQ(place.findTop, place.top + 100);
}

TEST(PlaceWindow, dizFilesDefaultToAShortWindowAndSmallScreensShrinkTheDefaults) {
    const ConfigSaver store = emptyStore();
    EXPECT_EQ(placeWindow(screen1280("diz", 0), store).height, 290);
    SizeWindowInput small = screen1280("nfo", 0);
    small.workArea = {600, 500};
    const WindowPlacement place = placeWindow(small, store);
    EXPECT_EQ(place.height, 300);
    EXPECT_EQ(place.width, 400);
}

TEST(PlaceWindow, theCentringDivisionTruncatesTowardZero) {
    ConfigSaver store = emptyStore();
    store.writeInteger("nfo", "Width", 1301);
    EXPECT_EQ(placeWindow(screen1280("nfo", 0), store).left, -10); // -21 / 2, not -11
}

TEST(PlaceWindow, eachClassReadsItsOwnSectionUnlessSameDimensions) {
    ConfigSaver store = emptyStore();
    store.writeInteger("nfo", "Width", 500);
    store.writeInteger("nfo", "Height", 333);
    store.writeInteger("nfo", "Left", 7);
    store.writeInteger("nfo", "Top", 8);
    store.writeInteger("Other", "Height", 222);
    store.writeInteger("Find", "Left", 55);
    const WindowPlacement nfo = placeWindow(screen1280("nfo", 0), store);
    EXPECT_EQ(nfo.width, 500);
    EXPECT_EQ(nfo.height, 333);
    EXPECT_EQ(nfo.left, 7);
    EXPECT_EQ(nfo.top, 8);
    EXPECT_EQ(nfo.findLeft, 55);
    EXPECT_EQ(nfo.findTop, 108);
    EXPECT_EQ(placeWindow(screen1280("diz", 0), store).section, "diz");
    SizeWindowInput same = screen1280("nfo", 0);
    same.sameDim = true;
    const WindowPlacement other = placeWindow(same, store);
    EXPECT_EQ(other.section, "Other");
    EXPECT_EQ(other.height, 222);
}

TEST(PlaceWindow, desiredWidthIsClampedToTheWorkAreaAndNeverBelow230) {
    ConfigSaver store = emptyStore();
    store.writeInteger("nfo", "Left", 1000);
    EXPECT_EQ(placeWindow(screen1280("nfo", 693), store).width, 280);
    EXPECT_EQ(placeWindow(screen1280("nfo", 100), store).width, 230);
    store.writeInteger("nfo", "Left", 100);
    EXPECT_EQ(placeWindow(screen1280("nfo", 693), store).width, 693);
    // A stored left edge beyond the work area leaves no room: the minimum width applies.
    store.writeInteger("nfo", "Left", 1400);
    EXPECT_EQ(placeWindow(screen1280("nfo", 693), store).width, 230);
}

TEST(PlaceWindow, autoHeightGivesAtLeastTenLinesAndAtMostTheLimit) {
    const ConfigSaver store = emptyStore();
    SizeWindowInput input = screen1280("nfo", 0);
    input.autoHeight = true;
    // Three lines: ten lines' height + 60 of chrome + 20.
    EXPECT_EQ(placeWindow(input, store).height, 10 * 12 + 60 + 20);
    input.lineCount = 30;
    EXPECT_EQ(placeWindow(input, store).height, 30 * 12 + 60 + 20);
    // limit = trunc(1000 * 0.8) - 100 - 60 - 40 = 600; 10000 lines are cut to it.
    input.lineCount = 10000;
    EXPECT_EQ(placeWindow(input, store).height, 600);
    // An empty document keeps the stored height.
    input.lineCount = 0;
    EXPECT_EQ(placeWindow(input, store).height, 469);
}

TEST(PlaceWindow, aTinyWorkAreaFallsBackToALimitOf150) {
    const ConfigSaver store = emptyStore();
    SizeWindowInput input = screen1280("nfo", 0);
    input.autoHeight = true;
    input.workArea = {1280, 300};
    input.lineCount = 100;
    EXPECT_EQ(placeWindow(input, store).height, 150);
}

WindowPlacement bounds(int left, int top, int width, int height) {
    WindowPlacement place;
    place.left = left;
    place.top = top;
    place.width = width;
    place.height = height;
    return place;
}

void expectBounds(const WindowPlacement& place, int left, int top, int width, int height) {
    EXPECT_EQ(place.left, left);
    EXPECT_EQ(place.top, top);
    EXPECT_EQ(place.width, width);
    EXPECT_EQ(place.height, height);
}

TEST(KeepReachable, boundsFarOffTheScreenComeBackWithTitleBarAndButtons) {
    const std::vector<AreaRect> screen{{0, 0, 1280, 1000}};
    const FrameExtents frame{2, 24, 2, 2};
    WindowPlacement place = bounds(-100000, -100000, 99999999, 300);
    keepReachable(place, screen, frame);
    // As wide as the screen less the frame, the frame's top-left corner at the screen's.
    expectBounds(place, 2, 24, 1276, 300);

    place = bounds(100000, 100000, 500, 99999999);
    keepReachable(place, screen, frame);
    expectBounds(place, 1280 - 2 - 500, 24, 500, 1000 - 24 - 2);
}

TEST(KeepReachable, boundsOnAScreenStayAndPartlyOffMoveTheLeastNeeded) {
    const std::vector<AreaRect> screens{{0, 0, 1280, 1000}, {1280, 0, 3200, 1080}};
    WindowPlacement place = bounds(1500, 100, 600, 400); // wholly on the second screen
    keepReachable(place, screens, {});
    expectBounds(place, 1500, 100, 600, 400);

    place = bounds(3000, 100, 600, 400); // mostly on the second screen, off its right edge
    keepReachable(place, screens, {});
    expectBounds(place, 2600, 100, 600, 400);

    place = bounds(100, 900, 600, 400); // the button bar below the first screen's bottom
    keepReachable(place, screens, {});
    expectBounds(place, 100, 600, 600, 400);

    place = bounds(100, 0, 600, 400); // the title bar above the screen's top
    keepReachable(place, screens, {0, 30, 0, 0});
    expectBounds(place, 100, 30, 600, 400);
}

TEST(KeepReachable, aWindowOffEveryScreenGoesToTheFirst) {
    const std::vector<AreaRect> screens{{0, 0, 1280, 1000}, {1280, 0, 3200, 1080}};
    WindowPlacement place = bounds(-5000, 50, 400, 300);
    keepReachable(place, screens, {});
    expectBounds(place, 0, 50, 400, 300);
}

TEST(SaveBounds, writesMaximizedAndTheClassBoundsUnlessMaximized) {
    ConfigSaver store = emptyStore();
    saveBounds(store, {false, 1, 2, 3, 4}, "nfo", false);
    EXPECT_EQ(
        store.iniText(),
        "[Window]\r\nMaximized=0\r\n\r\n[nfo]\r\nLeft=1\r\nTop=2\r\nWidth=3\r\nHeight=4\r\n\r\n");
    saveBounds(store, {true, 9, 9, 9, 9}, "diz", false);
    EXPECT_EQ(store.readBool("Window", "Maximized", false), true);
    EXPECT_EQ(store.readInteger("diz", "Left", -1), -1);
    saveBounds(store, {false, 5, 6, 7, 8}, "diz", true);
    EXPECT_EQ(store.readInteger("Other", "Width", -1), 7);
    EXPECT_EQ(store.readInteger("diz", "Width", -1), -1);
}

} // namespace
} // namespace tavrel
