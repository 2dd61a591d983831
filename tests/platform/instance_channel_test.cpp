// The handoff between two starts, in one process: the client side runs on a thread of its
// own (it blocks as a second start does) while the test's event loop serves as the running
// instance. Forked children play a killed instance and another user.
#include "platform/instance_channel.h"
#include "support/temp_folder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLockFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <future>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tavrel::platform {
namespace {

using test::TempFolder;

constexpr const char* kKey = "tavrel-test";

// Hands name over on another thread while this one serves events; the client's result and
// the names the server emitted.
struct Exchange {
    Handoff result;
    std::vector<std::string> received;
};

Exchange exchange(InstanceServer* server, const std::string& folder, const std::string& name,
                  int timeoutMs = 2000, int answerMs = 10000) {
    Exchange out{};
    QMetaObject::Connection connection;
    if (server != nullptr) {
        connection =
            QObject::connect(server, &InstanceServer::nameHanded,
                             [&out](const std::string& got) { out.received.push_back(got); });
    }
    auto client = std::async(std::launch::async, [&] {
        return handToRunningInstance(folder, kKey, name, timeoutMs, answerMs);
    });
    while (client.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    out.result = client.get();
    // The confirmation that lets the server take the name follows the client's answer.
    QElapsedTimer settle;
    settle.start();
    while (server != nullptr && out.result == Handoff::Delivered && out.received.empty() &&
           settle.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QObject::disconnect(connection);
    return out;
}

// A running instance in a folder of the test's own, with the names it took.
struct Listening {
    TempFolder folder;
    std::string path = folder.path().string();
    std::unique_ptr<InstanceServer> server = InstanceServer::start(path, kKey);
    std::vector<std::string> received;

    Listening() {
        if (server != nullptr) {
            QObject::connect(server.get(), &InstanceServer::nameHanded,
                             [this](const std::string& got) { received.push_back(got); });
        }
    }
};

TEST(InstanceChannel, framesCarryTheLengthMostSignificantByteFirst) {
    EXPECT_EQ(handoffFrame(""), std::string("\0\0\0\0", 4));
    EXPECT_EQ(handoffFrame("ab"), std::string("\0\0\0\2ab", 6));
    EXPECT_EQ(handoffFrame(std::string(0x10203, 'x')).substr(0, 4), std::string("\0\1\2\3", 4));
}

TEST(InstanceChannel, namesArriveByteForByteWhateverTheyHold) {
    TempFolder folder;
    auto server = InstanceServer::start(folder.path().string(), kKey);
    ASSERT_NE(server, nullptr);
    const std::vector<std::string> names = {
        "/home/user/My Art/ACiD release.nfo", "/tmp/Grüße – 2026.txt",
        std::string("/old/caf\xe9.nfo"), // Latin-1 from an old archive: no valid UTF-8
        "", "/deep/" + std::string(100000, 'd') + ".txt"};
    for (const std::string& name : names) {
        const Exchange got = exchange(server.get(), folder.path().string(), name);
        EXPECT_EQ(got.result, Handoff::Delivered);
        ASSERT_EQ(got.received.size(), 1u);
        EXPECT_EQ(got.received.front(), name);
    }
}

TEST(InstanceChannel, aSecondServerIsRefusedWhileTheFirstHoldsTheLock) {
    TempFolder folder;
    auto first = InstanceServer::start(folder.path().string(), kKey);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(InstanceServer::start(folder.path().string(), kKey), nullptr);
    // Another key (another settings folder) is another instance.
    EXPECT_NE(InstanceServer::start(folder.path().string(), "tavrel-other"), nullptr);
    first.reset();
    EXPECT_NE(InstanceServer::start(folder.path().string(), kKey), nullptr);
}

TEST(InstanceChannel, nobodyHoldingTheLockMeansNoInstanceAtOnce) {
    TempFolder folder;
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(exchange(nullptr, folder.path().string(), "/x").result, Handoff::NoInstance);
    EXPECT_LT(clock.elapsed(), 1000);
}

TEST(InstanceChannel, aHeldLockWithoutAnAnswerGivesUpAfterTheTimeOut) {
    // The first instance is still starting: its lock is there, its socket not yet.
    TempFolder folder;
    QLockFile lock(QString::fromStdString(folder / (std::string(kKey) + ".lock")));
    ASSERT_TRUE(lock.tryLock(0));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(exchange(nullptr, folder.path().string(), "/x", 400).result, Handoff::NoAnswer);
    EXPECT_GE(clock.elapsed(), 350);
}

// A lock file that names no owner (empty after a crash or a full disk, or garbage) is stale
// once it is older than a lock being written; a fresh one still counts as held.
TEST(InstanceChannel, aLockThatNamesNoOwnerIsStale) {
    for (const std::string& content : {std::string(), std::string("\x01garbage\n")}) {
        TempFolder folder;
        const std::string path = folder.path().string();
        const std::string lock = folder / (std::string(kKey) + ".lock");
        test::writeFile(lock, content);
        EXPECT_EQ(InstanceServer::start(path, kKey), nullptr) << "taken while it may be written";
        const std::filesystem::file_time_type old =
            std::filesystem::file_time_type::clock::now() - std::chrono::seconds(10);
        std::filesystem::last_write_time(lock, old);
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(exchange(nullptr, path, "/x").result, Handoff::NoInstance);
        EXPECT_LT(clock.elapsed(), 1000);
        auto server = InstanceServer::start(path, kKey);
        ASSERT_NE(server, nullptr);
        EXPECT_EQ(exchange(server.get(), path, "/y").result, Handoff::Delivered);
    }
}

// A window too busy to answer in time: the start that gave up opens its own window, and the
// name it had sent is never taken by the busy one once it gets to it.
TEST(InstanceChannel, aNameGivenUpOnIsNeverTakenLater) {
    Listening listening;
    ASSERT_NE(listening.server, nullptr);
    const std::string& path = listening.path;
    InstanceServer* server = listening.server.get();
    std::vector<std::string>& received = listening.received;
    // The server's thread is busy (no events) while the client waits and gives up.
    auto client = std::async(std::launch::async, [&] {
        return handToRunningInstance(path, kKey, "/late.nfo", 300, 300);
    });
    EXPECT_EQ(client.get(), Handoff::NoAnswer);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 500) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_TRUE(received.empty()) << received.front();
    // The next start is taken as usual.
    EXPECT_EQ(exchange(server, path, "/next.nfo").received, std::vector<std::string>{"/next.nfo"});
}

TEST(InstanceChannel, aKilledInstancesLockAndSocketAreTakenOver) {
    TempFolder folder;
    const std::string path = folder.path().string();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto server = InstanceServer::start(path, kKey);
        _exit(server != nullptr ? 0 : 1); // no destructor: lock and socket file stay behind
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(std::filesystem::exists(folder / (std::string(kKey) + ".socket")));

    auto server = InstanceServer::start(path, kKey);
    ASSERT_NE(server, nullptr);
    const Exchange got = exchange(server.get(), path, "/after/the/crash.nfo");
    EXPECT_EQ(got.result, Handoff::Delivered);
    EXPECT_EQ(got.received, std::vector<std::string>{"/after/the/crash.nfo"});
}

TEST(InstanceChannel, twoStartsAtOnceBothDeliver) {
    Listening listening;
    ASSERT_NE(listening.server, nullptr);
    const std::string& path = listening.path;
    std::vector<std::string>& received = listening.received;
    auto a =
        std::async(std::launch::async, [&] { return handToRunningInstance(path, kKey, "/a"); });
    auto b =
        std::async(std::launch::async, [&] { return handToRunningInstance(path, kKey, "/b"); });
    while (a.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready ||
           b.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_EQ(a.get(), Handoff::Delivered);
    EXPECT_EQ(b.get(), Handoff::Delivered);
    QElapsedTimer clock; // the names are taken once their confirmations are read
    clock.start();
    while (received.size() < 2 && clock.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    std::sort(received.begin(), received.end());
    EXPECT_EQ(received, (std::vector<std::string>{"/a", "/b"}));
}

TEST(InstanceChannel, anotherUsersConnectionIsIgnored) {
    if (getuid() != 0) {
        GTEST_SKIP() << "playing another user needs root (CI runs as root)";
    }
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr) {
        GTEST_SKIP() << "no user nobody";
    }
    TempFolder folder;
    std::filesystem::permissions(folder.path(), std::filesystem::perms::all);
    auto server = InstanceServer::start(folder.path().string(), kKey);
    ASSERT_NE(server, nullptr);
    // Even a socket another user could reach (here: a world-open folder) takes nothing from
    // them.
    std::filesystem::permissions(server->socketPath().toStdString(), std::filesystem::perms::all);
    std::vector<std::string> received;
    QObject::connect(server.get(), &InstanceServer::nameHanded,
                     [&received](const std::string& got) { received.push_back(got); });

    const std::string socketPath = server->socketPath().toStdString();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Plain system calls only: this is a forked copy of a threaded Qt process.
        if (setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0) {
            _exit(3);
        }
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
        if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            _exit(4);
        }
        const std::string frame = handoffFrame("/tmp/evil.nfo");
        if (write(fd, frame.data(), frame.size()) != static_cast<ssize_t>(frame.size())) {
            _exit(5);
        }
        char answer = 0;
        _exit(read(fd, &answer, 1) == 1 && answer == kHandoffAnswer ? 1 : 0);
    }
    int status = -1;
    QElapsedTimer clock;
    clock.start();
    while (waitpid(child, &status, WNOHANG) == 0 && clock.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QCoreApplication::processEvents();
    ASSERT_TRUE(WIFEXITED(status)) << "the other user's client did not end";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: answered; 3-5: the client could not even try";
    EXPECT_TRUE(received.empty());
}

TEST(InstanceChannel, theRuntimeFolderIsPrivateAndKeysDifferPerSettingsFolder) {
    const std::string folder = runtimeFolder();
    ASSERT_FALSE(folder.empty());
    struct stat info {};
    ASSERT_EQ(lstat(folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_uid, getuid());
    EXPECT_EQ(info.st_mode & 077, 0u);
    EXPECT_NE(instanceKey("/home/a/.config/Velmantic/Tavrel/"), instanceKey("/media/usb/Tavrel/"));
    EXPECT_EQ(instanceKey("/media/usb/Tavrel/"), instanceKey("/media/usb/Tavrel/"));
}

} // namespace
} // namespace tavrel::platform
