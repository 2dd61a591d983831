// The settings catalogue: defaults, the reading of every kind of value, margins under both
// decimal separators, the recent files and the write order of a fresh INI file.
#include "app/settings_catalogue.h"

#include <gtest/gtest.h>

#include <set>

namespace tavrel {
namespace {

ConfigSaver storeWith(std::string_view iniText) {
    return ConfigSaver("", iniText,
                       [](const std::string&, std::string_view) { return WriteStatus{}; });
}

RecentFiles recentOf(std::set<std::string> existing) {
    return RecentFiles([existing](const std::string& name) { return existing.count(name) > 0; });
}

TEST(AppSettings, aFirstStartHasTheDesignedDefaults) {
    const AppSettings s;
    EXPECT_EQ(s.language, "Automatic");
    EXPECT_EQ(s.editorFont, (FontSpec{"TavrelLarge", 9, false, false, false, false, 0x00FFFFFF}));
    EXPECT_EQ(s.printFont.face, "Courier New");
    EXPECT_EQ(s.printFont.color, kSystemColorBase + 8);
    EXPECT_EQ(s.backColor, 0x004A0000u);
    EXPECT_EQ(s.highlightColor, 0x0000FF00u);
    EXPECT_EQ(s.highlightBackground, 0u);
    EXPECT_TRUE(s.wordWrap);
    EXPECT_TRUE(s.exitFocus);
    EXPECT_TRUE(s.launch);
    EXPECT_TRUE(s.highLight);
    EXPECT_TRUE(s.convert);
    EXPECT_FALSE(s.lineNumbers);
    EXPECT_TRUE(s.autoWidth);
    EXPECT_FALSE(s.autoHeight);
    EXPECT_TRUE(s.askChanges);
    EXPECT_TRUE(s.dragDrop);
    EXPECT_TRUE(s.trim);
    EXPECT_FALSE(s.oneInstance);
    EXPECT_EQ(s.marginLeft, 0.75);
    EXPECT_EQ(s.marginRight, 0.5);
    EXPECT_EQ(s.marginTop, 0.75);
    EXPECT_EQ(s.marginBottom, 0.75);
}

TEST(Catalogue, everySectionAndKeyAppearsOnce) {
    std::set<std::pair<std::string_view, std::string_view>> seen;
    for (const SettingEntry& entry : settingsCatalogue()) {
        EXPECT_TRUE(seen.insert({entry.section, entry.key}).second)
            << entry.section << "/" << entry.key;
    }
}

TEST(LoadSettings, readsEveryKindAndKeepsDefaultsForMalformedValues) {
    const ConfigSaver store = storeWith("[Options]\r\n"
                                        "Language=German\r\n"
                                        "Font5=Terminus,12,1000,clRed\r\n"
                                        "BackColor=$00112233\r\n"
                                        "HLColor=nonsense\r\n"
                                        "WordWrap=0\r\n"
                                        "SameDim=1\r\n"
                                        "OneInstance=1\r\n"
                                        "LastPrinter=3\r\n"
                                        "MarginLeft=0,5\r\n"
                                        "MarginRight=1.25\r\n"
                                        "MarginTop=1.2.3\r\n"
                                        "MarginBottom=inf\r\n"
                                        "[Find]\r\nText=cat\r\nLastDir=/old/\r\n");
    AppSettings s;
    RecentFiles recent = recentOf({});
    loadSettings(store, s, recent, '.');
    EXPECT_EQ(s.language, "German");
    EXPECT_EQ(s.editorFont, (FontSpec{"Terminus", 12, true, false, false, false, 0x000000FF}));
    EXPECT_EQ(s.backColor, 0x00112233u);
    EXPECT_EQ(s.highlightColor, 0x0000FF00u);
    EXPECT_FALSE(s.wordWrap);
    EXPECT_TRUE(s.sameDim);
    EXPECT_EQ(s.lastPrinter, 3);
    EXPECT_EQ(s.findText, "cat");
    EXPECT_EQ(s.marginLeft, 0.5);
    EXPECT_EQ(s.marginRight, 1.25);
    EXPECT_EQ(s.marginTop, 0.75);    // not a number even after the separators are swapped
    EXPECT_EQ(s.marginBottom, 0.75); // not finite
    // Read by start-up and never by the window; the last folder starts empty every run.
    EXPECT_FALSE(s.oneInstance);
    EXPECT_EQ(s.lastDir, "");
}

TEST(Margins, textsWrittenUnderEitherSeparatorReadUnderTheOther) {
    EXPECT_EQ(parseMargin("0,5"), 0.5);
    EXPECT_EQ(parseMargin("0.5"), 0.5);
    EXPECT_EQ(parseMargin("1E-5"), 1e-5);
    EXPECT_EQ(parseMargin(""), std::nullopt);
    EXPECT_EQ(parseMargin("1,000.5"), std::nullopt);
    EXPECT_EQ(parseMargin(" 1"), std::nullopt);
    EXPECT_EQ(parseMargin("nan"), std::nullopt);
    EXPECT_EQ(formatMargin(0.75, '.'), "0.75");
    EXPECT_EQ(formatMargin(0.75, ','), "0,75");
    EXPECT_EQ(formatMargin(2, '.'), "2");
    EXPECT_EQ(formatMargin(0.1, '.'), "0.1");
}

TEST(LoadSettings, storedRecentFilesComeBackInOrderWithoutVanishedOnes) {
    const ConfigSaver store =
        storeWith("[Recent Files]\r\n0=/first.txt\r\n1=/second.txt\r\n2=/third.txt\r\n");
    AppSettings s;
    RecentFiles recent = recentOf({"/first.txt", "/third.txt"});
    loadSettings(store, s, recent, '.');
    EXPECT_EQ(recent.items(), (std::vector<std::string>{"/first.txt", "/third.txt"}));
}

TEST(SaveSettings, aFreshFileGetsItsSectionsInTheWriteOrder) {
    ConfigSaver store = storeWith("");
    AppSettings s;
    RecentFiles recent = recentOf({"/a.nfo"});
    recent.add("/a.nfo");
    saveSettings(store, s, recent, '.', [](ConfigSaver& settings) {
        settings.writeBool("Window", "Maximized", false);
        settings.writeInteger("nfo", "Left", 1);
    });
    const std::string text = store.iniText();
    const std::vector<std::string> sections{"[Options]", "[Find]", "[Window]", "[nfo]",
                                            "[Recent Files]"};
    std::size_t last = 0;
    for (const std::string& section : sections) {
        const std::size_t at = text.find(section);
        ASSERT_NE(at, std::string::npos) << section;
        EXPECT_GE(at, last) << section;
        last = at;
    }
    // Margins come after the bounds, in the Options section.
    EXPECT_NE(text.find("MarginBottom=0.75\r\n"), std::string::npos);
    EXPECT_NE(text.find("[Recent Files]\r\n0=/a.nfo\r\n"), std::string::npos);
}

TEST(SaveSettings, entriesBeyondTheSavedCountStayUntouched) {
    ConfigSaver store = storeWith("[Recent Files]\r\n0=/x\r\n1=/y\r\n2=/z\r\n");
    RecentFiles recent = recentOf({"/new"});
    recent.add("/new");
    saveSettings(store, AppSettings{}, recent, '.', {});
    EXPECT_EQ(store.readString("Recent Files", "0", ""), "/new");
    EXPECT_EQ(store.readString("Recent Files", "1", ""), "/y");
    EXPECT_EQ(store.readString("Recent Files", "2", ""), "/z");
}

} // namespace
} // namespace tavrel
