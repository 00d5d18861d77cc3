// Every row that the program reads loads from the string table of each language, with the values the
// size profiles need, and every metric row parses. On the simulated platform both languages are checked;
// under Wine the table the system's lookup picks for the process's language (the runner sets it).
#include "res/resource_ids.h"
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

// Loads `row` and parses its text into `record`, which keeps what the caller put there where the parser
// writes nothing; fails, naming the row and its text, where either step fails.
template <typename Record>
testing::AssertionResult LoadsAndParses(UINT row, bool (*parse)(Record*, const char*), Record* record) {
    RowText text;
    if (!LoadRow(row, &text)) return testing::AssertionFailure() << "row " << row << " does not load";
    if (!parse(record, text.text))
        return testing::AssertionFailure() << "row " << row << " does not parse: " << text.text;
    return testing::AssertionSuccess();
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
        {IDS_ABOUT_ENTRY, "About Optivue..."},
        {IDS_UNSUPPORTED_SYSTEM, "This application requires Windows 2000/Xp or later."},
        {IDS_SCREEN_TOO_SMALL, "Set Display setting over 1024*768 pixel."},
        {IDS_POINTER_SCHEME_LARGE, de ? "Windows-Standard (gro\xDF)" : "Windows Standard (large)"},
        {IDS_POINTER_SCHEME_EXTRA_LARGE, de ? "Windows-Standard (extragro\xDF)" : "Windows Standard (extra large)"},
        {IDS_POINTER_SCHEME_NORMAL, de ? "Windows-Standard" : "Windows Default"},
        {IDS_XP_SCHEME_NORMAL, de ? "Windows-Standard" : "Windows Standard"},
        {IDS_XP_SCHEME_LARGE, de ? "Windows-Standard (gro\xDF)" : "Windows Standard (large)"},
        {IDS_XP_SCHEME_EXTRA_LARGE, de ? "Windows-Standard (extragro\xDF)" : "Windows Standard (extra large)"},
        {IDS_W2K_SCHEME_NORMAL, de ? "Windows-Standard" : "Windows Standard"},
        {IDS_W2K_SCHEME_LARGE, de ? "Windows-Standard (gro\xDF)" : "Windows Standard (large)"},
        {IDS_W2K_SCHEME_EXTRA_LARGE, de ? "Windows-Standard (extragro\xDF)" : "Windows Standard (extra large)"},
        {IDS_CONFIRM_NORMAL_SIZE, Confirmation("normal")},
        {IDS_CONFIRM_LARGE_SIZE, Confirmation("large")},
        {IDS_CONFIRM_EXTRA_LARGE_SIZE, Confirmation("extra large")},
        {IDS_ICON_SIZE_VALUE_NAME, "Shell Icon Size"},
        {IDS_ICON_SIZE_NORMAL, "32"},
        {IDS_ICON_SIZE_LARGE, "48"},
        {IDS_ICON_SIZE_EXTRA_LARGE, "48"},
        {IDS_ICON_BASE_SIZE, "32"},
        {IDS_STYLE_SIZE_NORMAL, "NormalSize"},
        {IDS_STYLE_SIZE_LARGE, "LargeFonts"},
        {IDS_STYLE_SIZE_EXTRA_LARGE, "ExtraLargeFonts"},
        {IDS_ICON_SPACING_NORMAL, de ? "114" : "75"},
        {IDS_ICON_SPACING_LARGE, de ? "130" : "91"},
        {IDS_ICON_SPACING_EXTRA_LARGE, de ? "130" : "91"},
        {IDS_ICON_VERTICAL_SPACING_NORMAL, "75"},
        {IDS_ICON_VERTICAL_SPACING_LARGE, "91"},
        {IDS_ICON_VERTICAL_SPACING_EXTRA_LARGE, "91"},
    };
    for (const auto& row : rows) EXPECT_EQ(row.text, Load(row.id)) << "row " << row.id;
}

