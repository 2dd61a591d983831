// The line-end repair written the plain way, as the program describes it: each replacement
// a left-to-right find-and-replace pass into a new string, then the LF rule. The tests and
// the fuzz target compare the one-pass repair with it; the benchmark times it as the peer.
#pragma once

#include <string>

namespace tavrel::test {

inline std::string replaceAllOnce(const std::string& text, const std::string& from,
                                  const std::string& to) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    std::size_t pos = 0;
    for (std::size_t hit; (hit = text.find(from, pos)) != std::string::npos;
         pos = hit + from.size()) {
        out.append(text, pos, hit - pos);
        out += to;
    }
    out.append(text, pos, std::string::npos);
    return out;
}

inline std::string literalLineEndRepair(const std::string& text) {
    std::string out = replaceAllOnce(replaceAllOnce(text, "\r\r\r\n", "\r\n"), "\r\r\n", "\r\n");
    if (out.find("\r\n") == std::string::npos) {
        out = replaceAllOnce(out, "\n", "\r\n");
    }
    return out;
}

} // namespace tavrel::test
