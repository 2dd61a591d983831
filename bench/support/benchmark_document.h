// The 100 MB benchmark document shared by the benchmarks that need a large real text: prose
// and NFO art from the corpus, repeated. Built once per program, on first use.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// One copy of the corpus texts the document repeats: two long English texts with every NFO
// file of the corpus between them. Ends the program when the corpus is missing.
inline std::string benchmarkDocumentUnit(const std::string& dir) {
    std::string unit;
    auto append = [&](const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        unit.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    append(dir + "/txt/mobydick.txt");
    std::vector<std::filesystem::path> nfos;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir + "/nfo", error)) {
        nfos.push_back(entry.path());
    }
    std::sort(nfos.begin(), nfos.end());
    for (const auto& nfo : nfos) {
        append(nfo);
    }
    append(dir + "/txt/jargon447.txt");
    // A file's text ends at its first NUL (the .ans files have them in their trailer), and
    // the document counts every break as two positions; a reference scan must see the same
    // bytes as the document, so NULs become spaces and every break CR LF.
    std::replace(unit.begin(), unit.end(), '\0', ' ');
    std::string crlf;
    crlf.reserve(unit.size() + unit.size() / 16);
    for (const char c : unit) {
        if (c == '\n') {
            crlf += "\r\n";
        } else if (c != '\r') {
            crlf += c;
        }
    }
    if (crlf.empty()) {
        std::fprintf(stderr, "corpus not found under %s\n", dir.c_str());
        std::exit(1);
    }
    return crlf;
}

// `unit` repeated until the text holds at least 100 MB.
inline std::string repeatedTo100MB(const std::string& unit) {
    constexpr std::size_t kSize = 100'000'000;
    std::string out;
    out.reserve(kSize + unit.size());
    while (out.size() < kSize) {
        out += unit;
    }
    return out;
}

// 100 MB of prose with text art between it: the unit above, repeated. Unlike the generated
// art, prose holds the first and last bytes of most words, which is where a search filter
// shows its weakness.
inline const std::string& benchmarkDocument(const std::string& dir) {
    static const std::string text = repeatedTo100MB(benchmarkDocumentUnit(dir));
    return text;
}
