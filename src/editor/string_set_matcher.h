// Every occurrence of many byte strings in a text, found in one pass: a trie of the strings
// with failure links (Aho and Corasick's automaton), built once for a set and kept.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavrel {

class StringSetMatcher {
public:
    // Adds a string (never empty) with a number of the caller's; strings may repeat. Takes
    // effect with build().
    void add(std::string_view bytes, std::uint32_t id);
    void build();

    // Calls found(id, start) for every occurrence of every string in bytes [0, size), by
    // increasing end, the longer strings first at one end, a string's ids in the order added.
    // Stops when found returns false; returns whether it went to the end.
    template <typename Found>
    bool scan(const unsigned char* bytes, std::size_t size, Found&& found) const {
        if (ids_.empty()) {
            return true;
        }
        std::uint32_t state = 0;
        for (std::size_t i = 0; i < size; ++i) {
            state = next(state, bytes[i]);
            for (std::uint32_t n = nodes_[state].terminal ? state : nodes_[state].output;
                 n != kNone; n = nodes_[n].output) {
                const Node& node = nodes_[n];
                const std::size_t start = i + 1 - node.depth;
                for (std::uint32_t k = node.idsBegin; k < nodes_[n + 1].idsBegin; ++k) {
                    if (!found(ids_[k], start)) {
                        return false;
                    }
                }
            }
        }
        return true;
    }

private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;
    struct Node {
        std::uint32_t fail = 0;       // the longest proper suffix that is a trie node
        std::uint32_t output = kNone; // the longest proper suffix that ends a string
        std::uint32_t edgesBegin = 0; // children at edges_[edgesBegin, next node's)
        std::uint32_t idsBegin = 0;   // ids at ids_[idsBegin, next node's)
        std::uint32_t depth = 0;      // the length of the node's string
        bool terminal = false;        // some string ends here
    };
    struct Edge {
        unsigned char byte = 0;
        std::uint32_t to = 0;
    };

    [[nodiscard]] std::uint32_t child(std::uint32_t node, unsigned char c) const noexcept;
    // The state after `c`: the deepest node whose string ends the text read so far.
    [[nodiscard]] std::uint32_t next(std::uint32_t state, unsigned char c) const noexcept {
        while (state != 0) {
            if (const std::uint32_t to = child(state, c); to != kNone) {
                return to;
            }
            state = nodes_[state].fail;
        }
        return rootNext_[c];
    }

    std::vector<std::pair<std::string, std::uint32_t>> added_; // until build()
    std::vector<Node> nodes_; // breadth first, and one past the last to end its ranges
    std::vector<Edge> edges_; // by node, each node's by byte
    std::vector<std::uint32_t> ids_;
    std::array<std::uint32_t, 256> rootNext_{}; // the root's children, 0 for none
};

} // namespace tavrel
