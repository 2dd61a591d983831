// The built program on a real X server with a window manager (the CTest entry
// tavrel_app_xvfb_highlight): a click on an address in the window reaches the desktop's
// opener, here a stand-in xdg-open on PATH that records the arguments it was given.
#include "end_to_end_support.h"
#include "support/x_session.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <ostream>
#include <thread>

namespace tavrel::test {
namespace {

namespace fs = std::filesystem;

// Waits until the file holds something, up to timeoutMs.
std::string waitForContent(const std::string& path, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (fs::exists(path)) {
            if (std::string text = readFile(path); !text.empty() && text.back() == '\n') {
                return text;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return fs::exists(path) ? readFile(path) : std::string();
}

struct Clicked {
    const char* name;
    std::string written; // the address on every line of the file
    std::string opened;  // what must reach the opener, one argument

    friend void PrintTo(const Clicked& c, std::ostream* out) { *out << c.name; }
};

class XvfbHighlight : public ::testing::TestWithParam<Clicked> {};

// A web address gets "http://" in front and keeps the rest exactly as written (a shell on the
// way would expand "$HOME" and split the command at ";" and "&"); a mail address keeps only
// the header fields a mail link may carry, never one that attaches a local file.
INSTANTIATE_TEST_SUITE_P(
    Addresses, XvfbHighlight,
    ::testing::Values(
        Clicked{"Web", "www.example.org/a;$HOME&b=" + std::string(60, 'x'),
                "http://www.example.org/a;$HOME&b=" + std::string(60, 'x')},
        Clicked{"MailAttachment",
                "mailto:joe@host.org?attach=/etc/passwd&subject=Hi&Attachment=~/.ssh/id&body=" +
                    std::string(60, 'x'),
                "mailto:joe@host.org?subject=Hi&body=" + std::string(60, 'x')}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_P(XvfbHighlight, clickingAnAddressHandsItToTheDesktopOpener) {
    if (const std::string missing = xSessionMissing(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    const Installation install;
    writeFile(install.folder + "usb.dat", "");
    // Every line one long address, so that a click anywhere in the text lands on one.
    const std::string address = GetParam().written;
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += address + "\r\n";
    }
    const std::string document = install.root / "links.txt";
    writeFile(document, text);

    const std::string bin = install.root / "bin";
    fs::create_directories(bin);
    const std::string record = install.root / "opened.txt";
    writeFile(bin + "/xdg-open",
              "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done >> \"" + record + "\"\n");
    fs::permissions(bin + "/xdg-open", fs::perms::owner_all | fs::perms::group_read |
                                           fs::perms::group_exec | fs::perms::others_read |
                                           fs::perms::others_exec);

    QProcess program;
    QProcessEnvironment environment = xProgramEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       QString::fromStdString(install.configHome));
    environment.insert(QStringLiteral("PATH"), QString::fromStdString(bin) + QStringLiteral(":") +
                                                   environment.value(QStringLiteral("PATH")));
    // No desktop session: the opener found on PATH is the one used.
    environment.remove(QStringLiteral("XDG_CURRENT_DESKTOP"));
    environment.remove(QStringLiteral("DESKTOP_SESSION"));
    environment.remove(QStringLiteral("BROWSER"));
    environment.remove(QStringLiteral("DEFAULT_BROWSER"));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(QString::fromStdString(install.root.folderText()));
    program.start(QString::fromStdString(install.program), {QString::fromStdString(document)});
    ASSERT_TRUE(program.waitForStarted(10000)) << program.errorString().toStdString();

    const QString id = waitForWindow(QStringLiteral("^Tavrel - "));
    if (id.isEmpty()) {
        program.kill();
        program.waitForFinished();
        FAIL() << "the window did not appear: " << program.readAllStandardError().toStdString();
    }
    ASSERT_TRUE(xdotool({"windowactivate", "--sync", id}).has_value());
    // Below the menu bar, inside the text of the first lines.
    ASSERT_TRUE(clickAt(id, 120, 90));
    const std::string opened = waitForContent(record, 15000);

    ASSERT_TRUE(sendKeys(id, {"alt+x"}));
    if (!program.waitForFinished(20000)) {
        program.kill();
        program.waitForFinished();
    }
    ASSERT_FALSE(opened.empty()) << "nothing reached xdg-open; the program said: "
                                 << program.readAllStandardError().toStdString();
    EXPECT_EQ(opened, GetParam().opened + "\n");
}

} // namespace
} // namespace tavrel::test
