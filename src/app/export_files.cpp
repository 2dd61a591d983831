// The writing loop every export shares; see export_files.h.
#include "app/export_files.h"

#include "platform/atomic_file.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <ostream>

namespace tavrel {

ExportedFile exportFailure(int status, std::string message) {
    ExportedFile result;
    result.status = status;
    result.message = std::move(message);
    return result;
}

namespace {

// Writes the bytes to their target; an empty text on success, else what went wrong.
std::string writeBytes(const std::string& bytes, const std::string& target, std::ostream& out) {
    if (target == kStandardOutputName) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        return out ? std::string() : std::string("cannot write to standard output");
    }
    return platform::writeFileAtomically(target, bytes).error;
}

} // namespace

int writeExports(const ExportTarget& target, const ExportMaker& maker, ExportStreams& streams) {
    const bool batch = !target.outputDir.empty();
    const std::size_t total = target.files.size();
    std::map<std::string, std::string> written; // output -> the file it shows, this run
    int worst = kExportOk;
    for (std::size_t i = 0; i < total; ++i) {
        const std::string& file = target.files[i];
        const std::string output =
            batch ? (std::filesystem::path(target.outputDir) / maker.nameInFolder(file)).string()
                  : target.output;
        const std::string prefix =
            streams.programName + ": " +
            (batch ? "[" + std::to_string(i + 1) + "/" + std::to_string(total) + "] " : "");
        // Two files of one name in different folders would land on one output.
        if (const auto earlier = written.find(output); batch && earlier != written.end()) {
            streams.err << prefix << file << ": " << maker.undone << ", " << output
                        << " already holds the " << maker.product << " of " << earlier->second
                        << '\n';
            worst = std::max(worst, kExportFileError);
            continue;
        }
        // "--export-gif art.nfo art.nfo" would put the output in place of the text.
        if (std::error_code code;
            output != kStandardOutputName && std::filesystem::equivalent(output, file, code)) {
            streams.err << prefix << file << ": " << maker.undone << ", the " << maker.product
                        << " would replace the file\n";
            worst = std::max(worst, kExportFileError);
            continue;
        }
        ExportedFile result = maker.make(file);
        if (result.status == kExportOk) {
            if (std::string error = writeBytes(result.bytes, output, streams.out); !error.empty()) {
                result = exportFailure(kExportFileError, std::move(error));
            }
        }
        if (result.status != kExportOk) {
            streams.err << prefix << result.message << '\n';
            worst = std::max(worst, result.status);
            continue;
        }
        written.emplace(output, file);
        if (batch) {
            streams.err << prefix << file << " -> " << output << " (" << result.summary << ")\n";
        }
    }
    streams.err.flush();
    return worst;
}

} // namespace tavrel
