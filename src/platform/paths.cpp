// Path look-ups through Qt and the standard library.
#include "platform/paths.h"
#include "platform/qt_file_names.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>

#include <filesystem>

namespace tavrel::platform {

namespace {

[[nodiscard]] std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) {
        path.pop_back();
    }
    return path;
}

} // namespace

std::string programFolder() {
    std::string folder = fileNameOf(QCoreApplication::applicationDirPath());
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::string userConfigFolder() {
#ifdef _WIN32
    // The roaming application-data folder, where per-user settings have always been kept.
    const QString folder = qEnvironmentVariable("APPDATA");
#else
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#endif
    return withoutTrailingSlash(fileNameOf(folder));
}

bool isFile(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

std::string canonicalPath(const std::string& path) {
    std::error_code ec;
    std::filesystem::path resolved = std::filesystem::canonical(path, ec);
    return ec ? std::string() : resolved.string();
}

bool isSameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    const bool same = std::filesystem::equivalent(a, b, ec);
    return !ec && same;
}

bool isDirectory(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

void makeFolders(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(withoutTrailingSlash(path), ec);
}

} // namespace tavrel::platform
