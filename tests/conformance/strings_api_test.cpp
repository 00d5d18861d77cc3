// The string calls the program relies on: LoadStringA on the program's own table, StrToIntA, lstrcmpA, and
// WideCharToMultiByte into the ANSI code page (1252 on English and German systems).
// Checked on the simulated platform and under Wine alike.
#include "res/resource_ids.h"
#include "tests/support/test_platform.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(StringsApiTest, LoadStringACopiesAtMostOneLessThanTheBufferAndTerminates) {
    test_platform::ResetScratch();
    ASSERT_TRUE(test_platform::UseLanguage("en") || test_platform::UseLanguage("de"));
    char buffer[16];
    std::memset(buffer, 0xA5, sizeof buffer);
    EXPECT_EQ(15, LoadStringA(GetModuleHandleA(nullptr), IDS_ICON_SIZE_VALUE_NAME, buffer, 16));
    EXPECT_STREQ("Shell Icon Size", buffer);

    std::memset(buffer, 0xA5, sizeof buffer);
    EXPECT_EQ(5, LoadStringA(GetModuleHandleA(nullptr), IDS_ICON_SIZE_VALUE_NAME, buffer, 6));
    EXPECT_STREQ("Shell", buffer);
    EXPECT_EQ(0xA5, static_cast<unsigned char>(buffer[6]));

    std::strcpy(buffer, "sentinel");
    EXPECT_EQ(0, LoadStringA(GetModuleHandleA(nullptr), 415, buffer, 16));
    EXPECT_STREQ("", buffer);
}

TEST(StringsApiTest, StrToIntATakesLeadingDigitsWithAnOptionalMinusAndNothingElse) {
    struct Case {
        const char* text;
        int value;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"123", 123},   {"-45", -45},  {"007", 7},   {"12ab", 12}, {"12 34", 12}, {"ab", 0},
        {"", 0},        {"-", 0},      {"--1", 0},   {"-0", 0},    {" 7", 0},     {"+7", 0},
        {"\t7", 0},     {"2147483647", 2147483647},  {"-2147483648", -2147483647 - 1},
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(c.value, StrToIntA(c.text)) << "\"" << c.text << "\"";
}

TEST(StringsApiTest, LstrcmpAFindsOnlyIdenticalTextsEqual) {
    EXPECT_EQ(0, lstrcmpA("21", "21"));
    EXPECT_NE(0, lstrcmpA("21", "21 "));
    EXPECT_NE(0, lstrcmpA("21", "2"));
    EXPECT_NE(0, lstrcmpA("Windows Standard", "windows standard"));
    EXPECT_NE(0, lstrcmpA("", "21"));
    EXPECT_EQ(0, lstrcmpA("", ""));
}

// Whether the ANSI code page holds a wide text exactly: the byte of each character, or "?" with the
// default character reported, never a look-alike.
TEST(StringsApiTest, WideCharToMultiByteWithoutBestFitReportsEveryCharacterTheAnsiCodePageLacks) {
    const struct {
        const char* label;
        const char16_t* wide;
        const char* ansi;
        bool replaced;
    } cases[] = {
        {"ASCII", u"C:\\Startup", "C:\\Startup", false},
        {"German letters", u"J\u00fcrgen Stra\u00dfer",
         "J\xfc"
         "rgen Stra\xdf"
         "er",
         false},
        {"the euro sign", u"\u20ac 5", "\x80 5", false},
        {"Greek letters, which have Latin look-alikes", u"\u0395\u03bb\u03ad\u03bd\u03b7", "?????", true},
        {"Cyrillic", u"\u0418\u0432\u0430\u043d", "????", true},
        {"empty", u"", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const WCHAR* wide = reinterpret_cast<const WCHAR*>(c.wide);
        const int needed = static_cast<int>(std::strlen(c.ansi)) + 1;
        EXPECT_EQ(needed, WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, nullptr, 0, nullptr, nullptr));

        char bytes[32];
        std::memset(bytes, 0xA5, sizeof bytes);
        BOOL replaced = 0x5A5A;
        EXPECT_EQ(needed,
                  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, bytes, sizeof bytes, nullptr, &replaced));
        EXPECT_STREQ(c.ansi, bytes);
        EXPECT_EQ(c.replaced ? TRUE : FALSE, replaced);

        if (needed > 1) {
            std::memset(bytes, 0xA5, sizeof bytes);
            SetLastError(0);
            EXPECT_EQ(0,
                      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, bytes, needed - 1, nullptr, nullptr));
            EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
        }
    }
}

}  // namespace
