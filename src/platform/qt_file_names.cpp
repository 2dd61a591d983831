// File names between the program and Qt: UTF-8 on Windows, Qt's own encoding of the file
// system's bytes elsewhere (which keeps a Latin-1 name from an old archive byte for byte).
#include "platform/qt_file_names.h"

#include <QByteArray>
#include <QFile>

namespace tavrel::platform {

QString qtFileName(const std::string& name) {
#ifdef _WIN32
    return QString::fromStdString(name);
#else
    return QFile::decodeName(QByteArray::fromStdString(name));
#endif
}

std::string fileNameOf(const QString& name) {
#ifdef _WIN32
    return name.toStdString();
#else
    return QFile::encodeName(name).toStdString();
#endif
}

} // namespace tavrel::platform
