// The command-line export: every corpus file written and read back by Qt's own GIF reader
// to the pixels the editor painted, after reduction; the user's colours; the size limit of
// the format; unreadable files; several files into a folder; standard output.
#include "app/export_command_line.h"
#include "app/gif_export_files.h"

#include "app/art_look.h"
#include "app/export_load.h"
#include "app/export_render.h"
#include "app/settings_catalogue.h"
#include "app/viewer_setup.h"
#include "editor/qt/text_editor.h"
#include "editor/url_highlighter.h"
#include "export_test_support.h"
#include "nul_files.h"
#include "support/corpus.h"
#include "support/gif_decoder.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

// The document as the viewer paints it with these settings: the pixels the export must
// write once they are reduced. Null when it is too large for a GIF image.
struct Painted {
    QImage image;
    DocumentImageSize size;
    int lineHeight = 0;
    std::int32_t spaceWidth = 0;
};

Painted paintLikeTheViewer(const std::string& bytes, const AppSettings& settings = {},
                           std::int32_t wrapColumns = 0) {
    TextEditor editor;
    applyViewerSettings(editor, settings);
    setExportWrap(editor, wrapColumns);
    std::string error;
    ArtFile art;
    EXPECT_TRUE(loadBytesForExport(editor.engine(), bytes, "art", settings, error, &art)) << error;
    const ArtLook look(editor, art, settings); // ANSI art in its colours, as the window shows it
    Painted painted;
    painted.size = measureDocumentImage(editor);
    painted.lineHeight = editor.lineHeight();
    painted.spaceWidth = editor.glyphMetrics().spaceWidth();
    if (painted.size.fitsGif()) {
        painted.image = renderDocumentImage(editor, painted.size);
    }
    return painted;
}

struct Outcome {
    int status = 0;
    std::string out;
    std::string err;
};

Outcome exportFiles(const GifExportRequest& request, const AppSettings& settings = {}) {
    std::ostringstream out;
    std::ostringstream err;
    ExportStreams streams{out, err, "tavrel"};
    Outcome run;
    run.status = exportGifFiles(request, settings, {}, streams);
    run.out = out.str();
    run.err = err.str();
    return run;
}

int runCommandLine(std::vector<std::string> arguments, const ExportEnvironment& environment = {}) {
    arguments.insert(arguments.begin(), "tavrel");
    std::vector<char*> argv;
    for (std::string& a : arguments) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    return runExportCommandLine(static_cast<int>(arguments.size()), argv.data(), environment);
}

std::string writeText(const test::ScratchFolder& folder, const std::string& name,
                      const std::string& bytes) {
    const std::string path = folder.file(name);
    test::writeBytes(path, bytes);
    return path;
}

TEST(GifExportCommandLine, everyCorpusFileReadsBackAsThePaintedPixelsReduced) {
    const std::vector<fs::path> files = test::corpusFiles();
    ASSERT_FALSE(files.empty()) << "no corpus at " << test::corpusDir();
    test::ScratchFolder folder;
    const std::string target = folder.file("image.gif");
    int exported = 0;
    int refused = 0;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        const Painted painted = paintLikeTheViewer(test::readFile(file));
        const Outcome run = exportFiles({target, "", {file.string()}, 0});
        if (!painted.size.fitsGif()) {
            // Refused before any image is made, naming the limit and the size it would need.
            EXPECT_EQ(run.status, kExportRefused);
            EXPECT_NE(run.err.find("65535"), std::string::npos) << run.err;
            EXPECT_NE(run.err.find(std::to_string(painted.size.width) + " x " +
                                   std::to_string(painted.size.height)),
                      std::string::npos)
                << run.err;
            ++refused;
            continue;
        }
        ASSERT_EQ(run.status, kExportOk) << run.err;
        EXPECT_EQ(run.err, "");
        const std::vector<std::uint8_t> gif = test::fileBytes(target);
        const QImage decoded = test::decodeWithQt(gif);
        ASSERT_FALSE(decoded.isNull());
        EXPECT_EQ(decoded.width(), painted.size.width);
        EXPECT_EQ(decoded.height(), painted.size.height);
        EXPECT_EQ(test::firstDifference(decoded, test::webSafe(painted.image)), "");
        EXPECT_EQ(gif_check::decode(gif).version, "GIF87a");
        ++exported;
    }
    // The corpus has both: files that fit and files too tall for one image.
    EXPECT_GT(exported, 50);
    EXPECT_GT(refused, 0);
}

