// The settings file the program writes, byte for byte against a committed reference, and
// read back: what a run writes, the next run reads.
#include "app/settings_catalogue.h"
#include "app/startup.h"
#include "settings_reference.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace tavrel {
namespace {

std::string readReference() {
    std::ifstream in(TAVREL_SOURCE_DIR "/tests/app/data/Tavrel.ini", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SettingsFile, aFreshFileMatchesTheReferenceByteForByte) {
    const std::string reference = readReference();
    ASSERT_FALSE(reference.empty()) << "tests/app/data/Tavrel.ini is missing";
    EXPECT_EQ(test::referenceSettingsText(), reference)
        << "if the change is meant, rebuild the file with the target "
           "tavrel_app_regenerate_references";
}

TEST(SettingsFile, whatIsWrittenReadsBackAndWritesTheSameBytesAgain) {
    const std::string reference = readReference();
    ConfigSaver store("Tavrel.ini", reference,
                      [](const std::string&, std::string_view) { return WriteStatus{}; });
    AppSettings loaded;
    RecentFiles recent([](const std::string&) { return true; });
    loadSettings(store, loaded, recent, '.');
    const AppSettings expected = test::referenceSettings();
    EXPECT_EQ(loaded.language, expected.language);
    EXPECT_EQ(loaded.editorFont, expected.editorFont);
    EXPECT_EQ(loaded.printFont, expected.printFont);
    EXPECT_EQ(loaded.backColor, expected.backColor);
    EXPECT_EQ(loaded.highlightColor, expected.highlightColor);
    EXPECT_EQ(loaded.sameDim, expected.sameDim);
    EXPECT_EQ(loaded.lineNumbers, expected.lineNumbers);
    EXPECT_EQ(loaded.wordWrap, expected.wordWrap);
    EXPECT_EQ(loaded.lastPrinter, expected.lastPrinter);
    EXPECT_EQ(loaded.zoom, expected.zoom);
    EXPECT_EQ(loaded.findText, expected.findText);
    EXPECT_EQ(loaded.marginLeft, expected.marginLeft);
    EXPECT_EQ(loaded.marginBottom, expected.marginBottom);
    EXPECT_EQ(recent.items(), test::referenceRecentFiles());
    // Not read back: the one-instance flag belongs to start-up, the folder to one run.
    EXPECT_EQ(loaded.lastDir, "");

    // Written again over what was read, the file comes out the same.
    loaded.lastDir = expected.lastDir;
    loaded.oneInstance = expected.oneInstance;
    loaded.findLeft = expected.findLeft;
    loaded.findTop = expected.findTop;
    std::string again;
    ConfigSaver second("Tavrel.ini", reference,
                       [&again](const std::string&, std::string_view bytes) {
                           again = bytes;
                           return WriteStatus{};
                       });
    ASSERT_TRUE(saveSettings(second, [&](ConfigSaver& settings) {
                    tavrel::saveSettings(settings, loaded, recent, '.', test::referenceBounds);
                }).ok());
    EXPECT_EQ(again, reference);
}

} // namespace
} // namespace tavrel
