// The PNG exports read back by the tests' own PNG reader (zlib and the row filters, no Qt
// image code): "Save as PNG image..." writes the viewport's painted pixels exactly, the
// command line writes the document as the viewer paints it, each pixel a square of the
// scale, and refuses what would pass the size limit once enlarged.
#include "app/export_command_line.h"
#include "app/export_load.h"
#include "app/export_render.h"
#include "app/png_export_files.h"
#include "app/png_image.h"
#include "app/save_as_image.h"
#include "app/settings_catalogue.h"
#include "app/viewer_setup.h"
#include "support/corpus.h"

#include "editor/qt/text_editor.h"
#include "editor/qt/widget_test_support.h"
#include "export_test_support.h"
#include "support/png_decoder.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

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

    std::vector<ImageSaveRequest> requests;
    ImageSaveCommand command;
    command.currentFileName = "/art/readme.1st.nfo";
    command.askFileName = [&](const ImageSaveRequest& r) -> std::optional<std::string> {
        requests.push_back(r);
        return folder.file("shot.png");
    };
    command.text = [](int number) { return QString::number(number); };
    command.showError = [](const QString&, const QString&, const QString& details) {
        ADD_FAILURE() << details.toStdString();
    };
    ASSERT_EQ(saveAsPng(*editor, command), ImageSaveResult::Saved);
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

// The whole document as the viewer paints it with the default settings.
QImage paintedDocument(const std::string& bytes, DocumentImageSize* sizeOut = nullptr) {
    TextEditor editor;
    const AppSettings settings;
    applyViewerSettings(editor, settings);
    setExportWrap(editor, 0);
    std::string error;
    EXPECT_TRUE(loadBytesForExport(editor.engine(), bytes, "art", settings, error)) << error;
    const DocumentImageSize size = measureDocumentImage(editor);
    if (sizeOut != nullptr) {
        *sizeOut = size;
    }
    return size.fitsGif() ? renderDocumentImage(editor, size).convertToFormat(QImage::Format_RGB32)
                          : QImage();
}

int runCommandLine(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "tavrel");
    std::vector<char*> argv;
    for (std::string& a : arguments) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    return runExportCommandLine(static_cast<int>(arguments.size()), argv.data());
}

TEST(PngExportCommandLine, writesThePaintedPixelsAtScaleOneAndEachAsASquareAtScaleThree) {
    const std::string art = test::readFile(test::corpusDir() / "nfo" / "emerge.nfo");
    if (art.empty()) {
        GTEST_SKIP() << "corpus not found";
    }
    test::ScratchFolder folder;
    const std::string file = folder.file("emerge.nfo");
    test::writeBytes(file, art);
    const QImage painted = paintedDocument(art);
    ASSERT_FALSE(painted.isNull());

    ASSERT_EQ(runCommandLine({"--export-png", folder.file("one.png"), file}), kExportOk);
    EXPECT_EQ(firstDifference(readPng(folder.file("one.png")), painted), "");

    ASSERT_EQ(runCommandLine({"--export-png", folder.file("three.png"), "--scale", "3", file}),
              kExportOk);
    const test::PngPixels three = readPng(folder.file("three.png"));
    ASSERT_EQ(three.width, static_cast<std::uint32_t>(3 * painted.width()));
    ASSERT_EQ(three.height, static_cast<std::uint32_t>(3 * painted.height()));
    for (std::uint32_t y = 0; y < three.height; ++y) {
        for (std::uint32_t x = 0; x < three.width; ++x) {
            ASSERT_EQ(three.at(x, y),
                      painted.pixel(static_cast<int>(x / 3), static_cast<int>(y / 3)) & 0xFFFFFF)
                << "pixel " << x << "," << y;
        }
    }
}

TEST(PngExportCommandLine, anImageOverTheLimitOnceEnlargedIsRefusedAndNothingIsWritten) {
    test::ScratchFolder folder;
    const std::string text = std::string(1500, '#') + "\r\n";
    DocumentImageSize size;
    ASSERT_TRUE(paintedDocument(text, &size).width() > 0);
    ASSERT_GT(size.width * 8, 65535);
    const std::string file = folder.file("wide.nfo");
    test::writeBytes(file, text);

    std::ostringstream out;
    std::ostringstream err;
    ExportStreams streams{out, err, "tavrel"};
    PngExportRequest request;
    request.output = folder.file("wide.png");
    request.files = {file};
    request.scale = 8;
    EXPECT_EQ(exportPngFiles(request, AppSettings{}, {}, streams), kExportRefused);
    EXPECT_NE(err.str().find(std::to_string(size.width * 8) + " x " +
                             std::to_string(size.height * 8) +
                             " pixels, but a PNG image can be at most 65535"),
              std::string::npos)
        << err.str();
    EXPECT_EQ(folder.entries(), 1u); // only the text file

    // At scale 1 the same document fits, and standard output gets the file's bytes.
    request.output = "-";
    request.scale = 1;
    EXPECT_EQ(exportPngFiles(request, AppSettings{}, {}, streams), kExportOk) << err.str();
    std::string error;
    const auto png = test::decodePng(out.str(), error);
    ASSERT_TRUE(png.has_value()) << error;
    EXPECT_EQ(png->width, static_cast<std::uint32_t>(size.width));
}

TEST(PngExportCommandLine, aFolderGetsOneImagePerFileNamedWithPng) {
    test::ScratchFolder folder;
    const std::string a = folder.file("a.nfo");
    const std::string b = folder.file("b.diz");
    test::writeBytes(a, "\xDB\xDB\r\n");
    test::writeBytes(b, "\xB0\xB1\r\n");
    std::filesystem::create_directory(folder.path() / "out");
    ASSERT_EQ(
        runCommandLine({"--export-png", "--output-dir", folder.file("out"), "--scale=2", a, b}),
        kExportOk);
    for (const auto& [name, source] : {std::pair{"out/a.png", a}, std::pair{"out/b.png", b}}) {
        const QImage painted = paintedDocument(test::readFile(source));
        const test::PngPixels png = readPng(folder.file(name));
        EXPECT_EQ(png.width, static_cast<std::uint32_t>(2 * painted.width())) << name;
        EXPECT_EQ(png.height, static_cast<std::uint32_t>(2 * painted.height())) << name;
    }
}

} // namespace
} // namespace tavrel
