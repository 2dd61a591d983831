// The first screen of a large file before the whole of it is read: the paragraphs at the start
// of the file that the finished load is certain to hold unchanged, decided from its first bytes
// alone, so that the window can show them while the rest is still being read.
#pragma once

#include "app/file_load.h"

#include <optional>
#include <string>
#include <string_view>

namespace tavrel {

// Whether the document's bytes begin with `head` exactly, whatever bytes follow it in the
// file: true when the encoding rule keeps the file as its bytes for certain (a code page is
// chosen, or `head` already holds what no UTF-8 art file holds), or when `head` is plain ASCII
// without a mark, which reads the same as bytes and as UTF-8. A UTF-16 file, a mark, or a head
// that is valid UTF-8 art so far leave the decision to the whole file: false.
[[nodiscard]] bool headKeepsItsBytes(std::string_view head, EncodingChoice choice) noexcept;

// The text of the complete paragraphs at the start of the file whose first bytes are `head`, as
// the whole load under `rules` would give them: the input for Document::load, without the
// break that follows the last of them. Nothing when the rest of the file could still change
// them (the encoding or the line-end repair is not yet decided) or no paragraph is complete.
[[nodiscard]] std::optional<std::string> firstPieceText(std::string_view head,
                                                        const FileLoadRules& rules);

} // namespace tavrel
