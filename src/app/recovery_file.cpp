// Recovery files: their names, writing one without ever replacing another, and the note that
// the next start reports and removes.
#include "app/recovery_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace tavrel {

namespace {

namespace fs = std::filesystem;

// "report.nfo" -> {"report", ".nfo"}; a leading dot is part of the name, not an extension.
std::pair<std::string, std::string> splitExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) {
        return {name, std::string()};
    }
    return {name.substr(0, dot), name.substr(dot)};
}

std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

std::string recoveryFileName(std::string_view documentPath, const std::tm& when) {
    std::string name = fs::path(std::string(documentPath)).filename().string();
    if (name.empty()) {
        name = "Untitled.txt";
    }
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H-%M-%S", &when);
    const auto [stem, extension] = splitExtension(name);
    return stem + " (recovered " + stamp + ")" + extension;
}

std::optional<std::string> keepRecoveryCopy(const std::string& folder,
                                            std::string_view documentPath, std::string_view text,
                                            const std::tm& when, const NewFileMaker& make,
                                            const FileWriter& writeNote, std::string* error) {
    const auto [stem, extension] = splitExtension(recoveryFileName(documentPath, when));
    std::string path;
    // Two ends within one second, or a clock set back: the older copy stays, and so does
    // anything else found under a name, a link above all.
    for (int n = 1; n < 1000; ++n) {
        path = folder + stem + (n == 1 ? std::string() : " " + std::to_string(n)) + extension;
        std::string reason;
        const NewFileOutcome made = make(path, text, &reason);
        if (made == NewFileOutcome::Created) {
            break;
        }
        if (made == NewFileOutcome::Failed || n == 999) {
            if (error != nullptr) {
                *error = made == NewFileOutcome::Failed ? reason : path + ": every name is taken";
            }
            return std::nullopt;
        }
    }
    // The note is only a pointer for the next start; the copy is kept whatever happens to it.
    const fs::path note = fs::path(folder) / kRecoveryNoteName;
    std::string lines = readText(note);
    if (!lines.empty() && lines.back() != '\n') {
        lines += '\n';
    }
    lines += path + '\n';
    [[maybe_unused]] const WriteStatus noted = writeNote(note.string(), lines);
    return path;
}

std::vector<std::string> takeRecoveryNote(const std::string& folder) {
    const fs::path note = fs::path(folder) / kRecoveryNoteName;
    std::error_code code;
    if (!fs::is_regular_file(note, code)) {
        return {};
    }
    std::istringstream in(readText(note));
    std::vector<std::string> paths;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            paths.push_back(line);
        }
    }
    fs::remove(note, code);
    return paths;
}

} // namespace tavrel
