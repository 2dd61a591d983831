// Fuzzes the language-file reader: any bytes must give lines without break characters and
// lookups that never fail.
#include "lang/language_strings.h"
#include "lang/language_text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <utility>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto lines = tavrel::parseLanguageFile(bytes);
    for (const auto& line : lines) {
        if (line.find_first_of(u"\r\n\v\f\u2028\u2029") != std::u16string::npos ||
            line.find(u'\0') != std::u16string::npos) {
            std::abort();
        }
    }
    const tavrel::LanguageStrings strings(std::move(lines));
    for (const int n : {-1, 0, 1, 17, 101, 118, 100000}) {
        (void)strings.getLangString(n, "default");
    }
    (void)strings.declaresLanguage(0x0407);
    return 0;
}
