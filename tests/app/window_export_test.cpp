// The real main window on an X server with a window manager against "tavrel --export-gif" on
// the same corpus files: the image must show exactly the pixels the window shows. The
// expected picture is the X server's own copy of the window, grabbed by a separate tool and
// reduced to the web palette by the tests' own thresholds; the export is read back by Qt's
// GIF reader. A line pitch that differs by one pixel moves every later row and fails here.
#include "end_to_end_support.h"
#include "export_test_support.h"
#include "support/x_session.h"

#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <thread>

namespace tavrel::test {
namespace {

namespace fs = std::filesystem;

// The window's picture, taken once the text has been laid out and painted.
QImage grabProgramWindow(const Installation& install, const std::string& file,
                         const std::string& scratch, std::string& problem) {
    QProcess program;
    QProcessEnvironment environment = xProgramEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       QString::fromStdString(install.configHome));
    program.setProcessEnvironment(environment);
    program.start(QString::fromStdString(install.program), {QString::fromStdString(file)});
    if (!program.waitForStarted(10000)) {
        problem = "the program did not start";
        return {};
    }
    const QString id = waitForWindow(QStringLiteral("^Tavrel - "));
    QImage picture;
    if (id.isEmpty()) {
        problem = "the window did not appear: " + program.readAllStandardError().toStdString();
    } else {
        // Layout runs in slices after the window is shown; give it time to settle.
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        const std::string png = scratch + "/window.png";
        QProcess grab;
        grab.start(QStringLiteral(TAVREL_X_GRAB), {id, QString::fromStdString(png)});
        if (!grab.waitForFinished(20000) || grab.exitCode() != 0) {
            problem = "grabbing the window failed: " + grab.readAllStandardError().toStdString();
        } else {
            picture = QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
        }
    }
    program.kill();
    program.waitForFinished(10000);
    return picture;
}

QImage exportImage(const Installation& install, const std::string& file, const std::string& scratch,
                   std::string& problem) {
    const std::string out = scratch + "/export.gif";
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       QString::fromStdString(install.configHome));
    program.setProcessEnvironment(environment);
    program.start(QString::fromStdString(install.program),
                  {QStringLiteral("--export-gif"), QString::fromStdString(out),
                   QString::fromStdString(file)});
    if (!program.waitForFinished(60000) || program.exitCode() != 0) {
        problem = "the export failed: " + program.readAllStandardError().toStdString();
        return {};
    }
    const std::vector<std::uint8_t> bytes = fileBytes(out);
    return decodeWithQt(bytes);
}

// Where the region sits inside the picture, or nothing when it is nowhere.
std::optional<QPoint> findRegion(const QImage& picture, const QImage& region) {
    for (int dy = 0; dy + region.height() <= picture.height(); ++dy) {
        for (int dx = 0; dx + region.width() <= picture.width(); ++dx) {
            bool same = true;
            for (int y = 0; same && y < region.height(); ++y) {
                const auto* p = reinterpret_cast<const QRgb*>(picture.constScanLine(dy + y)) + dx;
                const auto* r = reinterpret_cast<const QRgb*>(region.constScanLine(y));
                for (int x = 0; x < region.width(); ++x) {
                    if ((p[x] & 0xFFFFFFu) != (r[x] & 0xFFFFFFu)) {
                        same = false;
                        break;
                    }
                }
            }
            if (same) {
                return QPoint(dx, dy);
            }
        }
    }
    return std::nullopt;
}

TEST(WindowAndExport, theExportShowsTheWindowsPixelsOnCorpusFiles) {
    if (const std::string missing = xSessionMissing(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    const Installation install;
    writeFile(install.folder + "usb.dat", ""); // portable: the user's own settings stay out
    // Text art with blocks and shades, plain text, a short description and settings text.
    const char* const files[] = {"nfo/c64demo.nfo", "nfo/emerge.nfo", "diz/gcal.diz",
                                 "diz/apex.diz",    "ini/sbbs.ini",   "nfo/odn.nfo"};
    for (const char* name : files) {
        SCOPED_TRACE(name);
        const std::string file = (corpusDir() / name).string();
        ASSERT_TRUE(fs::exists(file)) << file;
        const std::string scratch = install.root / "scratch";
        fs::create_directories(scratch);

        std::string problem;
        const QImage window = grabProgramWindow(install, file, scratch, problem);
        ASSERT_FALSE(window.isNull()) << problem;
        const QImage exported = exportImage(install, file, scratch, problem);
        ASSERT_FALSE(exported.isNull()) << problem;

        // The top of the document, as many rows as the window surely shows (several lines at
        // any font size) and no wider than the window's text area can be.
        const int width = std::min(exported.width(), std::min(window.width() / 2, 320));
        const int height = std::min(exported.height(), std::min(window.height() / 3, 160));
        const QImage region = exported.copy(0, 0, width, height);
        const std::optional<QPoint> at = findRegion(webSafe(window), region);
        EXPECT_TRUE(at.has_value())
            << "the top " << height << " rows and left " << width
            << " columns of the exported image appear nowhere in the window (" << window.width()
            << " x " << window.height() << ")";
    }
}

} // namespace
} // namespace tavrel::test
