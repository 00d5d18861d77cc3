// Every row that the program reads loads from the string table of each language, with the values the
// size profiles need, and every metric row parses. On the simulated platform both languages are checked;
// under Wine the table the system's lookup picks for the process's language (the runner sets it).
#include "settings/metric_lines.h"
#include "settings/string_rows.h"
#include "tests/support/test_platform.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class StringRowsTest : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        test_platform::ResetScratch();
        if (!test_platform::UseLanguage(GetParam())) GTEST_SKIP() << "this run's language is not " << GetParam();
    }
    bool German() const { return GetParam() == "de"; }
};

std::string Load(UINT row) {
    RowText text;
    return LoadRow(row, &text) ? std::string(text.text) : std::string("<not loaded>");
}

const std::string kConfirmation =
    "To set the fonts and icons to the %s size click \"OK\". Please make sure all other applications are closed "
    "before clicking the \"OK\" button.\nPlease wait for a while until \"Settings have changed\" is displayed.";

std::string Confirmation(const char* size) {
    std::string text = kConfirmation;
    text.replace(text.find("%s"), 2, size);
    return text;
}

TEST_P(StringRowsTest, PlainRowsHoldTheirTextsInThisLanguage) {
    const bool de = German();
    struct Row {
        UINT id;
        std::string text;
    };
    const std::vector<Row> rows = {
        {101, "About Optivue..."},
        {111, "This application requires Windows 2000/Xp or later."},
        {112, "Set Display setting over 1024*768 pixel."},
        {202, de ? "Windows-Standard (gro\xDF)" : "Windows Standard (large)"},
        {203, de ? "Windows-Standard (extragro\xDF)" : "Windows Standard (extra large)"},
        {204, de ? "Windows-Standard" : "Windows Default"},
        {216, de ? "Windows-Standard" : "Windows Standard"},
        {217, de ? "Windows-Standard (gro\xDF)" : "Windows Standard (large)"},
        {218, de ? "Windows-Standard (extragro\xDF)" : "Windows Standard (extra large)"},
        {221, de ? "Windows-Standard" : "Windows Standard"},
        {222, de ? "Windows-Standard (gro\xDF)" : "Windows Standard (large)"},
        {223, de ? "Windows-Standard (extragro\xDF)" : "Windows Standard (extra large)"},
        {301, Confirmation("normal")},
        {302, Confirmation("large")},
        {303, Confirmation("extra large")},
        {401, "Shell Icon Size"},
        {402, "32"},
        {403, "48"},
        {404, "48"},
        {405, "32"},
        {412, "NormalSize"},
        {413, "LargeFonts"},
        {414, "ExtraLargeFonts"},
        {421, de ? "114" : "75"},
        {422, de ? "130" : "91"},
        {423, de ? "130" : "91"},
        {431, "75"},
        {432, "91"},
        {433, "91"},
    };
    for (const auto& row : rows) EXPECT_EQ(row.text, Load(row.id)) << "row " << row.id;
}

TEST_P(StringRowsTest, GermanSchemeNamesEndInTheSingleByteSharpS) {
    const std::string large = Load(217);
    ASSERT_GE(large.size(), 2u);
    const unsigned char last = static_cast<unsigned char>(large[large.size() - 2]);
    EXPECT_EQ(German() ? 0xDF : 'e', last) << "the row arrives in code page 1252";
    EXPECT_EQ(')', large.back());
}

TEST_P(StringRowsTest, EveryFontRowTheProgramReadsParsesToItsHeightWeightAndCharacterSet) {
    struct FontRow {
        UINT id;
        LONG height;
        LONG weight;
    };
    // Icon title fonts of the XpStyled groups, then the six fonts of each XpClassic and Win2000 group.
    const std::vector<FontRow> rows = {
        {501, -11, 400}, {511, -13, 400}, {521, -16, 400},
        {531, -11, 400}, {532, -11, 700}, {533, -11, 700}, {534, -11, 400}, {535, -11, 400}, {536, -11, 400},
        {541, -13, 400}, {542, -16, 700}, {543, -13, 700}, {544, -13, 400}, {545, -13, 400}, {546, -13, 400},
        {551, -16, 400}, {552, -19, 700}, {553, -13, 700}, {554, -16, 400}, {555, -13, 400}, {556, -16, 400},
        {561, -11, 400}, {562, -11, 700}, {563, -11, 700}, {564, -11, 400}, {565, -11, 400}, {566, -11, 400},
        {571, -13, 400}, {572, -16, 700}, {573, -13, 700}, {574, -13, 400}, {575, -13, 400}, {576, -13, 400},
        {581, -16, 400}, {582, -19, 700}, {583, -13, 700}, {584, -16, 400}, {585, -13, 400}, {586, -16, 400},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << row.id);
        RowText text;
        ASSERT_TRUE(LoadRow(row.id, &text));
        LOGFONTA font;
        std::memset(&font, 0x5A, sizeof font);
        ASSERT_TRUE(ParseLogFontLine(&font, text.text)) << text.text;
        EXPECT_EQ(row.height, font.lfHeight);
        EXPECT_EQ(row.weight, font.lfWeight);
        EXPECT_EQ(row.id >= 561 ? ANSI_CHARSET : DEFAULT_CHARSET, font.lfCharSet);
        EXPECT_STREQ("Tahoma", font.lfFaceName);
    }
}

TEST_P(StringRowsTest, EveryMetricsRowParsesToItsNineMetrics) {
    struct MetricsRow {
        UINT id;
        int values[9];
    };
    const std::vector<MetricsRow> rows = {
        {604, {1, 16, 16, 18, 18, 12, 12, 18, 18}},
        {605, {1, 18, 18, 21, 21, 18, 18, 18, 18}},
        {606, {1, 21, 21, 24, 24, 18, 18, 21, 21}},
        {607, {1, 16, 16, 18, 18, 12, German() ? 12 : 15, 18, 18}},
        {608, {1, 18, 18, 21, 21, 18, 18, 18, 18}},
        {609, {1, 21, 21, 24, 24, 18, 18, 21, 21}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << row.id);
        RowText text;
        ASSERT_TRUE(LoadRow(row.id, &text));
        NONCLIENTMETRICSA metrics;
        std::memset(&metrics, 0, sizeof metrics);
        ASSERT_TRUE(ParseNonClientLine(&metrics, text.text)) << text.text;
        const int actual[9] = {metrics.iBorderWidth,    metrics.iScrollWidth,     metrics.iScrollHeight,
                               metrics.iCaptionWidth,   metrics.iCaptionHeight,   metrics.iSmCaptionWidth,
                               metrics.iSmCaptionHeight, metrics.iMenuWidth,      metrics.iMenuHeight};
        EXPECT_EQ(std::vector<int>(row.values, row.values + 9), std::vector<int>(actual, actual + 9));
    }
}

TEST_P(StringRowsTest, AMissingRowIsNotLoadedAndLeavesAnEmptyText) {
    RowText text;
    std::strcpy(text.text, "sentinel");
    EXPECT_FALSE(LoadRow(415, &text));
    EXPECT_STREQ("", text.text);
    EXPECT_FALSE(LoadRow(9999, &text));
}

INSTANTIATE_TEST_SUITE_P(Languages, StringRowsTest, testing::Values("en", "de"),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
