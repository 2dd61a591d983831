// The instance key, shared by the socket handoff and the Windows one.
#include "platform/instance_channel.h"

#include <QByteArray>
#include <QCryptographicHash>

namespace tavrel::platform {

std::string instanceKey(const std::string& settingsFolder) {
    const QByteArray digest = QCryptographicHash::hash(QByteArray::fromStdString(settingsFolder),
                                                       QCryptographicHash::Sha256)
                                  .toHex()
                                  .left(16);
    return "tavrel-" + digest.toStdString();
}

} // namespace tavrel::platform
