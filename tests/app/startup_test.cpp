// Start-up's choice between portable and normal mode, the folders it settles and creates, the
// moves out of the program folder, the store it opens, and saving at close.
#include "app/startup.h"
#include "platform/private_config_home.h"
#include "platform/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tavrel {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempFolder;
using test::writeFile;

// Built before main(), so that the native store never sees the real per-user folder.
const test::PrivateConfigHome configHome;

// A program folder and a per-user configuration folder side by side in one temporary folder.
struct Machine {
    TempFolder root;
    std::string program = root / "program/";
    std::string config = root / "config";
    bool programWritable = true;

    Machine() { fs::create_directories(program); }

    [[nodiscard]] StartupEnvironment environment() const {
        return {program, config, [this](const std::string& folder) {
                    EXPECT_EQ(folder, program);
                    return programWritable;
                }};
    }
    [[nodiscard]] std::string userFolder() const { return config + "/Velmantic/Tavrel/"; }
};

TEST(Startup, aMarkerFileMakesThePortableModeAndNothingMoves) {
    Machine machine;
    writeFile(machine.program + "usb.dat", "");
    writeFile(machine.program + "Tavrel.ini", "[Options]\r\nWordWrap=0\r\n");
    writeFile(machine.program + "highlight.dat", "fairlight\r\n");

    const StorageLocations locations = settleStorageLocations(machine.environment());
    EXPECT_TRUE(locations.portable);
    EXPECT_EQ(locations.programFolder, machine.program);
    EXPECT_EQ(locations.settingsFolder, machine.program);
    EXPECT_EQ(locations.settingsFile, machine.program + "Tavrel.ini");
    EXPECT_TRUE(fs::exists(machine.program + "Tavrel.ini"));
    EXPECT_TRUE(fs::exists(machine.program + "highlight.dat"));
    EXPECT_FALSE(fs::exists(machine.config));

    const auto store = openSettingsStore(locations);
    ASSERT_TRUE(store->usesIni());
    EXPECT_FALSE(store->readBool("Options", "WordWrap", true));
}

TEST(Startup, aMarkerFolderDoesNotCount) {
    Machine machine;
    fs::create_directory(machine.program + "usb.dat");
    const StorageLocations locations = settleStorageLocations(machine.environment());
    EXPECT_FALSE(locations.portable);
    EXPECT_EQ(locations.settingsFolder, machine.userFolder());
    EXPECT_EQ(locations.settingsFile, "");
    EXPECT_FALSE(openSettingsStore(locations)->usesIni());
}

TEST(Startup, normalModeCreatesTheUserFolderWithAllItsParents) {
    Machine machine;
    machine.config = machine.root / "home/someone/.config";
    const StorageLocations locations = settleStorageLocations(machine.environment());
    EXPECT_EQ(locations.settingsFolder, machine.root / "home/someone/.config/Velmantic/Tavrel/");
    EXPECT_TRUE(fs::is_directory(locations.settingsFolder));
}

TEST(Startup, aWritableProgramFolderHandsItsDataFilesToTheUserFolder) {
    Machine machine;
    writeFile(machine.program + "Tavrel.ini", "[Info]\r\nVersion=4.2\r\n");
    writeFile(machine.program + "highlight.dat", "new words\r\n");
    fs::create_directories(machine.userFolder());
    writeFile(machine.userFolder() + "Tavrel.ini", "older");
    writeFile(machine.userFolder() + "highlight.dat", "older words");

    const StorageLocations locations = settleStorageLocations(machine.environment());
    EXPECT_FALSE(locations.portable);
    EXPECT_FALSE(fs::exists(machine.program + "Tavrel.ini"));
    EXPECT_FALSE(fs::exists(machine.program + "highlight.dat"));
    EXPECT_EQ(readFile(machine.userFolder() + "Tavrel.ini"), "[Info]\r\nVersion=4.2\r\n");
    EXPECT_EQ(readFile(machine.userFolder() + "highlight.dat"), "new words\r\n");
}

TEST(Startup, aReadOnlyProgramFolderKeepsItsDataFiles) {
    Machine machine;
    machine.programWritable = false;
    writeFile(machine.program + "Tavrel.ini", "[Info]\r\n");
    writeFile(machine.program + "highlight.dat", "words");
    const StorageLocations locations = settleStorageLocations(machine.environment());
    EXPECT_TRUE(fs::is_directory(locations.settingsFolder));
    EXPECT_TRUE(fs::exists(machine.program + "Tavrel.ini"));
    EXPECT_TRUE(fs::exists(machine.program + "highlight.dat"));
    EXPECT_FALSE(fs::exists(machine.userFolder() + "highlight.dat"));
}