TEST_P(StringRowsTest, GermanSchemeNamesEndInTheSingleByteSharpS) {
    const std::string large = Load(IDS_XP_SCHEME_LARGE);
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
        {IDS_XP_STYLED_NORMAL_ICON_FONT, -11, 400},
        {IDS_XP_STYLED_LARGE_ICON_FONT, -13, 400},
        {IDS_XP_STYLED_EXTRA_LARGE_ICON_FONT, -16, 400},
        {IDS_XP_CLASSIC_NORMAL_ICON_FONT, -11, 400},
        {IDS_XP_CLASSIC_NORMAL_CAPTION_FONT, -11, 700},
        {IDS_XP_CLASSIC_NORMAL_SMALL_CAPTION_FONT, -11, 700},
        {IDS_XP_CLASSIC_NORMAL_MENU_FONT, -11, 400},
        {IDS_XP_CLASSIC_NORMAL_STATUS_FONT, -11, 400},
        {IDS_XP_CLASSIC_NORMAL_MESSAGE_FONT, -11, 400},
        {IDS_XP_CLASSIC_LARGE_ICON_FONT, -13, 400},
        {IDS_XP_CLASSIC_LARGE_CAPTION_FONT, -16, 700},
        {IDS_XP_CLASSIC_LARGE_SMALL_CAPTION_FONT, -13, 700},
        {IDS_XP_CLASSIC_LARGE_MENU_FONT, -13, 400},
        {IDS_XP_CLASSIC_LARGE_STATUS_FONT, -13, 400},
        {IDS_XP_CLASSIC_LARGE_MESSAGE_FONT, -13, 400},
        {IDS_XP_CLASSIC_EXTRA_LARGE_ICON_FONT, -16, 400},
        {IDS_XP_CLASSIC_EXTRA_LARGE_CAPTION_FONT, -19, 700},
        {IDS_XP_CLASSIC_EXTRA_LARGE_SMALL_CAPTION_FONT, -13, 700},
        {IDS_XP_CLASSIC_EXTRA_LARGE_MENU_FONT, -16, 400},
        {IDS_XP_CLASSIC_EXTRA_LARGE_STATUS_FONT, -13, 400},
        {IDS_XP_CLASSIC_EXTRA_LARGE_MESSAGE_FONT, -16, 400},
        {IDS_W2K_NORMAL_ICON_FONT, -11, 400},
        {IDS_W2K_NORMAL_CAPTION_FONT, -11, 700},
        {IDS_W2K_NORMAL_SMALL_CAPTION_FONT, -11, 700},
        {IDS_W2K_NORMAL_MENU_FONT, -11, 400},
        {IDS_W2K_NORMAL_STATUS_FONT, -11, 400},
        {IDS_W2K_NORMAL_MESSAGE_FONT, -11, 400},
        {IDS_W2K_LARGE_ICON_FONT, -13, 400},
        {IDS_W2K_LARGE_CAPTION_FONT, -16, 700},
        {IDS_W2K_LARGE_SMALL_CAPTION_FONT, -13, 700},
        {IDS_W2K_LARGE_MENU_FONT, -13, 400},
        {IDS_W2K_LARGE_STATUS_FONT, -13, 400},
        {IDS_W2K_LARGE_MESSAGE_FONT, -13, 400},
        {IDS_W2K_EXTRA_LARGE_ICON_FONT, -16, 400},
        {IDS_W2K_EXTRA_LARGE_CAPTION_FONT, -19, 700},
        {IDS_W2K_EXTRA_LARGE_SMALL_CAPTION_FONT, -13, 700},
        {IDS_W2K_EXTRA_LARGE_MENU_FONT, -16, 400},
        {IDS_W2K_EXTRA_LARGE_STATUS_FONT, -13, 400},
        {IDS_W2K_EXTRA_LARGE_MESSAGE_FONT, -16, 400},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << row.id);
        LOGFONTA font;
        std::memset(&font, 0x5A, sizeof font);
        ASSERT_TRUE(LoadsAndParses(row.id, ParseLogFontLine, &font));
        EXPECT_EQ(row.height, font.lfHeight);
        EXPECT_EQ(row.weight, font.lfWeight);
        EXPECT_EQ(row.id >= IDS_W2K_NORMAL_ICON_FONT ? ANSI_CHARSET : DEFAULT_CHARSET, font.lfCharSet);
        EXPECT_STREQ("Tahoma", font.lfFaceName);
    }
}

TEST_P(StringRowsTest, EveryMetricsRowParsesToItsNineMetrics) {
    struct MetricsRow {
        UINT id;
        int values[9];
    };
    const std::vector<MetricsRow> rows = {
        {IDS_XP_CLASSIC_NORMAL_METRICS, {1, 16, 16, 18, 18, 12, 12, 18, 18}},
        {IDS_XP_CLASSIC_LARGE_METRICS, {1, 18, 18, 21, 21, 18, 18, 18, 18}},
        {IDS_XP_CLASSIC_EXTRA_LARGE_METRICS, {1, 21, 21, 24, 24, 18, 18, 21, 21}},
        {IDS_W2K_NORMAL_METRICS, {1, 16, 16, 18, 18, 12, German() ? 12 : 15, 18, 18}},
        {IDS_W2K_LARGE_METRICS, {1, 18, 18, 21, 21, 18, 18, 18, 18}},
        {IDS_W2K_EXTRA_LARGE_METRICS, {1, 21, 21, 24, 24, 18, 18, 21, 21}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << row.id);
        NONCLIENTMETRICSA metrics;
        std::memset(&metrics, 0, sizeof metrics);
        ASSERT_TRUE(LoadsAndParses(row.id, ParseNonClientLine, &metrics));
        const int actual[9] = {metrics.iBorderWidth,     metrics.iScrollWidth,   metrics.iScrollHeight,
                               metrics.iCaptionWidth,    metrics.iCaptionHeight, metrics.iSmCaptionWidth,
                               metrics.iSmCaptionHeight, metrics.iMenuWidth,     metrics.iMenuHeight};
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