TEST(GifExportCommandLine, beyondTheEditorsDocumentPictureTheLinesArePaintedAlike) {
    // The second way of painting, used for images the editor's picture does not make, gives
    // the same pixels where both can.
    for (const char* name : {"nfo/c64demo.nfo", "diz/ansilove.diz", "utf8/rune.nfo"}) {
        for (const std::int32_t wrap : {0, 17}) {
            SCOPED_TRACE(std::string(name) + " wrap " + std::to_string(wrap));
            TextEditor editor;
            applyViewerSettings(editor, AppSettings{});
            setExportWrap(editor, wrap);
            std::string error;
            ASSERT_TRUE(loadForExport(editor.engine(), (test::corpusDir() / name).string(),
                                      AppSettings{}, 0, error))
                << error;
            const DocumentImageSize size = measureDocumentImage(editor);
            const QImage lines = paintDocumentLines(editor, size);
            const QImage whole = renderDocumentImage(editor, size);
            ASSERT_FALSE(lines.isNull());
            EXPECT_EQ(test::firstDifference(lines, whole), "");
        }
    }
}

TEST(GifExportCommandLine, theUsersFontAndColoursAreUsed) {
    test::ScratchFolder folder;
    const std::string file = (test::corpusDir() / "nfo/c64demo.nfo").string();
    ConfigSaver store("", "", [](const std::string&, std::string_view) { return WriteStatus{}; });
    AppSettings user;
    user.backColor = rgbColor(0xFF, 0xFF, 0xCC);
    user.editorFont.color = rgbColor(0x80, 0x00, 0x00);
    user.editorFont.bold = true;
    store.writeColor("Options", "BackColor", user.backColor);
    store.writeFont("Options", "Font5", user.editorFont);
    ExportEnvironment environment;
    environment.openSettings = [&store] {
        auto copy = std::make_unique<ConfigSaver>("", "", FileWriter{});
        copy->writeColor("Options", "BackColor", store.readColor("Options", "BackColor", 0));
        FontSpec font;
        store.readFont("Options", "Font5", font, font);
        copy->writeFont("Options", "Font5", font);
        return copy;
    };
    const std::string target = folder.file("user.gif");
    ASSERT_EQ(runCommandLine({"--export-gif", target, file}, environment), kExportOk);

    const std::vector<std::uint8_t> gif = test::fileBytes(target);
    const gif_check::File decoded = gif_check::decode(gif);
    ASSERT_FALSE(decoded.globalTable.empty());
    EXPECT_EQ(decoded.globalTable[0], (gif_check::Rgb{255, 255, 204})); // the background
    const QImage painted = paintLikeTheViewer(test::readFile(file), user).image;
    EXPECT_EQ(test::firstDifference(test::decodeWithQt(gif), test::webSafe(painted)), "");
    // Not the default look: that one starts with the dark blue.
    EXPECT_NE(test::firstDifference(test::webSafe(painted),
                                    test::webSafe(paintLikeTheViewer(test::readFile(file)).image)),
              "");
}

// Colours the first word of every paragraph red, as a highlighter would.
class FirstWordRed : public HighlightSource {
public:
    void runsOf(Pos, std::string_view text, std::vector<HighlightRun>& out) override {
        const auto end = std::min(text.find(' '), text.size());
        out.push_back({0, static_cast<Pos>(end), 0x000000FF, kNoColor, 0});
    }
};

