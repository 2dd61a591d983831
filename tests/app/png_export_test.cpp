// The PNG exports read back by the tests' own PNG reader (zlib and the row filters, no Qt
// image code): "Save as PNG image..." writes the viewport's painted pixels exactly, and the
// enlargement repeats every pixel as a square of the scale.
#include "app/png_image.h"
#include "app/save_as_gif.h"

#include "editor/qt/text_editor.h"
#include "editor/qt/widget_test_support.h"
#include "export_test_support.h"
#include "support/png_decoder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tavrel {
namespace {

// The first pixel where the decoded file and the expected image differ, or "".
std::string firstDifference(const test::PngPixels& png, const QImage& expected) {
    if (png.width != static_cast<std::uint32_t>(expected.width()) ||
        png.height != static_cast<std::uint32_t>(expected.height())) {
        return "size " + std::to_string(png.width) + "x" + std::to_string(png.height);
    }
    for (std::uint32_t y = 0; y < png.height; ++y) {
        for (std::uint32_t x = 0; x < png.width; ++x) {
            const QRgb want = expected.pixel(static_cast<int>(x), static_cast<int>(y)) & 0xFFFFFF;
            if (png.at(x, y) != want) {
                return "pixel " + std::to_string(x) + "," + std::to_string(y);
            }
        }
    }
    return {};
}

test::PngPixels readPng(const std::string& path) {
    const std::vector<std::uint8_t> bytes = test::fileBytes(path);
    std::string error;
    const auto png = test::decodePng(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), error);
    EXPECT_TRUE(png.has_value()) << error;
    return png.value_or(test::PngPixels{});
}

// Block art with shades and colours beyond the web palette: what a GIF would reduce, a PNG
// keeps.
const char* const kArt =
    "\xDB\xDB\xB0\xB1\xB2 ANSI \xC9\xCD\xBB\r\n\xDF\xDC\xDD\xDE \xBA x \xBA\r\n";

TEST(SaveAsPng, writesTheViewportPixelsExactly) {
    test::ScratchFolder folder;
    auto editor = test::makeEditor(kArt, {.width = 200, .height = 90});
    editor->setColor(QColor(0x12, 0x34, 0x56));
    editor->setTextColor(QColor(0xAB, 0xCD, 0xEF));
    QApplication::processEvents();
    const QImage shown = editor->renderViewport();

    std::vector<GifSaveRequest> requests;
    GifSaveCommand command;
    command.currentFileName = "/art/readme.1st.nfo";
    command.askFileName = [&](const GifSaveRequest& r) -> std::optional<std::string> {
        requests.push_back(r);
        return folder.file("shot.png");
    };
    command.text = [](int number) { return QString::number(number); };
    command.showError = [](const QString&, const QString&, const QString& details) {
        ADD_FAILURE() << details.toStdString();
    };
    ASSERT_EQ(saveAsPng(*editor, command), GifSaveResult::Saved);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].proposedName, QStringLiteral("readme.1st.png"));
    EXPECT_EQ(requests[0].qtFilter, QStringLiteral("PNG image (*.png);;All files (*)"));

    const test::PngPixels png = readPng(folder.file("shot.png"));
    EXPECT_EQ(firstDifference(png, shown), "");
    EXPECT_EQ(png.at(0, 0), 0x123456u);
    EXPECT_EQ(folder.entries(), 1u);
}

TEST(PngImage, scalingRepeatsEachPixelAsASquareAndStaysWithinTheLimit) {
    auto editor = test::makeEditor(kArt);
    const QImage painted = editor->renderDocument(0).convertToFormat(QImage::Format_RGB32);
    for (const int scale : {1, 3}) {
        std::string error;
        const QByteArray bytes = encodePng(scaledForPng(painted, scale), error);
        ASSERT_FALSE(bytes.isEmpty()) << error;
        const auto png = test::decodePng(std::string_view(bytes.constData(), bytes.size()), error);
        ASSERT_TRUE(png.has_value()) << error;
        ASSERT_EQ(png->width, static_cast<std::uint32_t>(painted.width() * scale));
        ASSERT_EQ(png->height, static_cast<std::uint32_t>(painted.height() * scale));
        for (std::uint32_t y = 0; y < png->height; ++y) {
            for (std::uint32_t x = 0; x < png->width; ++x) {
                const QRgb source =
                    painted.pixel(static_cast<int>(x) / scale, static_cast<int>(y) / scale);
                ASSERT_EQ(png->at(x, y), source & 0xFFFFFF)
                    << "scale " << scale << " pixel " << x << "," << y;
            }
        }
    }
    EXPECT_TRUE(fitsPng(65535, 10, 1));
    EXPECT_FALSE(fitsPng(65536, 10, 1));
    EXPECT_TRUE(fitsPng(8191, 8191, 8));
    EXPECT_FALSE(fitsPng(8192, 10, 8));
}

} // namespace
} // namespace tavrel
