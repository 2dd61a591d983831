// Access to the real-world corpus the tests load: ../shared/corpus beside the repository,
// or the folder named by TAVREL_CORPUS_DIR at build time or in the environment.
#pragma once

#include "support/file_bytes.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace tavrel::test {

inline std::filesystem::path corpusDir() {
    if (const char* env = std::getenv("TAVREL_CORPUS_DIR"); env != nullptr && *env != '\0') {
        return env;
    }
    return TAVREL_CORPUS_DIR;
}

// Every corpus file, sorted by path; empty when the corpus is not there.
inline std::vector<std::filesystem::path> corpusFiles() {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(corpusDir(), error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_regular_file() && it->path().filename() != "SOURCES.md") {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace tavrel::test
