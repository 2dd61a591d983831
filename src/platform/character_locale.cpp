// The toolkit reads and writes text as UTF-8 on Unix, but X11's own conversions (a window's
// legacy WM_NAME title, which window managers and tools still read) follow the C library's
// character type: in the C locale a title "Grüße" reached them as "GrÃ¼Ã\x9fe".
#include "platform/character_locale.h"

#ifndef _WIN32
#include <clocale>
#include <langinfo.h>
#include <string>
#include <strings.h>
#endif

namespace tavrel::platform {

void useUtf8Characters() {
#ifndef _WIN32
    const char* codeset = nl_langinfo(CODESET);
    if (codeset != nullptr &&
        (strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "utf8") == 0)) {
        return;
    }
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    std::string own = current != nullptr ? current : "";
    own = own.substr(0, own.find_first_of(".@"));
    for (const std::string& name :
         {own + ".UTF-8", std::string("C.UTF-8"), std::string("C.utf8")}) {
        if (name != ".UTF-8" && std::setlocale(LC_CTYPE, name.c_str()) != nullptr) {
            return;
        }
    }
#endif
}

} // namespace tavrel::platform
