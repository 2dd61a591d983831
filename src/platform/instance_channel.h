// One window for all files: the first start of the program holds a per-user lock and listens
// on a local socket; a later start hands its file name over that socket and ends. On Windows
// the lock is a named mutex and the name goes through a shared block and a window message
// (handoff_win32.h).
#pragma once

#include <QObject>

#include <memory>
#include <optional>
#include <string>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace tavrel::platform {

class HandoffReceiver;

// The private folder the lock and the socket live in: $XDG_RUNTIME_DIR, else a folder of
// our own below the temporary directory, created with mode 0700. Empty when no folder that
// only this user can reach is to be had.
[[nodiscard]] std::string runtimeFolder();

// The instance key: portable copies and installed copies keep separate instances, so the key
// names the settings folder as well as the user.
[[nodiscard]] std::string instanceKey(const std::string& settingsFolder);

// The running instance's end. It holds the lock for its life and emits nameHanded for each
// name a later start of the same user hands over, in the order they arrive.
class InstanceServer final : public QObject {
    Q_OBJECT

public:
    ~InstanceServer() override;
    InstanceServer(const InstanceServer&) = delete; // owns the lock and the socket
    InstanceServer& operator=(const InstanceServer&) = delete;

    // Takes the lock (taking over one whose process is gone) and listens; empty when another
    // live process holds the lock, or when no private folder or socket could be made.
    [[nodiscard]] static std::unique_ptr<InstanceServer> start(const std::string& folder,
                                                               const std::string& key);

    // Where others connect (not on Windows, where they find a window instead).
    [[nodiscard]] QString socketPath() const;

Q_SIGNALS:
    // A name handed over by another start: the bytes it sent, possibly empty.
    void nameHanded(const std::string& name);

private:
#ifdef _WIN32
    InstanceServer() = default;

    std::unique_ptr<HandoffReceiver> receiver_;
#else
    InstanceServer(std::unique_ptr<QLockFile> lock, std::unique_ptr<QLocalServer> server);
    void accept();
    void read(QLocalSocket* socket);

    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
#endif
};

// What a later start found.
enum class Handoff {
    Delivered,  // the running instance has the name; this start ends
    NoInstance, // nobody holds the lock: this start is the first
    NoAnswer,   // the lock is held but nobody answered in time: open a window of our own
};

// Hands name (any bytes, any length) to the instance that holds the lock in folder, trying
// for up to timeoutMs while that instance is still starting; once connected, its answer is
// awaited for up to answerMs (a busy window answers late). NoAnswer withdraws the name: the
// running instance never takes it.
[[nodiscard]] Handoff handToRunningInstance(const std::string& folder, const std::string& key,
                                            const std::string& name, int timeoutMs = 2000,
                                            int answerMs = 10000);

// The protocol's frame: the name's length as four bytes, most significant first, then its
// bytes. The running instance answers one byte, 'K', once it has read the name; the start
// that handed it confirms with one byte, 'Y', and ends, and only then is the name taken. A
// start that closes the connection instead has given up and opened a window of its own.
[[nodiscard]] std::string handoffFrame(const std::string& name);
inline constexpr char kHandoffAnswer = 'K';
inline constexpr char kHandoffConfirm = 'Y';

} // namespace tavrel::platform
