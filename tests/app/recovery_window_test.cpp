// Where an ended program keeps the changed text when its settings folder cannot take it: a
// state folder of the user's own, closed to others, never through a link found under the
// name; the next start reports it from there.
#include "window_fixture.h"

#include "app/recovery_file.h"
#include "app/signal_end.h"

#include <QTest>

#include <ctime>
#include <filesystem>
#include <ostream>

#include <sys/stat.h>

namespace tavrel::test {
namespace {

namespace fs = std::filesystem;

struct Unwritable {
    const char* name;
    bool readOnlyFolder; // else the settings "folder" is a file

    friend void PrintTo(const Unwritable& u, std::ostream* out) { *out << u.name; }
};

class RecoveryWindow : public WindowTest, public ::testing::WithParamInterface<Unwritable> {};

INSTANTIATE_TEST_SUITE_P(Settings, RecoveryWindow,
                         ::testing::Values(Unwritable{"NotAFolder", false},
                                           Unwritable{"ReadOnlyFolderAsOrdinaryUser", true}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_P(RecoveryWindow, theTextGoesToTheUsersOwnFolderPastAPlantedLink) {
    if (GetParam().readOnlyFolder && runningAsRoot()) {
        GTEST_SKIP() << kRootSkipReason;
    }
    MainWindowSetup s = setup();
    const std::string settingsPath = folder / "settings";
    if (GetParam().readOnlyFolder) {
        fs::create_directories(settingsPath);
        fs::permissions(settingsPath, fs::perms::owner_read | fs::perms::owner_exec);
    } else {
        writeFile(settingsPath, "a file where the folder should be");
    }
    s.locations.settingsFolder = settingsPath + "/";
    s.locations.recoveryFolder = folder / "state/Velmantic/Tavrel/";
    window = std::make_unique<MainWindow>(std::move(s));
    MainWindow& w = *window;
    type(w, "typed, never saved");

    // Someone put a link under the name the copy would take first: it is left alone.
    fs::create_directories(w.locations().recoveryFolder);
    const std::string victim = folder / "victim.txt";
    writeFile(victim, "not yours");
    std::tm when{};
    const std::time_t now = std::time(nullptr);
    localtime_r(&now, &when);
    for (int second = -1; second <= 2; ++second) { // the copy is named for the second it is made
        std::tm at = when;
        at.tm_sec += second;
        std::mktime(&at);
        fs::create_symlink(victim,
                           w.locations().recoveryFolder + recoveryFileName(w.fileName(), at));
    }

    ASSERT_TRUE(keepTextForRecovery(w));
    EXPECT_EQ(readFile(victim), "not yours");
    struct stat info {};
    ASSERT_EQ(::lstat(w.locations().recoveryFolder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    std::vector<std::string> kept;
    for (const auto& entry : fs::directory_iterator(w.locations().recoveryFolder)) {
        if (!fs::is_symlink(entry.symlink_status()) &&
            entry.path().filename() != kRecoveryNoteName) {
            kept.push_back(entry.path().string());
        }
    }
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(readFile(kept[0]), "typed, never saved");
    // The link took the first name, so the copy went on to the second.
    const std::string name = fs::path(kept[0]).filename().string();
    EXPECT_EQ(name.rfind("Untitled (recovered ", 0), 0u) << name;
    EXPECT_TRUE(name.ends_with(") 2.txt")) << name;

    // The next start reports it from there, once.
    MainWindowSetup next = setup();
    next.locations = w.locations();
    window.reset();
    dialogs.log.clear();
    dialogs.details.clear();
    window = std::make_unique<MainWindow>(std::move(next));
    window->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.details.empty(); }, 5000));
    EXPECT_NE(dialogs.details.back().find(kept[0]), std::string::npos) << dialogs.details.back();
    if (GetParam().readOnlyFolder) {
        fs::permissions(settingsPath, fs::perms::owner_all);
    }
}

} // namespace
} // namespace tavrel::test
