// Documents are bytes in Windows-1252; the clipboard, key events and input methods speak
// Unicode. These two conversions are the editor's only crossing between them.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace tavrel {

// Each byte as its Windows-1252 character (the five unassigned bytes as the C1 controls
// of the same value, so that every byte survives a round trip).
[[nodiscard]] QString ansiToQString(std::string_view bytes);

// Each character as its Windows-1252 byte; a character the code page lacks becomes its best
// fit (a letter without its accent) or '?'.
[[nodiscard]] std::string qStringToAnsi(const QString& text);

} // namespace tavrel
