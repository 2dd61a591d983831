// The built program started for its window where there is no display: it says so in one line
// and how to export instead, and ends with status 1 rather than the toolkit's abort.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Ended {
    int status = -1;
    std::string err;
};

class NoDisplayProcess : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tavrel-no-display.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        std::ofstream(folder / "art.nfo") << "some art\r\n";
    }
    void TearDown() override { fs::remove_all(folder); }

    // Runs the program on the file with the platform named and no display in the
    // environment.
    Ended run(const std::string& platform, const std::string& extra = "") {
        const fs::path errFile = folder / "stderr.txt";
        const std::string command =
            "env -u DISPLAY -u WAYLAND_DISPLAY HOME='" + folder.string() + "' XDG_CONFIG_HOME='" +
            (folder / "config").string() + "' QT_QPA_PLATFORM=" + platform +
            " '" TAVREL_BINARY_DIR "/bin/tavrel' " + extra + "'" + (folder / "art.nfo").string() +
            "' 2>'" + errFile.string() + "' </dev/null";
        const int status = std::system(command.c_str());
        Ended ended;
        ended.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream in(errFile);
        std::ostringstream text;
        text << in.rdbuf();
        ended.err = text.str();
        return ended;
    }

    fs::path folder;
};

TEST_F(NoDisplayProcess, saysThereIsNoDisplayAndHowToExportInOneLine) {
    const Ended ended = run("xcb");
    EXPECT_EQ(ended.status, 1) << ended.err;
    EXPECT_NE(ended.err.find("no display"), std::string::npos) << ended.err;
    EXPECT_NE(ended.err.find("--export-png"), std::string::npos) << ended.err;
    ASSERT_FALSE(ended.err.empty());
    EXPECT_EQ(ended.err.find('\n'), ended.err.size() - 1) << ended.err;
}

TEST_F(NoDisplayProcess, theDefaultPlatformNeedsADisplayToo) {
    const Ended ended = run("''");
    EXPECT_EQ(ended.status, 1) << ended.err;
    EXPECT_NE(ended.err.find("no display"), std::string::npos) << ended.err;
}

TEST_F(NoDisplayProcess, aPlatformNamedOnTheCommandLineThatNeedsNoneIsUsed) {
    // An option nobody knows with one dash is refused once the toolkit has taken its own
    // options, after the look for a display: that refusal shows the look let it pass.
    const Ended ended = run("xcb", "-platform offscreen -z ");
    EXPECT_EQ(ended.status, 2) << ended.err;
    EXPECT_NE(ended.err.find("unrecognized option '-z'"), std::string::npos) << ended.err;
}

} // namespace
