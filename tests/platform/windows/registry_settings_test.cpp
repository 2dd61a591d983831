// The registry store under Wine or Windows: another process writes through ConfigSaver, this
// one reads the values back and looks at their types with the registry's own calls. Each run
// uses a key of its own below Software\Velmantic and removes it.
#include "platform/registry_settings.h"
#include "platform/windows/peer_program.h"
#include "settings/config_saver.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace tavrel {
namespace {

class RegistrySettingsTest : public ::testing::Test {
protected:
    const std::string subKey =
        "Software\\Velmantic\\TavrelTest-" + std::to_string(GetCurrentProcessId());
    const std::wstring wideKey{subKey.begin(), subKey.end()};

    ~RegistrySettingsTest() override { RegDeleteTreeW(HKEY_CURRENT_USER, wideKey.c_str()); }

    // The value's type and bytes as the registry holds them, read without our code.
    [[nodiscard]] std::pair<DWORD, std::string> raw(const wchar_t* name) const {
        DWORD type = 0;
        std::string bytes(512, '\0');
        DWORD size = static_cast<DWORD>(bytes.size());
        if (RegGetValueW(HKEY_CURRENT_USER, wideKey.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type,
                         bytes.data(), &size) != ERROR_SUCCESS) {
            return {REG_NONE, {}};
        }
        bytes.resize(size);
        return {type, bytes};
    }
};

TEST_F(RegistrySettingsTest, valuesWrittenByOneProcessReadBackInAnother) {
    ASSERT_EQ(test::PeerProcess({"settings", subKey}).exitCode(), 0);

    // Integers and booleans as 32-bit values, texts as strings, in the registry's own terms.
    EXPECT_EQ(raw(L"nfo_Width"), std::make_pair(DWORD{REG_DWORD}, std::string("\xC0\x02\0\0", 4)));
    EXPECT_EQ(raw(L"Options_WordWrap"),
              std::make_pair(DWORD{REG_DWORD}, std::string("\1\0\0\0", 4)));
    EXPECT_EQ(raw(L"Options_OneInstance"), std::make_pair(DWORD{REG_DWORD}, std::string(4, '\0')));
    const std::wstring recent = L"C:\\Art\\Gr\u00FC\u00DFe \u20AC.nfo";
    EXPECT_EQ(
        raw(L"Recent Files_0"),
        std::make_pair(DWORD{REG_SZ}, std::string(reinterpret_cast<const char*>(recent.c_str()),
                                                  (recent.size() + 1) * sizeof(wchar_t))));
    EXPECT_EQ(raw(L"Options_HLColor").first, DWORD{REG_SZ});

    const ConfigSaver settings(std::make_unique<platform::RegistrySettings>(subKey));
    EXPECT_EQ(settings.readInteger("nfo", "Width", 0), 704);
    EXPECT_EQ(settings.readInteger("Window", "Left", 0), -8);
    EXPECT_TRUE(settings.readBool("Options", "WordWrap", false));
    EXPECT_FALSE(settings.readBool("Options", "OneInstance", true));
    EXPECT_EQ(settings.readColor("Options", "HLColor", 0), Color{0x80000005u});
    EXPECT_EQ(settings.readString("Recent Files", "0", ""), "C:\\Art\\Gr\xC3\xBC\xC3\x9F"
                                                            "e \xE2\x82\xAC.nfo");
    EXPECT_EQ(settings.readString("Find", "Text", ""), "caf\xE9");
    // Absent, and of the other type: the defaults.
    EXPECT_EQ(settings.readInteger("nfo", "Height", 25), 25);
    EXPECT_EQ(settings.readString("nfo", "Width", "none"), "none");
}

TEST_F(RegistrySettingsTest, aKeyThatCannotBeOpenedReadsDefaultsAndSaysSoAtFlush) {
    // A key name longer than the registry allows (255 characters) can never be created.
    const std::string impossible = subKey + "\\" + std::string(300, 'k');
    platform::RegistrySettings store(impossible);
    EXPECT_FALSE(store.readInteger("nfo_Width"));
    store.writeInteger("nfo_Width", 1);
    const WriteStatus status = store.flush();
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.error.find("HKEY_CURRENT_USER\\Software\\Velmantic\\TavrelTest-"),
              std::string::npos);
}

TEST(RegistrySettings, theProgramsKeyIsBelowTheCurrentUser) {
    EXPECT_EQ(platform::RegistrySettings().location(),
              "HKEY_CURRENT_USER\\Software\\Velmantic\\Tavrel");
}

} // namespace
} // namespace tavrel