bool holdsColour(const QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((row[x] & 0xFFFFFFu) == (colour & 0xFFFFFFu)) {
                return true;
            }
        }
    }
    return false;
}

TEST(GifExportCommandLine, theHighlightersThePreparationAttachesArePainted) {
    test::ScratchFolder folder;
    const std::string file = writeText(folder, "words.txt", "Highlighted words\r\nand more");
    FirstWordRed highlighter;
    ExportEnvironment environment;
    environment.prepareEditor = [&highlighter](TextEditor& editor, const AppSettings&) {
        editor.setHighlightSource(&highlighter);
    };
    const std::string target = folder.file("words.gif");
    ASSERT_EQ(runCommandLine({"--export-gif", target, file}, environment), kExportOk);
    EXPECT_TRUE(holdsColour(test::decodeWithQt(test::fileBytes(target)), qRgb(255, 0, 0)));
    ASSERT_EQ(runCommandLine({"--export-gif", target, file}), kExportOk);
    EXPECT_FALSE(holdsColour(test::decodeWithQt(test::fileBytes(target)), qRgb(255, 0, 0)));
}

// The longest horizontal run of one colour in any row.
int longestRun(const QImage& image, QRgb colour) {
    int best = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = (image.pixel(x, y) & 0xFFFFFFu) == (colour & 0xFFFFFFu) ? run + 1 : 0;
            best = std::max(best, run);
        }
    }
    return best;
}

TEST(GifExportCommandLine, theExportShowsAddressesUnderlinedAndKeywordsAsTheWindowDoes) {
    test::ScratchFolder folder;
    const std::string file = writeText(folder, "art.nfo", "greets www.example.org");
    const std::string keywords = writeText(folder, "highlight.dat", "GREETS\r\n");
    UrlHighlighter urls;
    ExportEnvironment environment;
    environment.prepareEditor = [&](TextEditor& editor, const AppSettings& settings) {
        AppSettings on = settings;
        on.launch = true;
        on.highLight = true;
        on.highlightColor = 0x0000FF00;      // lime
        on.highlightBackground = 0x00000000; // black
        applyViewerHighlighting(editor, urls, on, keywords);
    };
    const std::string target = folder.file("art.gif");
    ASSERT_EQ(runCommandLine({"--export-gif", target, file}, environment), kExportOk);
    const QImage image = test::decodeWithQt(test::fileBytes(target));
    const int cell = paintLikeTheViewer("x").spaceWidth;
    // The underline: one unbroken lime line as wide as the 15 characters of the address.
    EXPECT_GE(longestRun(image, qRgb(0, 255, 0)), 15 * cell);
    // The keyword's black background, at least as wide as its six characters.
    EXPECT_GE(longestRun(image, qRgb(0, 0, 0)), 6 * cell);
    ASSERT_EQ(runCommandLine({"--export-gif", target, file}), kExportOk);
    EXPECT_FALSE(holdsColour(test::decodeWithQt(test::fileBytes(target)), qRgb(0, 255, 0)));
}

TEST(GifExportCommandLine, wrappingNarrowsTheImageToTheColumns) {
    test::ScratchFolder folder;
    const std::string file = (test::corpusDir() / "diz/ansilove.diz").string();
    const std::string target = folder.file("wrapped.gif");
    ASSERT_EQ(runCommandLine({"--export-gif", target, "--wrap", "20", file}), kExportOk);
    const Painted painted = paintLikeTheViewer(test::readFile(file), {}, 20);
    EXPECT_EQ(painted.size.width, 20 * painted.spaceWidth + 16); // two margins of 8
    const QImage decoded = test::decodeWithQt(test::fileBytes(target));
    EXPECT_EQ(test::firstDifference(decoded, test::webSafe(painted.image)), "");
    EXPECT_GT(decoded.height(), paintLikeTheViewer(test::readFile(file)).size.height);
}

