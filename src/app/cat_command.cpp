// The terminal's view of a file: read whole (a pipe too), loaded into an engine of its own by
// the window's load, and written out paragraph by paragraph.
#include "app/cat_command.h"

#include "app/art_file.h"
#include "app/document_title.h"
#include "app/export_command_line.h"
#include "app/export_load.h"
#include "app/terminal_text.h"
#include "app/viewer_setup.h"
#include "editor/text_engine.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace tavrel {

namespace {

// Standard input to its end, or nothing when the read failed.
std::optional<std::string> readStandardInput() {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    std::string bytes;
    char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, stdin)) > 0) {
        bytes.append(chunk, got);
    }
    if (std::ferror(stdin) != 0) {
        return std::nullopt;
    }
    return bytes;
}

int fail(const std::string& programName, const std::string& message, int status) {
    std::fprintf(stderr, "%s: %s\n", programName.c_str(), message.c_str());
    if (status == kExportRefused) {
        std::fprintf(stderr, "Try '%s --help' for more information.\n", programName.c_str());
    }
    return status;
}

} // namespace

int runCatCommandLine(int argc, char** argv, const ExportEnvironment& environment) {
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    const auto optionsEnd = std::find(arguments.begin(), arguments.end(), "--");
    if (std::find(arguments.begin(), optionsEnd, kCatOption) == optionsEnd) {
        return -1;
    }
    const std::string programName = argc > 0 ? fileNamePart(argv[0]) : std::string("tavrel");
    std::string file;
    if (arguments.size() == 2 && arguments[0] == kCatOption && arguments[1] != "--") {
        file = arguments[1];
    } else if (arguments.size() == 3 && arguments[0] == kCatOption && arguments[1] == "--") {
        file = arguments[2];
    } else {
        return fail(programName,
                    std::string(kCatOption) + " takes one FILE, or - for standard input",
                    kExportRefused);
    }

    // The settings' places come from the toolkit; no platform plugin is loaded for them.
    int qtArgc = 1;
    char* qtArgv[] = {argc > 0 ? argv[0] : const_cast<char*>("tavrel"), nullptr};
    std::unique_ptr<QCoreApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        application = std::make_unique<QCoreApplication>(qtArgc, qtArgv);
    }
    const AppSettings settings = exportSettings(environment);

#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY); // CR LF as the document holds it, not doubled
#endif
    TextEngine engine;
    std::string error;
    ArtFile art; // ANSI art comes out in its colours
    if (file == kStandardOutputName) {
        std::optional<std::string> bytes;
        try {
            bytes = readStandardInput();
        } catch (const std::bad_alloc&) {
            return fail(programName, "standard input: not enough memory", kExportFileError);
        }
        if (!bytes) {
            return fail(programName, "cannot read standard input", kExportFileError);
        }
        if (!loadBytesForExport(engine, std::move(*bytes), "standard input", settings, error,
                                &art)) {
            return fail(programName, error, kExportFileError);
        }
    } else if (!loadForExport(engine, file, settings, 0, error, &art)) {
        return fail(programName, error, kExportFileError);
    }
    bool written = false;
    try {
        written = writeAsSeen(
            engine.document(), viewerByteGlyphs(settings),
            [](const char* data, std::size_t size) {
                return std::fwrite(data, 1, size, stdout) == size;
            },
            art.screen.get());
    } catch (const std::bad_alloc&) {
        return fail(programName, file + ": not enough memory", kExportFileError);
    }
    if (!written || std::fflush(stdout) != 0) {
        return fail(programName, "cannot write to standard output", kExportFileError);
    }
    return kExportOk;
}

} // namespace tavrel
