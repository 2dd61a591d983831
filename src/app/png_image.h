// The PNG side of the image exports: the painted picture enlarged by a whole factor with
// nearest-neighbour sampling (every pixel becomes a factor x factor square, so art stays
// crisp) and encoded by Qt's PNG writer into memory, for the atomic writer to put on disk.
#pragma once

#include "app/png_export_arguments.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <string>

namespace tavrel {

// Held to the GIF export's limit, so that both exports refuse the same documents.
inline constexpr std::int64_t kPngMaxDimension = 65535;

// True when an image of width x height enlarged `scale` times stays within the limit.
[[nodiscard]] bool fitsPng(std::int64_t width, std::int64_t height, int scale) noexcept;

// `image` enlarged `scale` times, nearest neighbour; a null image when the memory for it
// cannot be had.
[[nodiscard]] QImage scaledForPng(const QImage& image, int scale);

// The PNG file's bytes; empty with `error` set when the writer failed.
[[nodiscard]] QByteArray encodePng(const QImage& image, std::string& error);

// The same for an export: a null image (its memory could not be had) throws `nullReason`, a
// failed writer its own reason.
[[nodiscard]] std::string pngFileBytes(const QImage& image, const char* nullReason);

} // namespace tavrel
