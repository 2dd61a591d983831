// Reads PDF files back with poppler-utils (pdfinfo, pdftotext), a reader that shares no
// code with the writer under test.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace tavrel::test {

inline std::string commandOutput(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            out.append(buffer, n);
        }
        ::pclose(pipe);
    }
    return out;
}

inline bool haveToolsForPdf() {
    return std::filesystem::exists("/usr/bin/pdfinfo") &&
           std::filesystem::exists("/usr/bin/pdftotext");
}

// The value of one "Key:   value" line of pdfinfo.
inline std::string pdfInfo(const std::filesystem::path& pdf, const std::string& key) {
    const std::string info = commandOutput("pdfinfo '" + pdf.string() + "' 2>&1");
    const std::string tag = key + ":";
    const std::size_t at = info.find(tag);
    if (at == std::string::npos) {
        return {};
    }
    std::size_t start = info.find_first_not_of(' ', at + tag.size());
    const std::size_t end = info.find('\n', start);
    return info.substr(start, end - start);
}

inline int pdfPageCount(const std::filesystem::path& pdf) {
    const std::string pages = pdfInfo(pdf, "Pages");
    return pages.empty() ? -1 : std::stoi(pages);
}

// Text of pages first..last (1-based), laid out as on the page.
inline std::string pdfText(const std::filesystem::path& pdf, int first, int last) {
    return commandOutput("pdftotext -layout -f " + std::to_string(first) + " -l " +
                         std::to_string(last) + " '" + pdf.string() + "' - 2>&1");
}

} // namespace tavrel::test
