// The command-line form of printing to a file: "--export-pdf OUT FILE" (OUT "-" is standard
// output) or "--export-pdf --output-dir DIR FILE...", with "--columns N" (1 to 10) and
// "--line-numbers". Parsed without any toolkit so that every mistake is checked in plain tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavrel {

inline constexpr const char* kExportPdfOption = "--export-pdf";
inline constexpr const char* kColumnsOption = "--columns";
inline constexpr const char* kLineNumbersOption = "--line-numbers";
inline constexpr std::int32_t kMaxPrintColumns = 10;

struct PdfExportRequest {
    std::string output;    // one file name or "-"; empty with outputDir
    std::string outputDir; // several PDFs, each named after its file
    std::vector<std::string> files;
    std::int32_t columns = 1;
    bool lineNumbers = false;
};

enum class PdfExportParse : std::uint8_t { NotExport, Export, Error };

struct PdfExportArguments {
    PdfExportParse kind = PdfExportParse::NotExport;
    PdfExportRequest request;
    std::string error; // for Error: what was wrong, in a sentence
};

// NotExport when there is no "--export-pdf" before "--"; options take their value as the
// next argument or after "=".
[[nodiscard]] PdfExportArguments parsePdfExportArguments(const std::vector<std::string>& arguments);

// The name a PDF of `file` gets in an output folder: its file name with ".pdf" for the
// last extension.
[[nodiscard]] std::string proposedPdfName(const std::string& file);

} // namespace tavrel
