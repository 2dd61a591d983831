// Listing, detecting and loading language files in a scratch folder, with a host that
// records the messages the program would show.
#include "lang/language_handler.h"

#include "lang/language_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

class RecordingHost : public LanguageHost {
public:
    void showMessage(const std::string& text, const std::string& caption) override {
        messages.emplace_back(text, caption);
    }
    void endProgram() override { ++endCalls; }

    std::vector<std::pair<std::string, std::string>> messages;
    int endCalls = 0;
};

class LanguageHandlerTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = fs::temp_directory_path() / ("tavrel_lang_" + std::string(info->name()));
        fs::remove_all(root);
        folder = root / "languages";
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(root); }

    void write(const fs::path& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    void writeLanguage(const std::string& name, const std::string& line0,
                       const std::string& line1) {
        write(folder / (name + ".olf"), "|" + line0 + "\r\n|" + line1 + "\r\n");
    }
    LanguageHandler handler(std::uint16_t langId = 0x0409) {
        return LanguageHandler({folder}, langId, host);
    }

    fs::path root;
    fs::path folder;
    RecordingHost host;
};

TEST_F(LanguageHandlerTest, missingEnglishFileEndsTheProgram) {
    writeLanguage("German", "$0407", "Datei");
    auto h = handler(0x0407);
    EXPECT_EQ(h.loadLanguage("German"), "");
    ASSERT_EQ(host.messages.size(), 1u);
    const std::string sep(1, static_cast<char>(fs::path::preferred_separator));
    fs::path shown = folder;
    shown.make_preferred();
    EXPECT_EQ(host.messages[0].first,
              "Critical Error - File " + shown.string() + sep + "English.olf not found !");
    EXPECT_EQ(host.messages[0].second, "Tavrel Error information");
    EXPECT_EQ(host.endCalls, 1);
    EXPECT_EQ(h.strings().lineCount(), 0u);
}

TEST_F(LanguageHandlerTest, automaticLoadsTheFileDeclaringTheUsersLanguage) {
    writeLanguage("English", "$0409 $0809", "File");
    writeLanguage("German", "$0407 $0c07", "Datei");
    auto h = handler(0x0C07);
    EXPECT_EQ(h.loadLanguage("Automatic"), "German");
    EXPECT_EQ(h.strings().getLangString(1), "Datei");
    EXPECT_EQ(h.loadLanguage(""), "German");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(LanguageHandlerTest, aFileWithAnUpperCaseExtensionLoadsByTheNameItIsListedAs) {
    writeLanguage("English", "$0409", "File");
    write(folder / "Upper.OLF", "|$0410\r\n|Archivio\r\n");
    auto h = handler();
    std::vector<std::string> list;
    ASSERT_TRUE(h.listLanguages(list));
    EXPECT_EQ(list, (std::vector<std::string>{"Automatic", "English", "Upper"}));
    EXPECT_EQ(h.loadLanguage("Upper"), "Upper");
    EXPECT_EQ(h.strings().getLangString(1), "Archivio");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(LanguageHandlerTest, upperCaseDeclarationDoesNotMatch) {
    writeLanguage("English", "$0409", "File");
    writeLanguage("German", "$0407 $0C07", "Datei");
    EXPECT_EQ(handler(0x0C07).detectLanguage(), "English");
}

TEST_F(LanguageHandlerTest, noMatchingFileMeansEnglish) {
    writeLanguage("English", "$0409", "File");
    writeLanguage("German", "$0407", "Datei");
    auto h = handler(0x0411);
    EXPECT_EQ(h.loadLanguage("Automatic"), "English");
    EXPECT_EQ(h.strings().getLangString(1), "File");
}

TEST_F(LanguageHandlerTest, firstFileInDirectoryOrderWins) {
    writeLanguage("English", "$0409", "File");
    writeLanguage("Deutsch", "$0407", "Datei");
    writeLanguage("German", "$0407", "Datei");
    std::string first;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string stem = entry.path().stem().string();
        if (stem != "English") {
            first = stem;
            break;
        }
    }
    EXPECT_EQ(handler(0x0407).detectLanguage(), first);
}

TEST_F(LanguageHandlerTest, unreadableFileStopsDetectionWithAMessage) {
    writeLanguage("English", "$0409", "File");
    write(folder / "Empty.olf", "");
    EXPECT_EQ(handler(0x0407).detectLanguage(), "English");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].first,
              "Couldn't open the language setting file --> Language: English");
    EXPECT_EQ(host.messages[0].second, "File missing?");
}

TEST_F(LanguageHandlerTest, unknownLanguageKeepsThePreviousTexts) {
    writeLanguage("English", "$0409", "File");
    auto h = handler();
    ASSERT_EQ(h.loadLanguage("English"), "English");
    // "automatic" is a name like any other: the test for "Automatic" is case-sensitive.
    for (const char* name : {"Klingon", "automatic"}) {
        host.messages.clear();
        EXPECT_EQ(h.loadLanguage(name), "");
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].first, "Language file not found!");
        EXPECT_EQ(host.messages[0].second, "Tavrel Error information");
        EXPECT_EQ(h.strings().getLangString(1), "File");
    }
}

TEST_F(LanguageHandlerTest, listIsSortedIgnoringCaseWithAutomatic) {
    writeLanguage("English", "$0409", "File");
    writeLanguage("zulu", "", "");
    writeLanguage("german", "", "");
    write(folder / "Bork.OLF", "|\n");
    write(folder / "readme.txt", "not a language");
    fs::create_directory(folder / "folder.olf");
    std::vector<std::string> list{"stale"};
    EXPECT_TRUE(handler().listLanguages(list));
    EXPECT_EQ(list, (std::vector<std::string>{"Automatic", "Bork", "English", "german", "zulu"}));
}

TEST(LanguageFolders, installedProgramAlsoLooksInSharedData) {
    EXPECT_EQ(languageFolders("/opt/tavrel/"), std::vector<fs::path>{"/opt/tavrel/languages"});
    const std::vector<fs::path> installed = {"/usr/bin/languages", "/usr/share/tavrel/languages"};
    EXPECT_EQ(languageFolders("/usr/bin/"), installed);
    EXPECT_EQ(languageFolders("/usr/bin"), installed);
}

TEST_F(LanguageHandlerTest, laterFolderIsUsedWhenOnlyItHoldsEnglish) {
    const fs::path shared = root / "share" / "languages";
    fs::create_directories(shared);
    write(shared / "English.olf", "|$0409\n|Shared\n");
    LanguageHandler h({folder, shared}, 0x0409, host);
    EXPECT_EQ(h.languageFolder(), shared);
    EXPECT_EQ(h.loadLanguage("Automatic"), "English");
    EXPECT_EQ(h.strings().getLangString(1), "Shared");
    EXPECT_EQ(host.endCalls, 0);
}

TEST_F(LanguageHandlerTest, oversizedFileIsNotALanguageFile) {
    writeLanguage("English", "$0409", "File");
    const fs::path huge = folder / "Huge.olf";
    write(huge, "|$0409\n|x\n");
    fs::resize_file(huge, maxLanguageFileSize + 1);
    auto h = handler();
    EXPECT_FALSE(h.loadLanguageFile("Huge"));
    EXPECT_TRUE(h.loadLanguageFile("English"));
}

} // namespace
} // namespace tavrel
