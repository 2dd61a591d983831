// The command-line form of the image export: "--export-gif OUT FILE" (OUT "-" is standard
// output) or "--export-gif --output-dir DIR FILE...", either with "--wrap N". Parsed here
// without any toolkit so that every form and every mistake is checked in plain tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavrel {

inline constexpr const char* kExportGifOption = "--export-gif";
inline constexpr const char* kOutputDirOption = "--output-dir";
inline constexpr const char* kWrapOption = "--wrap";
// OUT that names standard output.
inline constexpr const char* kStandardOutputName = "-";

struct GifExportRequest {
    std::string output;    // one image: a file name or "-"; empty with outputDir
    std::string outputDir; // several images, each named after its file; empty with output
    std::vector<std::string> files;
    std::int32_t wrapColumns = 0; // 0: word wrap off
};

enum class GifExportParse : std::uint8_t { NotExport, Export, Error };

struct GifExportArguments {
    GifExportParse kind = GifExportParse::NotExport;
    GifExportRequest request;
    std::string error; // for Error: what was wrong, in a sentence
};

// Parses the arguments after the program name. NotExport when there is no "--export-gif"
// before "--": the arguments are then the viewer's and nothing is checked here. Options take
// their value as the next argument or after "=" ("--wrap=80"); "--" ends the options.
[[nodiscard]] GifExportArguments parseGifExportArguments(const std::vector<std::string>& arguments);

} // namespace tavrel
