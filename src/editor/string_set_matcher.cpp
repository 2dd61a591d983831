// Building the automaton of a string set: the trie first, then its nodes laid out breadth
// first (each node's children and ids in one range of a shared array), then the failure and
// output links, which breadth-first order lets every node take from nodes already done.
#include "editor/string_set_matcher.h"

#include <algorithm>

namespace tavrel {

void StringSetMatcher::add(std::string_view bytes, std::uint32_t id) {
    if (!bytes.empty()) {
        added_.emplace_back(std::string(bytes), id);
    }
}

std::uint32_t StringSetMatcher::child(std::uint32_t node, unsigned char c) const noexcept {
    const Edge* first = edges_.data() + nodes_[node].edgesBegin;
    const Edge* last = edges_.data() + nodes_[node + 1].edgesBegin;
    if (last - first <= 8) {
        for (; first != last; ++first) {
            if (first->byte == c) {
                return first->to;
            }
        }
        return kNone;
    }
    const Edge* at =
        std::lower_bound(first, last, c, [](const Edge& e, unsigned char b) { return e.byte < b; });
    return at != last && at->byte == c ? at->to : kNone;
}

void StringSetMatcher::build() {
    // The trie as it grows: children by byte, ids in the order added.
    struct Growing {
        std::vector<std::pair<unsigned char, std::uint32_t>> children;
        std::vector<std::uint32_t> ids;
        std::uint32_t depth = 0;
    };
    std::vector<Growing> trie(1);
    for (const auto& [bytes, id] : added_) {
        std::uint32_t at = 0;
        for (const char ch : bytes) {
            const auto c = static_cast<unsigned char>(ch);
            auto& kids = trie[at].children;
            const auto it = std::find_if(kids.begin(), kids.end(),
                                         [c](const auto& kid) { return kid.first == c; });
            if (it != kids.end()) {
                at = it->second;
                continue;
            }
            const auto fresh = static_cast<std::uint32_t>(trie.size());
            kids.emplace_back(c, fresh);
            const std::uint32_t depth = trie[at].depth + 1;
            trie.emplace_back();
            trie.back().depth = depth;
            at = fresh;
        }
        trie[at].ids.push_back(id);
    }
    added_.clear();
    added_.shrink_to_fit();

    // Breadth-first numbering: a node's number is its place in the queue.
    std::vector<std::uint32_t> order{0};
    std::vector<std::uint32_t> number(trie.size(), 0);
    for (std::size_t i = 0; i < order.size(); ++i) {
        auto& kids = trie[order[i]].children;
        std::sort(kids.begin(), kids.end());
        for (const auto& kid : kids) {
            number[kid.second] = static_cast<std::uint32_t>(order.size());
            order.push_back(kid.second);
        }
    }
    nodes_.assign(trie.size() + 1, Node{});
    edges_.clear();
    ids_.clear();
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Growing& g = trie[order[i]];
        Node& node = nodes_[i];
        node.edgesBegin = static_cast<std::uint32_t>(edges_.size());
        node.idsBegin = static_cast<std::uint32_t>(ids_.size());
        node.depth = g.depth;
        node.terminal = !g.ids.empty();
        for (const auto& [c, kid] : g.children) {
            edges_.push_back({c, number[kid]});
        }
        ids_.insert(ids_.end(), g.ids.begin(), g.ids.end());
    }
    nodes_.back().edgesBegin = static_cast<std::uint32_t>(edges_.size());
    nodes_.back().idsBegin = static_cast<std::uint32_t>(ids_.size());
    rootNext_.fill(0);
    for (std::uint32_t e = nodes_[0].edgesBegin; e < nodes_[1].edgesBegin; ++e) {
        rootNext_[edges_[e].byte] = edges_[e].to;
    }

    // A child's failure link: follow the parent's failure links to the first node with a
    // child on the same byte (the root's children fail to the root). Its parent and every
    // shallower node come before it, so their links are set.
    for (std::uint32_t u = 0; u + 1 < nodes_.size(); ++u) {
        for (std::uint32_t e = nodes_[u].edgesBegin; e < nodes_[u + 1].edgesBegin; ++e) {
            const auto [c, v] = edges_[e];
            std::uint32_t fail = 0;
            if (u != 0) {
                fail = next(nodes_[u].fail, c);
            }
            nodes_[v].fail = fail;
            nodes_[v].output = nodes_[fail].terminal ? fail : nodes_[fail].output;
        }
    }
}

} // namespace tavrel
