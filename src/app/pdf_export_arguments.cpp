// The print export's option table for the shared export parser, and its names in a folder.
#include "app/pdf_export_arguments.h"

#include <filesystem>

namespace tavrel {

namespace {

ExportCommand pdfCommand(PdfExportRequest& request) {
    return {kExportPdfOption,
            "print",
            {{kColumnsOption, "needs a number from 1 to 10",
              [&request](std::string_view v) {
                  const auto columns = wholeNumberIn(v, 1, kMaxPrintColumns);
                  request.columns = columns.value_or(1);
                  return columns.has_value();
              }},
             {kLineNumbersOption, "", [&request](std::string_view) {
                  request.lineNumbers = true;
                  return true;
              }}}};
}

} // namespace

PdfExportArguments parsePdfExportArguments(const std::vector<std::string>& arguments) {
    return parseExportRequest(arguments, &pdfCommand);
}

std::string proposedPdfName(const std::string& file) {
    std::filesystem::path name = std::filesystem::path(file).filename();
    if (name.empty() || name == "." || name == "..") {
        name = "document";
    }
    name.replace_extension(".pdf");
    return name.string();
}

} // namespace tavrel
