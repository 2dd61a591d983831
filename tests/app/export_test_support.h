// Helpers of the export tests: a scratch folder, Qt's own GIF reader as the independent
// decoder, and the web-palette reduction written out from its channel thresholds so that the
// expected pixels do not come from the library under test.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <stdlib.h>

namespace tavrel::test {

class ScratchFolder {
public:
    // A fresh folder of its own: a fixed name would be shared with the same test running at
    // the same time from another build on this machine.
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tavrel-export-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "mkdtemp failed for " << pattern;
        }
        path_ = pattern;
    }
    ~ScratchFolder() { std::filesystem::remove_all(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const noexcept { return path_; }
    [[nodiscard]] std::string file(const std::string& name) const {
        return (path_ / name).string();
    }
    [[nodiscard]] std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(path_), {}));
    }

private:
    std::filesystem::path path_;
};

inline std::vector<std::uint8_t> fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Qt's GIF reader; a null image when it cannot read the data.
inline QImage decodeWithQt(const QByteArray& gif) {
    QByteArray data = gif;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    reader.setAllocationLimit(0); // whole documents are large
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

inline QImage decodeWithQt(const std::vector<std::uint8_t>& gif) {
    return decodeWithQt(
        QByteArray(reinterpret_cast<const char*>(gif.data()), static_cast<qsizetype>(gif.size())));
}

// The web-safe level of a channel: 0-47 give 0, 48-98 give 51, ..., 252-255 give 255.
inline int webSafeChannel(int value) {
    static constexpr std::array<int, 5> kFirstOfNextLevel = {48, 99, 150, 201, 252};
    int level = 0;
    while (level < 5 && value >= kFirstOfNextLevel[static_cast<std::size_t>(level)]) {
        ++level;
    }
    return level * 51;
}

inline QImage webSafe(const QImage& image) {
    QImage reduced = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < reduced.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(reduced.scanLine(y));
        for (int x = 0; x < reduced.width(); ++x) {
            row[x] = qRgb(webSafeChannel(qRed(row[x])), webSafeChannel(qGreen(row[x])),
                          webSafeChannel(qBlue(row[x])));
        }
    }
    return reduced;
}

// The first pixel where two images differ, for a readable failure; empty when they match.
inline std::string firstDifference(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size()) {
        return "size " + std::to_string(actual.width()) + " x " + std::to_string(actual.height()) +
               ", expected " + std::to_string(expected.width()) + " x " +
               std::to_string(expected.height());
    }
    for (int y = 0; y < actual.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
        const auto* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
        for (int x = 0; x < actual.width(); ++x) {
            if ((a[x] & 0xFFFFFFu) != (e[x] & 0xFFFFFFu)) {
                return "pixel " + std::to_string(x) + ", " + std::to_string(y) + " is " +
                       QString::number(a[x] & 0xFFFFFFu, 16).toStdString() + ", expected " +
                       QString::number(e[x] & 0xFFFFFFu, 16).toStdString();
            }
        }
    }
    return {};
}

} // namespace tavrel::test