// The image parts of "W x H pixels" in a message.
std::pair<std::int64_t, std::int64_t> statedSize(const std::string& message) {
    std::smatch match;
    if (!std::regex_search(message, match, std::regex(R"((\d+) x (\d+) pixels)"))) {
        return {-1, -1};
    }
    return {std::stoll(match[1]), std::stoll(match[2])};
}

TEST(GifExportCommandLine, imagesBeyondTheFormatsLimitAreRefusedWithTheSizeNeeded) {
    test::ScratchFolder folder;
    // One line of 70000 characters: too wide unwrapped, too tall wrapped at one character.
    const std::string file = writeText(folder, "long.txt", std::string(70000, 'x'));
    const std::string target = folder.file("never.gif");
    const Painted one = paintLikeTheViewer("x");

    const Outcome wide = exportFiles({target, "", {file}, 0});
    EXPECT_EQ(wide.status, kExportRefused);
    EXPECT_NE(wide.err.find("65535"), std::string::npos) << wide.err;
    EXPECT_NE(wide.err.find("--wrap"), std::string::npos) << wide.err;
    EXPECT_EQ(statedSize(wide.err).first, 70000 * std::int64_t{one.size.width - 16} + 16);

    const Outcome tall = exportFiles({target, "", {file}, 1});
    EXPECT_EQ(tall.status, kExportRefused);
    EXPECT_EQ(statedSize(tall.err).second, 70000 * std::int64_t{one.lineHeight}) << tall.err;
    EXPECT_EQ(tall.err.find("--wrap"), std::string::npos) << "wrapping would not help";

    EXPECT_EQ(runCommandLine({"--export-gif", target, "--wrap", "1", file}), kExportRefused);
    EXPECT_FALSE(fs::exists(target));
}

// Whether a band of rows holds anything but the background.
bool inked(const QImage& image, int top, int bottom) {
    const QRgb background = image.pixel(0, top) & 0xFFFFFFu;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFFu) != background) {
                return true;
            }
        }
    }
    return false;
}

TEST(GifExportCommandLine, tallDocumentsArePaintedToTheirLastLine) {
    // Taller than the editor's own document picture goes, within the format's limit.
    const int lineHeight = paintLikeTheViewer("x").lineHeight;
    const int lines = 32767 / lineHeight + 200;
    ASSERT_LE(std::int64_t{lines} * lineHeight, kGifMaxDimension);
    std::string text;
    for (int i = 0; i < lines; ++i) {
        text += "line " + std::to_string(i) + (i % 7 == 0 ? " \xdb\xb2\xb1\xb0" : "") + "\r\n";
    }
    text += "the end";
    test::ScratchFolder folder;
    const std::string file = writeText(folder, "tall.txt", text);
    const std::string target = folder.file("tall.gif");
    ASSERT_EQ(exportFiles({target, "", {file}, 0}).status, kExportOk);
    const QImage decoded = test::decodeWithQt(test::fileBytes(target));
    ASSERT_EQ(decoded.height(), (lines + 1) * lineHeight);
    EXPECT_TRUE(inked(decoded, decoded.height() - lineHeight, decoded.height()));
    EXPECT_EQ(test::firstDifference(decoded, test::webSafe(paintLikeTheViewer(text).image)), "");
}

TEST(GifExportCommandLine, theWidthLimitIsInclusive) {
    test::ScratchFolder folder;
    const std::string file = writeText(folder, "short.txt", "a short line");
    const std::int32_t space = paintLikeTheViewer("x").spaceWidth;
    const auto columns = static_cast<std::int32_t>((kGifMaxDimension - 16) / space);
    const std::string target = folder.file("widest.gif");
    ASSERT_EQ(exportFiles({target, "", {file}, columns}).status, kExportOk);
    const QImage widest = test::decodeWithQt(test::fileBytes(target));
    EXPECT_EQ(widest.width(), std::int64_t{columns} * space + 16);
    EXPECT_EQ(test::firstDifference(
                  widest, test::webSafe(paintLikeTheViewer("a short line", {}, columns).image)),
              "");
    // One more column than the format can hold, unless the glyphs are so narrow that the
    // extra column still fits.
    const std::int64_t wider = std::int64_t{columns + 1} * space + 16;
    EXPECT_EQ(exportFiles({target, "", {file}, columns + 1}).status,
              wider > kGifMaxDimension ? kExportRefused : kExportOk);
}

