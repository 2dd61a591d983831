// The handoff between two starts of the program over a local socket in a folder only this
// user can reach, with the peer's user id checked as well: a name handed over ends up loaded
// in the running window, so nobody else may hand one in.
#include "platform/instance_channel.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>
#include <QVariant>

#include <chrono>
#include <cstdlib>
#include <thread>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace tavrel::platform {

namespace {

// A frame longer than this is no file name but garbage or an attack; the connection is cut.
constexpr quint32 kLongestName = 1u << 20;
// A client that connects but does not finish its frame is cut off after this long.
constexpr int kClientPatienceMs = 15000;
// Where a connection keeps the name it sent until the client confirms it.
constexpr const char* kPendingName = "tavrelPendingName";

QString lockPath(const std::string& folder, const std::string& key) {
    return QString::fromStdString(folder + "/" + key + ".lock");
}

QString socketPathOf(const std::string& folder, const std::string& key) {
    return QString::fromStdString(folder + "/" + key + ".socket");
}

// Whether the process at the other end of the socket runs as this user.
bool peerIsThisUser([[maybe_unused]] const QLocalSocket& socket) {
#if defined(Q_OS_LINUX)
    ucred credentials{};
    socklen_t length = sizeof credentials;
    const int fd = static_cast<int>(socket.socketDescriptor());
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 &&
           credentials.uid == getuid();
#elif defined(Q_OS_UNIX)
    uid_t uid = 0;
    gid_t gid = 0;
    return getpeereid(static_cast<int>(socket.socketDescriptor()), &uid, &gid) == 0 &&
           uid == getuid();
#else
    return true; // a named pipe's default access is its creator's
#endif
}

#ifdef Q_OS_UNIX
// A folder that is a real directory (no link), owned by this user and closed to others.
bool isPrivateFolder(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
           (info.st_mode & 077) == 0;
}
#endif

// A lock file that names no owner (empty, cut short by a crash or a full disk, or garbage)
// can never be shown to be held: it is stale, and removed. A lock being written right now is
// also empty for a moment, so only one left so for longer than that is taken.
constexpr std::chrono::seconds kUnreadableLockAge{2};

void removeUnreadableLock(const QString& path) {
    const QFileInfo file(path);
    if (!file.exists() || !file.isFile()) {
        return;
    }
    qint64 pid = 0;
    QString host;
    QString application;
    if (QLockFile(path).getLockInfo(&pid, &host, &application) && pid > 0) {
        return; // a named owner: the lock's own rules say whether it is running
    }
    const QDateTime changed = file.lastModified();
    if (changed.isValid() && changed.secsTo(QDateTime::currentDateTime()) <
                                 static_cast<qint64>(kUnreadableLockAge.count())) {
        return;
    }
    QFile::remove(path);
}

// Takes the lock, treating one whose owner is gone or cannot be read as stale.
bool takeLock(QLockFile& lock, const QString& path) {
    // Only a lock whose process is gone is stale, however old it is.
    lock.setStaleLockTime(0);
    if (lock.tryLock(0)) {
        return true;
    }
    removeUnreadableLock(path);
    return lock.tryLock(0);
}

} // namespace

std::string runtimeFolder() {
#ifdef Q_OS_UNIX
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime != nullptr && *runtime == '/' && isPrivateFolder(runtime)) {
        return runtime;
    }
    const std::string own = QDir::tempPath().toStdString() + "/tavrel-" + std::to_string(getuid());
    mkdir(own.c_str(), 0700); // may exist already; checked next
    return isPrivateFolder(own) ? own : std::string();
#else
    return QDir::tempPath().toStdString();
#endif
}

std::string handoffFrame(const std::string& name) {
    const auto length = static_cast<quint32>(name.size());
    std::string frame{static_cast<char>(length >> 24), static_cast<char>(length >> 16),
                      static_cast<char>(length >> 8), static_cast<char>(length)};
    return frame + name;
}

InstanceServer::InstanceServer(std::unique_ptr<QLockFile> lock,
                               std::unique_ptr<QLocalServer> server)
    : lock_(std::move(lock)), server_(std::move(server)) {
    connect(server_.get(), &QLocalServer::newConnection, this, &InstanceServer::accept);
}

InstanceServer::~InstanceServer() {
    server_->close(); // removes the socket file before the lock is released
}

