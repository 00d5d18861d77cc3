// The string calls the program relies on: LoadStringA on the program's own table, StrToIntA, lstrcmpA.
// Checked on the simulated platform and under Wine alike.
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
    EXPECT_EQ(15, LoadStringA(GetModuleHandleA(nullptr), 401, buffer, 16));
    EXPECT_STREQ("Shell Icon Size", buffer);

    std::memset(buffer, 0xA5, sizeof buffer);
    EXPECT_EQ(5, LoadStringA(GetModuleHandleA(nullptr), 401, buffer, 6));
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
    const std::vector<Case> cases = {
        {"123", 123},   {"-45", -45},  {"007", 7},   {"12ab", 12}, {"12 34", 12}, {"ab", 0},
        {"", 0},        {"-", 0},      {"--1", 0},   {"-0", 0},    {" 7", 0},     {"+7", 0},
        {"\t7", 0},     {"2147483647", 2147483647},  {"-2147483648", -2147483647 - 1},
    };
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

}  // namespace
