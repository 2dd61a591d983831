// The registry forms of settings, against bytes written out by hand, and the local time.
#include "platform/local_time.h"
#include "platform/registry_value.h"

#include <gtest/gtest.h>

namespace tavrel::platform {
namespace {

using T = RegistryType;

TEST(RegistryValue, textsAreUtf16StringsOrTheirOwnBytes) {
    const struct {
        std::string text;
        RegistryValue form;
    } cases[] = {
        {"", {T::String, std::string("\0\0", 2)}},
        {"Ab", {T::String, std::string("A\0b\0\0\0", 6)}},
        // ü U+00FC, € U+20AC, and U+1F600 as the pair D83D DE00
        {"\xC3\xBC\xE2\x82\xAC\xF0\x9F\x98\x80",
         {T::String, std::string("\xFC\0\xAC\x20\x3D\xD8\x00\xDE\0\0", 10)}},
        // Not UTF-8: Windows-1252, an overlong "/", an encoded surrogate, a cut sequence
        {"caf\xE9", {T::Binary, "caf\xE9"}},
        {"\xC0\xAF", {T::Binary, "\xC0\xAF"}},
        {"\xED\xA0\x80", {T::Binary, "\xED\xA0\x80"}},
        {"x\xE2\x82", {T::Binary, "x\xE2\x82"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(registryText(c.text), c.form);
        EXPECT_EQ(textFromRegistry(c.form), c.text);
    }
}

TEST(RegistryValue, integersAreLittleEndianDwords) {
    EXPECT_EQ(registryInteger(704), (RegistryValue{T::Dword, std::string("\xC0\x02\0\0", 4)}));
    EXPECT_EQ(registryInteger(-8), (RegistryValue{T::Dword, "\xF8\xFF\xFF\xFF"}));
    EXPECT_EQ(integerFromRegistry({T::Dword, std::string("\x05\0\0\x80", 4)}),
              static_cast<std::int32_t>(0x80000005u));
    EXPECT_EQ(integerFromRegistry(registryInteger(1)), 1);
}

TEST(RegistryValue, valuesWrittenByOthersReadAsFarAsTheyMakeSense) {
    // A 64-bit number keeps its low half; a decimal string (the registry editor) counts.
    EXPECT_EQ(integerFromRegistry({T::Qword, std::string("\x2A\0\0\0\x01\0\0\0", 8)}), 42);
    EXPECT_EQ(integerFromRegistry({T::String, std::string("-\0"
                                                          "1\0"
                                                          "\0\0",
                                                          6)}),
              -1);
    EXPECT_EQ(textFromRegistry({T::ExpandString, std::string("%\0T\0%\0\0\0", 8)}), "%T%");
    // A string without its terminating zero, one with an odd byte, a lone surrogate.
    EXPECT_EQ(textFromRegistry({T::String, std::string("o\0k\0", 4)}), "ok");
    EXPECT_EQ(textFromRegistry({T::String, std::string("o\0k\0!", 5)}), "ok");
    EXPECT_EQ(textFromRegistry({T::String, std::string("\x3D\xD8", 2)}), "\xEF\xBF\xBD");
    // The wrong kind, a cut number, another type altogether: the default is used.
    EXPECT_FALSE(textFromRegistry(registryInteger(3)));
    EXPECT_FALSE(integerFromRegistry(registryText("abc")));
    EXPECT_FALSE(integerFromRegistry({T::Binary, std::string("\1\0\0\0", 4)}));
    EXPECT_FALSE(integerFromRegistry({T::Dword, std::string("\1\0", 2)}));
    EXPECT_FALSE(textFromRegistry({static_cast<T>(7), std::string("a\0\0\0\0\0", 6)}));
}

TEST(LocalTime, agreesWithTheCLibrarysSharedBufferForm) {
    for (const std::time_t moment : {std::time_t{0}, std::time_t{1700000000}}) {
        const std::tm expected = *std::localtime(&moment);
        std::tm local = localTime(moment);
        EXPECT_EQ(std::mktime(&local), moment);
        EXPECT_EQ(local.tm_year, expected.tm_year);
        EXPECT_EQ(local.tm_yday, expected.tm_yday);
        EXPECT_EQ(local.tm_hour, expected.tm_hour);
        EXPECT_EQ(local.tm_min, expected.tm_min);
    }
}

} // namespace
} // namespace tavrel::platform
