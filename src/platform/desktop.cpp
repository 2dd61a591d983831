// The desktop's browser through Qt, programs started detached.
#include "platform/desktop.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace tavrel::platform {

bool openWebAddress(const std::string& address) {
    const QUrl url(QString::fromStdString(address), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        return false;
    }
    return QDesktopServices::openUrl(url);
}

bool startProgram(const std::string& path) {
    return QProcess::startDetached(QString::fromStdString(path), {});
}

std::string uninstallerBeside(const std::string& programFolder) {
#ifdef Q_OS_WIN
    const std::string path = programFolder + "Uninstall/Uninstall.exe";
#else
    const std::string path = programFolder + "uninstall";
#endif
    const QFileInfo info(QString::fromStdString(path));
    return info.isFile() && info.isExecutable() ? path : std::string();
}

} // namespace tavrel::platform
