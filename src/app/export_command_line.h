// "tavrel --export-gif OUT FILE": a file rendered as the viewer would show it (the user's
// font and colours, word wrap off or at --wrap N characters), the whole document in one image,
// written as a GIF file or to standard output, without a window or a display. Several files
// go to a folder with --output-dir. Exit status 0 on success, 1 when a file cannot be read or
// written, 2 for an image larger than the format allows and for a malformed command line.
#pragma once

#include "app/export_arguments.h"

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

namespace tavrel {

class ConfigSaver;
class TextEditor;
struct AppSettings;

inline constexpr int kExportOk = 0;
inline constexpr int kExportFileError = 1;
inline constexpr int kExportRefused = 2; // too large, or a malformed command line

struct GifExportEnvironment {
    // The user's settings store, opened the way start-up opens it; empty or returning null:
    // the catalogue's defaults.
    std::function<std::unique_ptr<ConfigSaver>()> openSettings;
    // Called once on the editor the export paints with, after the user's look is applied:
    // where the program attaches its highlighters.
    std::function<void(TextEditor& editor, const AppSettings& settings)> prepareEditor;
};

// Where the export writes: "-" goes to out, messages and progress lines to err.
struct GifExportStreams {
    std::ostream& out;
    std::ostream& err;
    std::string programName = "tavrel";
};

// Exports every file of the request; needs a QApplication. Returns the exit status: 0, or
// the highest status among the files that failed (the others are still exported).
int exportGifFiles(const GifExportRequest& request, const AppSettings& settings,
                   const GifExportEnvironment& environment, GifExportStreams& streams);

// The program's entry point for the export: -1 when the arguments do not ask for it (the
// viewer starts then), else the exit status. Makes its own QApplication on Qt's offscreen
// platform when none exists yet, so it runs without a display.
int runGifExportCommandLine(int argc, char** argv, const GifExportEnvironment& environment = {});

} // namespace tavrel
