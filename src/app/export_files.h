// What every export format shares once its command line is read: the exit statuses, the
// streams, and the loop that writes each file's bytes to its target (one file, standard
// output, or a folder with a progress line per file) without ever replacing an input file or
// an earlier output of the same run. A format brings only how one file becomes bytes.
#pragma once

#include "app/export_arguments.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

namespace tavrel {

class ConfigSaver;
class TextEditor;
struct AppSettings;

inline constexpr int kExportOk = 0;
inline constexpr int kExportFileError = 1;
inline constexpr int kExportRefused = 2; // too large, or a malformed command line

struct ExportEnvironment {
    // The user's settings store, opened the way start-up opens it; empty or returning null:
    // the catalogue's defaults.
    std::function<std::unique_ptr<ConfigSaver>()> openSettings;
    // Called once on the editor an image export paints with, after the user's look is
    // applied: where the program attaches its highlighters.
    std::function<void(TextEditor& editor, const AppSettings& settings)> prepareEditor;
};

// Where an export writes: "-" goes to out, messages and progress lines to err.
struct ExportStreams {
    std::ostream& out;
    std::ostream& err;
    std::string programName = "tavrel";
};

// One input file made into the bytes of its output, or the reason it was not.
struct ExportedFile {
    int status = kExportOk;
    std::string message; // on failure: what went wrong, naming the file
    std::string bytes;
    std::string summary; // for the progress line, e.g. "80 x 25 pixels" or "3 pages"
};

[[nodiscard]] ExportedFile exportFailure(int status, std::string message);

// How one format makes its files.
struct ExportMaker {
    std::string_view product; // "image": "... already holds the image of ..."
    std::string_view undone;  // "not exported": "a.nfo: not exported, ..."
    std::function<std::string(const std::string& file)> nameInFolder;
    std::function<ExportedFile(const std::string& file)> make;
};

// Makes and writes every file of the target (each file through the one atomic writer, "-"
// to streams.out). Returns 0, or the highest status among the files that failed; the others
// are still written.
int writeExports(const ExportTarget& target, const ExportMaker& maker, ExportStreams& streams);

} // namespace tavrel
