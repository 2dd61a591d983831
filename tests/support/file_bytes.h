// A whole file's bytes for a test to look at, by path; shared by the corpus and the temporary
// folder helpers.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tavrel::test {

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace tavrel::test
