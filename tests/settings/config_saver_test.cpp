// ConfigSaver's typed operations in both modes: the INI mode on text in memory with a
// recording writer, the native mode on a fake store with the same naming rules.
#include "settings/config_saver.h"

#include "support/child_process.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <map>
#include <variant>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tavrel {
namespace {

// Records what flush hands over; fails when asked to.
struct RecordingWriter {
    std::string path;
    std::string bytes;
    int calls = 0;
    std::string failWith;

    FileWriter writer() {
        return [this](const std::string& p, std::string_view b) {
            ++calls;
            path = p;
            bytes = b;
            return WriteStatus{failWith};
        };
    }
};

ConfigSaver iniStore(std::string_view text, RecordingWriter& out) {
    return ConfigSaver("/portable/Tavrel.ini", text, out.writer());
}

TEST(ConfigSaverIni, integersAcceptDecimalDollarAndZeroXHexadecimal) {
    RecordingWriter out;
    const ConfigSaver store = iniStore("[N]\na=0x1F\nb=$1F\nc=1F\nd=0X1f\ne=0x\nf=-12\ng=0x-1\n"
                                       "h=\ni= 5\nj=0x80000005\n",
                                       out);
    const struct {
        const char* key;
        std::int32_t expected;
    } cases[] = {
        {"a", 31},  {"b", 31}, {"c", -7}, {"d", 31}, {"e", -7},
        {"f", -12}, {"g", -7}, {"h", -7}, {"i", -7}, {"j", static_cast<std::int32_t>(0x80000005u)},
        {"zz", -7}};
    for (const auto& c : cases) {
        EXPECT_EQ(store.readInteger("N", c.key, -7), c.expected) << c.key;
    }
}

TEST(ConfigSaverIni, booleansAreIntegersOtherThanZero) {
    RecordingWriter out;
    const ConfigSaver store = iniStore("[Options]\nTwo=2\nText=abc\nZero=0\nMinus=-1\n", out);
    EXPECT_TRUE(store.readBool("Options", "Two", false));
    EXPECT_TRUE(store.readBool("Options", "Minus", false));
    EXPECT_FALSE(store.readBool("Options", "Zero", true));
    EXPECT_TRUE(store.readBool("Options", "Text", true));
    EXPECT_FALSE(store.readBool("Options", "Text", false));
    EXPECT_TRUE(store.readBool("Options", "Missing", true));
}

TEST(ConfigSaverIni, writesReachTheDiskOnlyOnFlushInTheFileForm) {
    RecordingWriter out;
    ConfigSaver store = iniStore("[options]\r\nwordwrap=0\r\nTrim=1\r\n", out);
    store.writeString("Info", "Version", "4.2");
    store.writeBool("Options", "WordWrap", true);
    store.writeBool("Options", "SelectCopy", false);
    store.writeInteger("Options", "MarginCount", -3);
    store.writeColor("Options", "BackColor", 0x004A0000);
    store.writeColor("Options", "HLColor", 0x0000FF00);
    EXPECT_EQ(out.calls, 0);

    ASSERT_TRUE(store.flush().ok());
    EXPECT_EQ(out.calls, 1);
    EXPECT_EQ(out.path, "/portable/Tavrel.ini");
    EXPECT_EQ(out.bytes, "[options]\r\nWordWrap=1\r\nTrim=1\r\nSelectCopy=0\r\nMarginCount=-3\r\n"
                         "BackColor=$004A0000\r\nHLColor=clLime\r\n\r\n"
                         "[Info]\r\nVersion=4.2\r\n\r\n");
}

TEST(ConfigSaverIni, flushPassesTheWritersFailureOn) {
    RecordingWriter out;
    out.failWith = "/portable/Tavrel.ini: Read-only file system";
    ConfigSaver store = iniStore("", out);
    store.writeString("Info", "Version", "4.2");
    const WriteStatus status = store.flush();
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.error, out.failWith);
}

