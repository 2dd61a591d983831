// The second process of the Windows tests:
//   windows_peer send KEY NAME      hands NAME on; exits 0 delivered, 1 no instance, 2 no answer
//   windows_peer hold KEY EVENT     takes the instance mutex without a window until the named
//                                   event is set (20 s at most)
//   windows_peer settings SUBKEY    writes a fixed set of settings below HKCU\SUBKEY
// Arguments arrive as UTF-16 and are passed on as UTF-8, as the program does with its own.
#include "platform/handoff_names.h"
#include "platform/handoff_win32.h"
#include "platform/registry_settings.h"
#include "platform/utf16_text.h"
#include "settings/config_saver.h"

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> arguments() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> result;
    for (int i = 1; i < count; ++i) {
        result.push_back(
            tavrel::platform::utf8FromUtf16(std::u16string(wide[i], wide[i] + wcslen(wide[i]))));
    }
    LocalFree(wide);
    return result;
}

} // namespace

int main() {
    using namespace tavrel;
    const std::vector<std::string> args = arguments();
    if (args.size() == 3 && args[0] == "send") {
        return static_cast<int>(platform::handToRunningWindow(args[1], args[2], 3000, 10000));
    }
    if (args.size() == 3 && args[0] == "hold") {
        const std::u16string name = *platform::utf16FromUtf8(platform::handoffNames(args[1]).mutex);
        const std::u16string release = *platform::utf16FromUtf8(args[2]);
        const HANDLE mutex =
            CreateMutexW(nullptr, TRUE, std::wstring(name.begin(), name.end()).c_str());
        const HANDLE event =
            OpenEventW(SYNCHRONIZE, FALSE, std::wstring(release.begin(), release.end()).c_str());
        const bool released = event != nullptr && WaitForSingleObject(event, 20000) == 0;
        CloseHandle(event);
        CloseHandle(mutex);
        return released ? 0 : 1;
    }
    if (args.size() == 2 && args[0] == "settings") {
        ConfigSaver settings(std::make_unique<platform::RegistrySettings>(args[1]));
        settings.writeInteger("nfo", "Width", 704);
        settings.writeInteger("Window", "Left", -8);
        settings.writeBool("Options", "WordWrap", true);
        settings.writeBool("Options", "OneInstance", false);
        settings.writeColor("Options", "HLColor", Color{0x80000005u});
        settings.writeString("Recent Files", "0",
                             "C:\\Art\\Gr\xC3\xBC\xC3\x9F"
                             "e \xE2\x82\xAC.nfo");
        settings.writeString("Find", "Text", "caf\xE9");
        return settings.flush().ok() ? 0 : 3;
    }
    return 64;
}
