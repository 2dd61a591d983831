// Picks menu mnemonics: first the ones captions already have, then a free letter for each of
// the others, in menu order.
#include "app/mnemonics.h"

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
    std::set<char16_t> used;
    for (const char16_t key : taken) {
        used.insert(folded(key));
    }
    for (const std::u16string& caption : captions) {
        if (const auto key = mnemonicOf(caption)) {
            used.insert(folded(*key));
        }
    }
    for (std::u16string& caption : captions) {
        if (mnemonicOf(caption)) {
            continue;
        }
        // Positions of the shown text that may carry the marker; "&&" pairs are skipped.
        std::vector<std::size_t> wordStarts;
        std::vector<std::size_t> others;
        for (std::size_t i = 0; i < caption.size(); ++i) {
            if (caption[i] == u'&') {
                ++i;
                continue;
            }
            if (!canBeMnemonic(caption[i])) {
                continue;
            }
            const bool wordStart = i == 0 || !canBeMnemonic(caption[i - 1]);
            (wordStart ? wordStarts : others).push_back(i);
        }
        for (const auto* positions : {&wordStarts, &others}) {
            std::size_t chosen = std::u16string::npos;
            for (const std::size_t i : *positions) {
                if (used.count(folded(caption[i])) == 0) {
                    chosen = i;
                    break;
                }
            }
            if (chosen != std::u16string::npos) {
                used.insert(folded(caption[chosen]));
                caption.insert(chosen, 1, u'&');
                break;
            }
        }
    }
    return captions;
}

} // namespace tavrel
