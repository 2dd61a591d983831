// Nearest-neighbour enlargement and PNG encoding through Qt's image writer.
#include "app/png_image.h"

#include <QBuffer>
#include <QImageWriter>
#include <stdexcept>

namespace tavrel {

bool fitsPng(std::int64_t width, std::int64_t height, int scale) noexcept {
    return width * scale <= kPngMaxDimension && height * scale <= kPngMaxDimension;
}

QImage scaledForPng(const QImage& image, int scale) {
    if (scale <= 1) {
        return image;
    }
    // FastTransformation samples the nearest source pixel: no blending between cells.
    return image.scaled(image.width() * scale, image.height() * scale, Qt::IgnoreAspectRatio,
                        Qt::FastTransformation);
}

QByteArray encodePng(const QImage& image, std::string& error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // The screen's picture has no transparency: RGB32 is written as 8-bit RGB.
    if (!writer.write(image)) {
        error = "the PNG image could not be made: " + writer.errorString().toStdString();
        return {};
    }
    return bytes;
}

std::string pngFileBytes(const QImage& image, const char* nullReason) {
    if (image.isNull()) {
        throw std::runtime_error(nullReason);
    }
    std::string error;
    const QByteArray bytes = encodePng(image, error);
    if (bytes.isEmpty()) {
        throw std::runtime_error(error);
    }
    return bytes.toStdString();
}

} // namespace tavrel