TEST(GifExportCommandLine, aFileThatCannotBeReadGivesStatusOneAndSaysWhy) {
    test::ScratchFolder folder;
    const std::string missing = folder.file("missing.nfo");
    const std::string target = folder.file("never.gif");
    const Outcome run = exportFiles({target, "", {missing}, 0});
    EXPECT_EQ(run.status, kExportFileError);
    EXPECT_NE(run.err.find(missing + " does not exist"), std::string::npos) << run.err;

    const Outcome dir = exportFiles({target, "", {folder.path().string()}, 0});
    EXPECT_EQ(dir.status, kExportFileError);
    EXPECT_NE(dir.err.find("is not a file"), std::string::npos) << dir.err;

    EXPECT_EQ(runCommandLine({"--export-gif", target, missing}), kExportFileError);
    EXPECT_FALSE(fs::exists(target));
}

// A NUL byte is the blank cell code page 437 draws for it: a file with NULs exports to the
// very image of the same file with spaces in their place, the text after them included.
TEST(ImageExportCommandLine, nulBytesExportAsBlankCellsAndTheTextAfterThemIsThere) {
    test::ScratchFolder folder;
    for (const test::NulFile& nul : test::nulFiles()) {
        const std::string file = writeText(folder, nul.name, nul.bytes);
        const std::string spaced =
            writeText(folder, "spaced-" + nul.name, test::nulsAsSpaces(nul.bytes));
        for (const std::string format : {"gif", "png"}) {
            SCOPED_TRACE(nul.name + " as " + format);
            const std::string image = folder.file(nul.name + "." + format);
            const std::string reference = folder.file("spaced-" + nul.name + "." + format);
            ASSERT_EQ(runCommandLine({"--export-" + format, image, file}), kExportOk);
            ASSERT_EQ(runCommandLine({"--export-" + format, reference, spaced}), kExportOk);
            EXPECT_EQ(test::fileBytes(image), test::fileBytes(reference));
            // Not a blank image: the text's colour is in it beside the background.
            const QImage decoded(QString::fromStdString(image));
            ASSERT_FALSE(decoded.isNull());
            const QRgb background = decoded.pixel(0, 0);
            bool text = false;
            for (int y = 0; y < decoded.height() && !text; ++y) {
                for (int x = 0; x < decoded.width() && !text; ++x) {
                    text = decoded.pixel(x, y) != background;
                }
            }
            EXPECT_TRUE(text) << decoded.width() << " x " << decoded.height();
        }
    }
}

TEST(GifExportCommandLine, anUnwritableTargetGivesStatusOne) {
    test::ScratchFolder folder;
    const std::string file = writeText(folder, "a.nfo", "art");
    const Outcome run = exportFiles({folder.file("no folder/a.gif"), "", {file}, 0});
    EXPECT_EQ(run.status, kExportFileError);
    EXPECT_NE(run.err.find("no folder/a.gif"), std::string::npos) << run.err;
}

