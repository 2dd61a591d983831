// The command-line export: loads each file the way the viewer loads it, paints the whole
// document with the editor's own painter, and writes the GIF image. Sizes are checked before
// any image is made, so a document too large for the format costs only its layout.
#include "app/export_command_line.h"

#include "app/document_file.h"
#include "app/document_title.h"
#include "app/export_render.h"
#include "app/recent_files.h"
#include "app/save_as_gif.h"
#include "app/settings_catalogue.h"
#include "app/viewer_look.h"
#include "editor/qt/text_editor.h"
#include "platform/atomic_file.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace tavrel {

namespace {

std::string sizeText(const DocumentImageSize& size) {
    return std::to_string(size.width) + " x " + std::to_string(size.height) + " pixels";
}

// One file's way from its bytes to the image's bytes; a status and a message when it fails.
struct Exported {
    int status = kExportOk;
    std::string message;
    std::string warning; // the image was made, but shows less than the file holds
    DocumentImageSize size;
    std::vector<std::uint8_t> gif;
};

Exported failed(int status, std::string message) {
    Exported result;
    result.status = status;
    result.message = std::move(message);
    return result;
}

Exported exportDocument(TextEditor& editor, const AppSettings& settings, const std::string& file) {
    std::string error;
    std::optional<std::string> bytes = readWholeFile(file, &error);
    if (!bytes) {
        return failed(kExportFileError, error);
    }
    const std::size_t fileSize = bytes->size();
    try {
        const std::int64_t nul = loadAsTheViewerDoes(editor, std::move(*bytes), settings);
        const DocumentImageSize size = measureDocumentImage(editor);
        if (!size.fitsGif()) {
            std::string message = file + ": the image would be " + sizeText(size) +
                                  ", but a GIF image can be at most " +
                                  std::to_string(kGifMaxDimension) + " pixels wide and high";
            if (size.width > kGifMaxDimension && !editor.wordWrap()) {
                message += " (" + std::string(kWrapOption) + " N wraps the lines)";
            }
            return failed(kExportRefused, message);
        }
        const QImage image = renderDocumentImage(editor, size);
        if (image.isNull()) {
            return failed(kExportFileError,
                          file + ": not enough memory for an image of " + sizeText(size));
        }
        Exported result;
        if (nul >= 0) {
            // The window says this in its notice line; a script only sees standard error.
            result.warning = file + ": warning: the text stops at a NUL byte at offset " +
                             std::to_string(nul) + "; the " +
                             std::to_string(fileSize - static_cast<std::size_t>(nul)) +
                             " bytes from there to the end of the file are not in the image";
        }
        result.size = {image.width(), image.height()};
        result.gif = pictureFromCapture(image, editor.color()).saveToBytes();
        return result;
    } catch (const std::exception& e) {
        return failed(kExportFileError, file + ": " + e.what());
    }
}

// Writes the image to its target; an empty text on success, else what went wrong.
std::string writeImage(const std::vector<std::uint8_t>& gif, const std::string& target,
                       std::ostream& out) {
    const std::string_view bytes(reinterpret_cast<const char*>(gif.data()), gif.size());
    if (target == kStandardOutputName) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        return out ? std::string() : std::string("cannot write to standard output");
    }
    return platform::writeFileAtomically(target, bytes).error;
}

std::string targetFor(const GifExportRequest& request, const std::string& file) {
    if (request.outputDir.empty()) {
        return request.output;
    }
    return (std::filesystem::path(request.outputDir) / proposedGifName(file)).string();
}

} // namespace

int exportGifFiles(const GifExportRequest& request, const AppSettings& settings,
                   const GifExportEnvironment& environment, GifExportStreams& streams) {
    TextEditor editor;
    applyViewerLook(editor, settings);
    if (environment.prepareEditor) {
        environment.prepareEditor(editor, settings);
    }
    setExportWrap(editor, request.wrapColumns);

    const bool batch = !request.outputDir.empty();
    const std::size_t total = request.files.size();
    std::map<std::string, std::string> written; // target -> the file it shows, this run
    int worst = kExportOk;
    for (std::size_t i = 0; i < total; ++i) {
        const std::string& file = request.files[i];
        const std::string target = targetFor(request, file);
        const std::string prefix =
            streams.programName + ": " +
            (batch ? "[" + std::to_string(i + 1) + "/" + std::to_string(total) + "] " : "");
        // Two files of one name in different folders would land on one image.
        if (const auto earlier = written.find(target); batch && earlier != written.end()) {
            streams.err << prefix << file << ": not exported, " << target
                        << " already holds the image of " << earlier->second << '\n';
            worst = std::max(worst, kExportFileError);
            continue;
        }
        // "--export-gif art.nfo art.nfo" would put the image in place of the text.
        if (std::error_code code;
            target != kStandardOutputName && std::filesystem::equivalent(target, file, code)) {
            streams.err << prefix << file << ": not exported, the image would replace the file\n";
            worst = std::max(worst, kExportFileError);
            continue;
        }
        Exported result = exportDocument(editor, settings, file);
        if (result.status == kExportOk) {
            if (std::string error = writeImage(result.gif, target, streams.out); !error.empty()) {
                result = failed(kExportFileError, std::move(error));
            }
        }
        if (result.status != kExportOk) {
            streams.err << prefix << result.message << '\n';
            worst = std::max(worst, result.status);
            continue;
        }
        if (!result.warning.empty()) {
            streams.err << prefix << result.warning << '\n';
        }
        written.emplace(target, file);
        if (batch) {
            streams.err << prefix << file << " -> " << target << " (" << sizeText(result.size)
                        << ")\n";
        }
    }
    streams.err.flush();
    return worst;
}

int runGifExportCommandLine(int argc, char** argv, const GifExportEnvironment& environment) {
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    const GifExportArguments parsed = parseGifExportArguments(arguments);
    if (parsed.kind == GifExportParse::NotExport) {
        return -1;
    }
    const std::string programName = argc > 0 ? fileNamePart(argv[0]) : std::string("tavrel");
    if (parsed.kind == GifExportParse::Error) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", programName.c_str(),
                     parsed.error.c_str(), programName.c_str());
        return kExportRefused;
    }

    // Exporting never shows a window: Qt's offscreen platform needs no display. Qt gets only
    // the program name, so none of the file names is taken for one of its options.
    int qtArgc = 1;
    char* qtArgv[] = {argc > 0 ? argv[0] : const_cast<char*>("tavrel"), nullptr};
    std::unique_ptr<QApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QApplication>(qtArgc, qtArgv);
    } else if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        std::fprintf(stderr, "%s: the export needs a widget application\n", programName.c_str());
        return kExportFileError;
    }

    AppSettings settings;
    if (environment.openSettings) {
        if (const std::unique_ptr<ConfigSaver> store = environment.openSettings()) {
            RecentFiles recent([](const std::string&) { return false; }); // not needed here
            loadSettings(*store, settings, recent, '.');
        }
    }
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY); // the image goes out byte for byte
#endif
    GifExportStreams streams{std::cout, std::cerr, programName};
    return exportGifFiles(parsed.request, settings, environment, streams);
}

} // namespace tavrel
