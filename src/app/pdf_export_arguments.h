// Printing to a file's own part of the command line: "--export-pdf", "--columns N" (1 to 10)
// and "--line-numbers" on top of the output forms every export shares
// (app/export_arguments.h).
#pragma once

#include "app/export_arguments.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tavrel {

inline constexpr const char* kExportPdfOption = "--export-pdf";
inline constexpr const char* kColumnsOption = "--columns";
inline constexpr const char* kLineNumbersOption = "--line-numbers";
inline constexpr std::int32_t kMaxPrintColumns = 10;

struct PdfExportRequest : ExportTarget {
    std::int32_t columns = 1;
    bool lineNumbers = false;
};

using PdfExportArguments = ExportArguments<PdfExportRequest>;

// NotExport when there is no "--export-pdf" before "--".
[[nodiscard]] PdfExportArguments parsePdfExportArguments(const std::vector<std::string>& arguments);

// The name a PDF of `file` gets in an output folder: its file name with ".pdf" for the
// last extension.
[[nodiscard]] std::string proposedPdfName(const std::string& file);

} // namespace tavrel