std::unique_ptr<InstanceServer> InstanceServer::start(const std::string& folder,
                                                      const std::string& key) {
    if (folder.empty()) {
        return nullptr;
    }
    auto lock = std::make_unique<QLockFile>(lockPath(folder, key));
    if (!takeLock(*lock, lockPath(folder, key))) {
        return nullptr;
    }
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    const QString path = socketPathOf(folder, key);
    // Holding the lock, any socket file there is a killed instance's leftover.
    QLocalServer::removeServer(path);
    if (!server->listen(path)) {
        return nullptr;
    }
    return std::unique_ptr<InstanceServer>(new InstanceServer(std::move(lock), std::move(server)));
}

QString InstanceServer::socketPath() const {
    return server_->fullServerName();
}

void InstanceServer::accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!peerIsThisUser(*socket)) {
            socket->abort();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read(socket); });
        QTimer::singleShot(kClientPatienceMs, socket, [socket] { socket->abort(); });
        read(socket); // the frame may have arrived with the connection
    }
}

void InstanceServer::read(QLocalSocket* socket) {
    // Second step: the client still wants the window to take the name. A client that gave up
    // waiting (this window was busy) has opened a window of its own and closed instead; its
    // name, still in the socket's buffer, must not open a second time here.
    if (const QVariant pending = socket->property(kPendingName); pending.isValid()) {
        if (socket->bytesAvailable() < 1) {
            return;
        }
        const bool confirmed = socket->read(1) == QByteArray(1, kHandoffConfirm);
        socket->setProperty(kPendingName, QVariant());
        socket->disconnectFromServer();
        if (confirmed) {
            Q_EMIT nameHanded(pending.toByteArray().toStdString());
        }
        return;
    }
    if (socket->bytesAvailable() < 4) {
        return;
    }
    const QByteArray head = socket->peek(4);
    const quint32 length = (quint32(quint8(head[0])) << 24) | (quint32(quint8(head[1])) << 16) |
                           (quint32(quint8(head[2])) << 8) | quint32(quint8(head[3]));
    if (length > kLongestName) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < qint64(4 + length)) {
        return;
    }
    socket->read(4);
    socket->setProperty(kPendingName, socket->read(length));
    socket->write(&kHandoffAnswer, 1);
    socket->flush();
    if (socket->bytesAvailable() > 0) {
        read(socket); // the confirmation came with the frame
    }
}

Handoff handToRunningInstance(const std::string& folder, const std::string& key,
                              const std::string& name, int timeoutMs, int answerMs) {
    if (folder.empty()) {
        return Handoff::NoInstance;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    const auto left = [&deadline] {
        return int(std::max<long long>(0, std::chrono::duration_cast<std::chrono::milliseconds>(
                                              deadline - std::chrono::steady_clock::now())
                                              .count()));
    };
    const QByteArray frame = QByteArray::fromStdString(handoffFrame(name));
    do {
        QLocalSocket socket;
        socket.connectToServer(socketPathOf(folder, key));
        if (socket.waitForConnected(std::min(left(), 500))) {
            // The window is there and listening: a long command may keep it from answering
            // for a while, which is worth waiting for rather than opening a second window.
            const auto answerBy = std::max(deadline, std::chrono::steady_clock::now() +
                                                         std::chrono::milliseconds(answerMs));
            const auto answerLeft = [&answerBy] {
                return int(
                    std::max<long long>(0, std::chrono::duration_cast<std::chrono::milliseconds>(
                                               answerBy - std::chrono::steady_clock::now())
                                               .count()));
            };
            socket.write(frame);
            while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(answerLeft())) {
            }
            while (socket.bytesAvailable() < 1 && socket.waitForReadyRead(answerLeft())) {
            }
            if (socket.bytesAvailable() >= 1 && socket.peek(1)[0] == kHandoffAnswer) {
                // The window takes the name only once told that this start ends.
                socket.write(&kHandoffConfirm, 1);
                if (socket.waitForBytesWritten(1000) || socket.bytesToWrite() == 0) {
                    return Handoff::Delivered;
                }
            }
            // Given up: closing the connection withdraws the name.
            return Handoff::NoAnswer;
        } else {
            // Nobody listens: either the instance is still starting, or it is gone and its
            // lock with it.
            QLockFile probe(lockPath(folder, key));
            if (takeLock(probe, lockPath(folder, key))) {
                return Handoff::NoInstance;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (left() > 0);
    return Handoff::NoAnswer;
}

} // namespace tavrel::platform