TEST(ConfigSaverIni, coloursReadByNameOrNumberElseTheDefault) {
    RecordingWriter out;
    const ConfigSaver store =
        iniStore("[C]\na=clwhite\nb=$80000005\nc=255\nd=white\ne=0x000000FF\n", out);
    EXPECT_EQ(store.readColor("C", "a", 1), 0x00FFFFFFu);
    EXPECT_EQ(store.readColor("C", "b", 1), 0x80000005u);
    EXPECT_EQ(store.readColor("C", "c", 1), 0x000000FFu);
    EXPECT_EQ(store.readColor("C", "d", 1), 1u);
    // The "0x" spelling belongs to integers only, not to colour texts.
    EXPECT_EQ(store.readColor("C", "e", 1), 1u);
    EXPECT_EQ(store.readColor("C", "missing", 0x004A0000), 0x004A0000u);
}

TEST(ConfigSaverIni, malformedFontsFallBackToTheDefaultAsItWasBeforeTheRead) {
    RecordingWriter out;
    const ConfigSaver store = iniStore("[Options]\nGood=Arial,10,1001,clRed\n"
                                       "Three=Arial,10,101,clRed\nNoComma=Arial10\n"
                                       "NoNumber=Arial,x,0000,clRed\nBadColour=Arial,10,0000,x\n",
                                       out);
    const FontSpec designed{"TavrelLarge", 9, false, false, false, false, 0x00FFFFFF};

    FontSpec font = designed;
    store.readFont("Options", "Good", font, font);
    EXPECT_EQ(font, (FontSpec{"Arial", 10, true, false, false, true, 0x000000FF}));

    for (const char* key : {"Three", "NoComma", "NoNumber", "BadColour"}) {
        // Target and default are one object, the way the editor reads its own font; the
        // parser changes the face before it fails, and the read must undo that.
        font = designed;
        store.readFont("Options", key, font, font);
        EXPECT_EQ(font, designed) << key;
    }
    font = FontSpec{};
    store.readFont("Options", "Missing", font, designed);
    EXPECT_EQ(font, designed);
}

TEST(ConfigSaverIni, fontsAreWrittenInTheirTextForm) {
    RecordingWriter out;
    ConfigSaver store = iniStore("", out);
    EXPECT_TRUE(store.writeFont("Options", "Font5",
                                {"TavrelLarge", 9, false, false, false, false, 0x00FFFFFF}));
    EXPECT_EQ(store.readString("Options", "Font5", ""), "TavrelLarge,9,0000,clWhite");
}

TEST(ConfigSaverIni, aValueWithALineBreakIsRefusedAndTheOldEntryStays) {
    RecordingWriter out;
    ConfigSaver store = iniStore("[Recent Files]\r\n0=a.nfo\r\n", out);
    EXPECT_FALSE(store.writeString("Recent Files", "0", "evil\n[Options]\nOneInstance=1"));
    ASSERT_TRUE(store.flush().ok());
    EXPECT_EQ(out.bytes, "[Recent Files]\r\n0=a.nfo\r\n\r\n");
}

TEST(ConfigSaverIni, aMissingFileGivesAnEmptyStore) {
    RecordingWriter out;
    const auto store = ConfigSaver::openIni("/nonexistent-folder/Tavrel.ini", out.writer());
    EXPECT_TRUE(store->usesIni());
    EXPECT_EQ(store->readString("Info", "Version", "none"), "none");
    EXPECT_EQ(store->iniText(), "");
}

TEST(ConfigSaverIni, anExistingFileIsReadVerbatim) {
    const test::TempFolder folder;
    test::writeFile(folder / "Tavrel.ini", "[Options]\nWordWrap=0\n");
    RecordingWriter out;
    const auto store = ConfigSaver::openIni(folder / "Tavrel.ini", out.writer());
    EXPECT_FALSE(store->readBool("Options", "WordWrap", true));
}

TEST(ConfigSaverIni, anUnreadableFileIsNeverReplaced) {
    // A folder where the file should be cannot be read; flushing would otherwise replace
    // settings that were never seen.
    const test::TempFolder folder;
    RecordingWriter out;
    const auto store = ConfigSaver::openIni(folder.path().string(), out.writer());
    store->writeString("Info", "Version", "4.2");
    const WriteStatus status = store->flush();
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.error.find(folder.path().string()), std::string::npos) << status.error;
    EXPECT_EQ(out.calls, 0);
}