TEST(GifExportCommandLine, severalFilesGoToTheFolderWithAProgressLineEach) {
    test::ScratchFolder folder;
    const fs::path out = folder.path() / "gifs";
    fs::create_directories(out);
    const std::string first = (test::corpusDir() / "diz/ansilove.diz").string();
    const std::string missing = folder.file("gone.nfo");
    const std::string third = (test::corpusDir() / "nfo/c64demo.nfo").string();
    const Outcome run = exportFiles({"", out.string(), {first, missing, third}, 0});
    EXPECT_EQ(run.status, kExportFileError) << "one file could not be read";
    EXPECT_EQ(run.out, "");

    const Painted a = paintLikeTheViewer(test::readFile(first));
    const Painted c = paintLikeTheViewer(test::readFile(third));
    const auto line = [](const std::string& prefix, const std::string& file, const fs::path& gif,
                         const DocumentImageSize& size) {
        return "tavrel: " + prefix + " " + file + " -> " + gif.string() + " (" +
               std::to_string(size.width) + " x " + std::to_string(size.height) + " pixels)\n";
    };
    EXPECT_EQ(run.err, line("[1/3]", first, out / "ansilove.gif", a.size) + "tavrel: [2/3] " +
                           missing + " does not exist\n" +
                           line("[3/3]", third, out / "c64demo.gif", c.size));
    EXPECT_EQ(test::firstDifference(test::decodeWithQt(test::fileBytes(out / "ansilove.gif")),
                                    test::webSafe(a.image)),
              "");
    EXPECT_EQ(test::firstDifference(test::decodeWithQt(test::fileBytes(out / "c64demo.gif")),
                                    test::webSafe(c.image)),
              "");
}

TEST(GifExportCommandLine, twoFilesOfOneNameDoNotOverwriteEachOther) {
    test::ScratchFolder folder;
    fs::create_directories(folder.path() / "one");
    fs::create_directories(folder.path() / "two");
    const std::string first = writeText(folder, "one/art.nfo", "first");
    const std::string second = writeText(folder, "two/art.diz", "second, longer");
    const Outcome run = exportFiles({"", folder.path().string(), {first, second}, 0});
    EXPECT_EQ(run.status, kExportFileError);
    EXPECT_NE(run.err.find("[2/2] " + second + ": not exported"), std::string::npos) << run.err;
    const QImage kept = test::decodeWithQt(test::fileBytes(folder.path() / "art.gif"));
    EXPECT_EQ(test::firstDifference(kept, test::webSafe(paintLikeTheViewer("first").image)), "");
}

TEST(GifExportCommandLine, theImageNeverReplacesTheFileItShows) {
    test::ScratchFolder folder;
    const std::string file = writeText(folder, "art.gif", "text art in a file named .gif");
    const std::string link = folder.file("link.gif");
    std::filesystem::create_symlink(file, link);
    for (const GifExportRequest& request :
         {GifExportRequest{file, "", {file}, 0}, GifExportRequest{link, "", {file}, 0},
          GifExportRequest{"", folder.path().string(), {file}, 0}}) {
        const Outcome run = exportFiles(request);
        EXPECT_EQ(run.status, kExportFileError);
        EXPECT_NE(run.err.find("would replace the file"), std::string::npos) << run.err;
        EXPECT_EQ(test::readFile(file), "text art in a file named .gif");
    }
}

TEST(GifExportCommandLine, aDashWritesTheImageToStandardOutput) {
    test::ScratchFolder folder;
    const std::string file = (test::corpusDir() / "diz/ansilove.diz").string();
    const Outcome piped = exportFiles({"-", "", {file}, 0});
    ASSERT_EQ(piped.status, kExportOk) << piped.err;
    EXPECT_EQ(piped.err, "");
    EXPECT_EQ(folder.entries(), 0u);
    const std::string target = folder.file("a.gif");
    ASSERT_EQ(exportFiles({target, "", {file}, 0}).status, kExportOk);
    const std::vector<std::uint8_t> written = test::fileBytes(target);
    EXPECT_EQ(std::vector<std::uint8_t>(piped.out.begin(), piped.out.end()), written);
}

TEST(GifExportCommandLine, otherCommandLinesAreLeftToTheViewer) {
    EXPECT_EQ(runCommandLine({"art.nfo"}), -1);
    EXPECT_EQ(runCommandLine({}), -1);
    EXPECT_EQ(runCommandLine({"--export-gif", "out.gif"}), kExportRefused);
}

} // namespace
} // namespace tavrel
