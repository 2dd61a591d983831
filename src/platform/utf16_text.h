// Text between the program's UTF-8 and the 16-bit units of the Windows system calls and the
// registry: strict in the direction where a wrong guess would name the wrong thing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavrel::platform {

// UTF-16 of well-formed UTF-8 (characters above U+FFFF as surrogate pairs); nothing for
// bytes that are not UTF-8 (an overlong form, an encoded surrogate, a cut-off sequence).
[[nodiscard]] std::optional<std::u16string> utf16FromUtf8(std::string_view utf8);

// UTF-8 of UTF-16; a surrogate without its partner becomes U+FFFD.
[[nodiscard]] std::string utf8FromUtf16(std::u16string_view utf16);

} // namespace tavrel::platform