TEST(ConfigSaverIni, aFifoInPlaceOfTheFileIsNeitherReadNorReplaced) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no FIFOs among its files";
#else
    const test::TempFolder folder;
    const std::string path = folder / "Tavrel.ini";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    RecordingWriter out;
    // Reading a FIFO without a writer blocks; a child keeps a hang from holding the run.
    const test::ChildOutcome outcome = test::runInChild(
        [&path, &out] {
            const auto store = ConfigSaver::openIni(path, out.writer());
            const bool defaults = store->readBool("Options", "WordWrap", true);
            const WriteStatus status = store->flush();
            return defaults && !status.ok() && status.error.find(path) != std::string::npos &&
                   out.calls == 0;
        },
        std::chrono::seconds(5));
    EXPECT_EQ(outcome, test::ChildOutcome::Passed);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
#endif
}

// A native store in memory that keeps each value's type, as the registry does.
class FakeNativeStore final : public SettingsBackend {
public:
    std::map<std::string, std::variant<std::string, std::int32_t>> values;
    int flushes = 0;

    std::optional<std::string> readString(const std::string& name) const override {
        const auto it = values.find(name);
        if (it == values.end() || !std::holds_alternative<std::string>(it->second)) {
            return std::nullopt;
        }
        return std::get<std::string>(it->second);
    }
    std::optional<std::int32_t> readInteger(const std::string& name) const override {
        const auto it = values.find(name);
        if (it == values.end() || !std::holds_alternative<std::int32_t>(it->second)) {
            return std::nullopt;
        }
        return std::get<std::int32_t>(it->second);
    }
    void writeString(const std::string& name, const std::string& value) override {
        values[name] = value;
    }
    void writeInteger(const std::string& name, std::int32_t value) override {
        values[name] = value;
    }
    WriteStatus flush() override {
        ++flushes;
        return {};
    }
};

TEST(ConfigSaverNative, valuesAreNamedSectionUnderscoreKeyAndKeepTheirTypes) {
    auto backend = std::make_unique<FakeNativeStore>();
    FakeNativeStore& fake = *backend;
    ConfigSaver store(std::move(backend));
    EXPECT_FALSE(store.usesIni());

    store.writeBool("Options", "WordWrap", false);
    store.writeString("Recent Files", "0", "/home/u/a.nfo");
    store.writeInteger("nfo", "Width", 704);
    store.writeColor("Options", "BackColor", 0x004A0000);
    store.writeFont("Options", "Font5", {"TavrelLarge", 9, false, false, false, false, 0xFFFFFF});

    EXPECT_EQ(fake.values.at("Options_WordWrap"), (std::variant<std::string, std::int32_t>(0)));
    EXPECT_EQ(std::get<std::string>(fake.values.at("Recent Files_0")), "/home/u/a.nfo");
    EXPECT_EQ(std::get<std::int32_t>(fake.values.at("nfo_Width")), 704);
    EXPECT_EQ(std::get<std::string>(fake.values.at("Options_BackColor")), "$004A0000");
    EXPECT_EQ(std::get<std::string>(fake.values.at("Options_Font5")), "TavrelLarge,9,0000,clWhite");

    EXPECT_FALSE(store.readBool("Options", "WordWrap", true));
    EXPECT_EQ(store.readInteger("nfo", "Width", 0), 704);
    EXPECT_EQ(store.readColor("Options", "BackColor", 0), 0x004A0000u);
    ASSERT_TRUE(store.flush().ok());
    EXPECT_EQ(fake.flushes, 1);
}

TEST(ConfigSaverNative, aValueOfTheWrongTypeReadsAsTheDefault) {
    auto backend = std::make_unique<FakeNativeStore>();
    backend->values["Options_WordWrap"] = std::string("1");
    backend->values["Find_Text"] = std::int32_t{5};
    backend->values["Options_HLColor"] = std::int32_t{255};
    ConfigSaver store(std::move(backend));
    EXPECT_FALSE(store.readBool("Options", "WordWrap", false));
    EXPECT_EQ(store.readString("Find", "Text", "dflt"), "dflt");
    EXPECT_EQ(store.readColor("Options", "HLColor", 0x0000FF00), 0x0000FF00u);
}

} // namespace
} // namespace tavrel