TEST(Startup, theRealWriteAccessTestProtectsAReadOnlyProgramFolder) {
    if (test::runningAsRoot()) {
        GTEST_SKIP() << test::kRootSkipReason;
    }
    Machine machine;
    writeFile(machine.program + "highlight.dat", "words");
    ASSERT_EQ(::chmod(machine.program.c_str(), 0555), 0);
    StartupEnvironment environment = machine.environment();
    environment.canWrite = nullptr; // the real test
    const StorageLocations locations = settleStorageLocations(environment);
    EXPECT_TRUE(fs::exists(machine.program + "highlight.dat"));
    EXPECT_FALSE(fs::exists(locations.settingsFolder + "highlight.dat"));
}

TEST(Startup, folderTextsGetTheirSlashes) {
    Machine machine;
    StartupEnvironment environment = machine.environment();
    environment.programFolder.pop_back();
    environment.canWrite = [](const std::string&) { return false; };
    const StorageLocations locations = settleStorageLocations(environment);
    EXPECT_EQ(locations.programFolder, machine.program);
    EXPECT_EQ(locations.settingsFolder.back(), '/');
}

TEST(Startup, closingWritesTheVersionMarkToTheIniFile) {
    Machine machine;
    writeFile(machine.program + "usb.dat", "");
    writeFile(machine.program + "Tavrel.ini", "[Options]\r\nWordWrap=0\r\n");
    const auto store = openSettingsStore(settleStorageLocations(machine.environment()));
    int reports = 0;
    EXPECT_TRUE(saveSettingsAtClose(*store, [&](const std::string&) { ++reports; }));
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(readFile(machine.program + "Tavrel.ini"),
              "[Options]\r\nWordWrap=0\r\n\r\n[Info]\r\nVersion=4.2\r\n\r\n");
}

TEST(Startup, aFailedSaveIsReportedOnceAndDoesNotThrow) {
    // The medium holding the program was removed while it ran.
    Machine machine;
    writeFile(machine.program + "usb.dat", "");
    const auto store = openSettingsStore(settleStorageLocations(machine.environment()));
    fs::remove_all(machine.program);
    std::vector<std::string> reports;
    EXPECT_FALSE(
        saveSettingsAtClose(*store, [&](const std::string& text) { reports.push_back(text); }));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find(machine.program + "Tavrel.ini"), std::string::npos) << reports[0];
}

TEST(Startup, aReadOnlyPortableFolderKeepsAReadOnlyIniWhole) {
    if (test::runningAsRoot()) {
        GTEST_SKIP() << test::kRootSkipReason;
    }
    Machine machine;
    writeFile(machine.program + "usb.dat", "");
    writeFile(machine.program + "Tavrel.ini", "[Options]\r\nWordWrap=0\r\n");
    const auto store = openSettingsStore(settleStorageLocations(machine.environment()));
    ASSERT_EQ(::chmod((machine.program + "Tavrel.ini").c_str(), 0444), 0);
    ASSERT_EQ(::chmod(machine.program.c_str(), 0555), 0);
    int reports = 0;
    EXPECT_FALSE(saveSettingsAtClose(*store, [&](const std::string&) { ++reports; }));
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(readFile(machine.program + "Tavrel.ini"), "[Options]\r\nWordWrap=0\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(machine.program), fs::directory_iterator()), 2);
}

TEST(Startup, aWritableIniInAReadOnlyPortableFolderIsWrittenInPlaceAsOrdinaryUser) {
    if (test::runningAsRoot()) {
        GTEST_SKIP() << test::kRootSkipReason;
    }
    Machine machine;
    writeFile(machine.program + "usb.dat", "");
    writeFile(machine.program + "Tavrel.ini", "[Options]\r\nWordWrap=0\r\n");
    struct stat before {};
    ASSERT_EQ(::stat((machine.program + "Tavrel.ini").c_str(), &before), 0);
    const auto store = openSettingsStore(settleStorageLocations(machine.environment()));
    ASSERT_EQ(::chmod(machine.program.c_str(), 0555), 0);
    int reports = 0;
    EXPECT_TRUE(saveSettingsAtClose(*store, [&](const std::string&) { ++reports; }));
    EXPECT_EQ(reports, 0);
    const std::string after = readFile(machine.program + "Tavrel.ini");
    EXPECT_NE(after.find("WordWrap=0"), std::string::npos) << after;
    EXPECT_NE(after.find("[Info]"), std::string::npos) << after; // the version mark went in
    struct stat now {};
    ASSERT_EQ(::stat((machine.program + "Tavrel.ini").c_str(), &now), 0);
    EXPECT_EQ(now.st_ino, before.st_ino);
    EXPECT_EQ(std::distance(fs::directory_iterator(machine.program), fs::directory_iterator()), 2);
}

} // namespace
} // namespace tavrel
