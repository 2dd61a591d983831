// The export run as a process, as the program runs it: with no display to be found (and Qt
// told to use one), the image still comes out on standard output byte for byte, and the exit
// status tells refusals from unreadable files.
#include "app/export_command_line.h"
#include "app/gif_export_files.h"

#include "app/settings_catalogue.h"
#include "export_test_support.h"
#include "support/corpus.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <sstream>
#include <string>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace tavrel {
namespace {

struct Finished {
    int status = -1;
    QByteArray out;
    std::string err;
};

Finished runProbe(const QStringList& arguments, const std::string& configHome = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!configHome.empty()) {
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(configHome));
    }
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    // A platform that needs a display: the export must choose the offscreen one itself.
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TAVREL_EXPORT_PROBE), arguments);
    Finished finished;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        return finished;
    }
    finished.status = process.exitCode();
    finished.out = process.readAllStandardOutput();
    finished.err = process.readAllStandardError().toStdString();
    return finished;
}

TEST(GifExportProcess, aDashSendsTheImageToStandardOutputWithoutADisplay) {
    const std::string file = (test::corpusDir() / "nfo/c64demo.nfo").string();
    const Finished piped = runProbe({"--export-gif", "-", QString::fromStdString(file)});
    ASSERT_EQ(piped.status, kExportOk) << piped.err;

    std::ostringstream out;
    std::ostringstream err;
    ExportStreams streams{out, err, "tavrel"};
    ASSERT_EQ(exportGifFiles({"-", "", {file}, 0}, AppSettings{}, {}, streams), kExportOk);
    EXPECT_EQ(piped.out.toStdString(), out.str());
    EXPECT_FALSE(test::decodeWithQt(piped.out).isNull());
}

// The help says what a GIF does to the window's colours: the colour most of the sample's
// image shows, the window's dark blue, is the web palette's one that the help names, in each
// language. The export runs with no settings of its own, as for a new user.
TEST(GifExportProcess, theHelpNamesTheColourTheWindowsDarkBlueBecomes) {
    test::ScratchFolder config;
    const Finished piped = runProbe(
        {"--export-gif", "-", TAVREL_SOURCE_DIR "/examples/tavrel-sample.nfo"}, config.file(""));
    ASSERT_EQ(piped.status, kExportOk) << piped.err;
    const QImage image = test::decodeWithQt(piped.out);
    ASSERT_FALSE(image.isNull());
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ++counts[image.pixel(x, y)];
        }
    }
    const QRgb most = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                          return a.second < b.second;
                      })->first;
    const QString named =
        QStringLiteral("(%1, %2, %3)").arg(qRed(most)).arg(qGreen(most)).arg(qBlue(most));
    for (const char* help : {"/docs/help/index.html", "/docs/help/German/index.html"}) {
        QFile file(QStringLiteral(TAVREL_SOURCE_DIR) + QLatin1String(help));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << help;
        EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains(named))
            << help << " does not name " << named.toStdString();
    }
}

TEST(GifExportProcess, theExitStatusTellsWhatWentWrong) {
    test::ScratchFolder folder;
    const std::string wide = folder.file("wide.txt");
    test::writeBytes(wide, std::string(70000, '#'));
    const Finished refused = runProbe({"--export-gif", QString::fromStdString(folder.file("w.gif")),
                                       QString::fromStdString(wide)});
    EXPECT_EQ(refused.status, kExportRefused);
    EXPECT_NE(refused.err.find("at most 65535 pixels"), std::string::npos) << refused.err;

    const Finished unreadable =
        runProbe({"--export-gif", "-", QString::fromStdString(folder.file("missing.nfo"))});
    EXPECT_EQ(unreadable.status, kExportFileError);
    EXPECT_NE(unreadable.err.find("missing.nfo does not exist"), std::string::npos)
        << unreadable.err;
    EXPECT_TRUE(unreadable.out.isEmpty());

    EXPECT_EQ(runProbe({"--export-gif", "-"}).status, kExportRefused); // no file
    EXPECT_EQ(runProbe({"art.nfo"}).status, 64) << "not an export: left to the viewer";
}

TEST(GifExportProcess, devicesAndFifosAsTargetsAreWrittenToNeverReplaced) {
    test::ScratchFolder folder;
    const std::string art = folder.file("art.nfo");
    test::writeBytes(art, "some art\r\n");
    const std::string fifo = folder.file("pipe.gif");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    // Nobody reads the FIFO: the export says so instead of waiting or replacing it.
    const Finished toFifo =
        runProbe({"--export-gif", QString::fromStdString(fifo), QString::fromStdString(art)});
    EXPECT_NE(toFifo.status, kExportOk);
    EXPECT_NE(toFifo.err.find(fifo), std::string::npos) << toFifo.err;
    struct stat info {};
    ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));

    // A copy of the null device, as root can make one: the image goes into it.
    const std::string null = folder.file("null.gif");
    if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
        GTEST_SKIP() << "no device node can be made here (not root)";
    }
    const Finished toNull =
        runProbe({"--export-gif", QString::fromStdString(null), QString::fromStdString(art)});
    if (toNull.err.find(std::strerror(EACCES)) != std::string::npos) {
        GTEST_SKIP() << "device nodes cannot be opened here (nodev mount)";
    }
    EXPECT_EQ(toNull.status, kExportOk) << toNull.err;
    ASSERT_EQ(::stat(null.c_str(), &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode)) << "the device node was replaced";
}

} // namespace
} // namespace tavrel
