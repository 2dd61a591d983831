// Picks menu mnemonics: first the ones captions already have, then a free letter for each of
// the others, in menu order, moving an earlier item's key where that frees one for a later.
#include "app/mnemonics.h"

#include <array>
#include <functional>
#include <map>
#include <set>

namespace tavrel {
namespace {

// Letters and digits of Latin-1; other scripts keep what their translation gives.
bool canBeMnemonic(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
           (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7);
}

// One key for both cases of a letter: Alt+N and Alt+Shift+N are the same choice to a user.
char16_t folded(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return static_cast<char16_t>(c + 0x20);
    }
    return c;
}

} // namespace

std::optional<char16_t> mnemonicOf(std::u16string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&') {
            continue;
        }
        if (caption[i + 1] == u'&') {
            ++i; // "&&" shows one ampersand
            continue;
        }
        return caption[i + 1];
    }
    return std::nullopt;
}

std::vector<std::u16string> withMnemonics(std::vector<std::u16string> captions,
                                          std::u16string_view taken) {
    std::set<char16_t> fixed;
    for (const char16_t key : taken) {
        fixed.insert(folded(key));
    }
    for (const std::u16string& caption : captions) {
        if (const auto key = mnemonicOf(caption)) {
            fixed.insert(folded(*key));
        }
    }
    // Each caption without a key: the positions that may carry one, word starts first, letters
    // every keyboard has (ASCII) in the first list, the accented ones of Latin-1 after them in
    // the second: an "o" can be typed on any layout, an "ö" only on some.
    std::array<std::vector<std::vector<std::size_t>>, 2> candidates;
    candidates.fill(std::vector<std::vector<std::size_t>>(captions.size()));
    for (std::size_t item = 0; item < captions.size(); ++item) {
        const std::u16string& caption = captions[item];
        if (mnemonicOf(caption)) {
            continue;
        }
        std::array<std::vector<std::size_t>, 4> byRank; // plain start, plain, accented ...
        for (std::size_t i = 0; i < caption.size(); ++i) {
            if (caption[i] == u'&') {
                ++i; // "&&" shows one ampersand
                continue;
            }
            if (!canBeMnemonic(caption[i]) || fixed.count(folded(caption[i])) != 0) {
                continue;
            }
            const bool wordStart = i == 0 || !canBeMnemonic(caption[i - 1]);
            byRank[(caption[i] < 0x80 ? 0 : 2) + (wordStart ? 0 : 1)].push_back(i);
        }
        for (std::size_t rank = 0; rank < byRank.size(); ++rank) {
            for (std::size_t tier = rank < 2 ? 0 : 1; tier < 2; ++tier) {
                auto& list = candidates[tier][item];
                list.insert(list.end(), byRank[rank].begin(), byRank[rank].end());
            }
        }
    }

    constexpr std::size_t none = std::u16string::npos;
    std::map<char16_t, std::size_t> owner; // key -> caption given it here
    std::vector<std::size_t> chosen(captions.size(), none);
    const auto letter = [&](std::size_t item, std::size_t i) { return folded(captions[item][i]); };
    // A caption takes its first free candidate. When every candidate is taken, one whose owner
    // can move to another free letter (moving others in turn) is freed for it: a long menu
    // whose early items take all the letters of a short caption still gives every item a key.
    std::set<char16_t> visited;
    std::size_t tier = 0;
    const std::function<bool(std::size_t)> place = [&](std::size_t item) {
        for (const std::size_t i : candidates[tier][item]) {
            if (owner.count(letter(item, i)) == 0) {
                owner[letter(item, i)] = item;
                chosen[item] = i;
                return true;
            }
        }
        for (const std::size_t i : candidates[tier][item]) {
            const char16_t key = letter(item, i);
            if (!visited.insert(key).second) {
                continue;
            }
            // The key stays the owner's until it has another, so it cannot take this one back.
            if (place(owner.at(key))) {
                owner[key] = item;
                chosen[item] = i;
                return true;
            }
        }
        return false;
    };
    // Accented letters only for the captions that plain ones cannot serve.
    for (tier = 0; tier < 2; ++tier) {
        for (std::size_t item = 0; item < captions.size(); ++item) {
            visited.clear();
            if (chosen[item] == none && !candidates[tier][item].empty()) {
                place(item);
            }
        }
    }
    for (std::size_t item = 0; item < captions.size(); ++item) {
        if (chosen[item] != none) {
            captions[item].insert(chosen[item], 1, u'&');
        }
    }
    return captions;
}

} // namespace tavrel
