// The handoff on Windows behind the same InstanceServer as elsewhere: the toolkit-free
// receiver's names become nameHanded signals. Its window gets its messages from Qt's own
// event loop, which dispatches every window of the thread.
#include "platform/handoff_win32.h"
#include "platform/instance_channel.h"

#include <QDir>

namespace tavrel::platform {

std::string runtimeFolder() {
    // Named kernel objects live in the session's own namespace; the folder only has to be
    // there for the callers that look at it.
    return QDir::tempPath().toStdString();
}

InstanceServer::~InstanceServer() = default;

std::unique_ptr<InstanceServer> InstanceServer::start(const std::string& /*folder*/,
                                                      const std::string& key) {
    std::unique_ptr<InstanceServer> server(new InstanceServer());
    server->receiver_ = HandoffReceiver::start(
        key, [target = server.get()](const std::string& name) { Q_EMIT target->nameHanded(name); });
    if (server->receiver_ == nullptr) {
        return nullptr;
    }
    return server;
}

QString InstanceServer::socketPath() const {
    return {};
}

Handoff handToRunningInstance(const std::string& /*folder*/, const std::string& key,
                              const std::string& name, int timeoutMs, int answerMs) {
    switch (handToRunningWindow(key, name, timeoutMs, answerMs)) {
    case HandoffOutcome::Delivered:
        return Handoff::Delivered;
    case HandoffOutcome::NoInstance:
        return Handoff::NoInstance;
    case HandoffOutcome::NoAnswer:
        break;
    }
    return Handoff::NoAnswer;
}

} // namespace tavrel::platform
