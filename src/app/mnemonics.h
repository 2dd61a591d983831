// Keyboard mnemonics for menu captions: a caption the language file gives without one gets
// the first free letter, so that every menu can be worked with Alt and letters.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

// The character after the caption's mnemonic marker ("&" not doubled), if any.
[[nodiscard]] std::optional<char16_t> mnemonicOf(std::u16string_view caption);

// The captions of one menu (or of the menu bar), each without a mnemonic given one: the
// first letter or digit that no other caption of the group uses, at the start of a word
// where one is free, else anywhere; when all of a caption's letters are taken, an earlier
// caption moves to another free letter of its own if that frees one. Captions that have one
// keep it; "&&" stays a literal ampersand; a caption with no letter to be had stays as it is.
// `taken` holds keys that others in the same window answer already (the buttons beside a menu bar):
// two owners of one Alt key would leave it doing nothing.
[[nodiscard]] std::vector<std::u16string> withMnemonics(std::vector<std::u16string> captions,
                                                        std::u16string_view taken = {});

} // namespace tavrel
