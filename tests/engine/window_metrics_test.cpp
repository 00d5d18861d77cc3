// The window metrics, the five system fonts and the appearance scheme name as the system and the user's
// registry keep them after each writer. Runs on the simulated platform and under Wine, against the real
// SystemParametersInfoA; a system language's cases run where the string table has that language.
#include "res/resource_ids.h"
#include "settings/window_metrics.h"
#include "tests/support/registry_keys.h"
#include "tests/support/test_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

using test_platform::GetValue;
using test_platform::PutValue;
using test_platform::StoredText;
using test_platform::TextWithNul;

const std::string kAppearanceKey = test_keys::kAppearance;
const std::string kNewSchemesKey = test_keys::kNewSchemes;
const std::string kSchemeKey = test_keys::kStandardScheme;
const char* const kLanguages[] = {"en", "de"};

class WindowMetricsTest : public testing::Test {
protected:
    void SetUp() override {
        test_platform::ResetScratch();
        saved_.emplace(std::vector<std::string>{kAppearanceKey, "Control Panel\\Desktop\\WindowMetrics"});
    }
    void TearDown() override { saved_.reset(); }

    std::optional<test_platform::SavedUserSettings> saved_;
};

// ---- ApplyNonClientMetrics ----
struct Font {
    LONG height;
    LONG weight;
};

struct Profile {
    const char* label;
    UINT metricsRow;
    UINT firstFontRow;  // the caption font; the four others follow it
    int metrics[9];     // border, scroll width and height, caption, small caption and menu width and height
    int germanSmallCaptionHeight;
    Font fonts[5];  // caption, small caption, menu, status, message
    BYTE charSet;
};

// clang-format off
const Profile kProfiles[] = {
    {"XpClassic Normal", IDS_XP_CLASSIC_NORMAL_METRICS, IDS_XP_CLASSIC_NORMAL_CAPTION_FONT,
     {1, 16, 16, 18, 18, 12, 12, 18, 18}, 12,
     {{-11, 700}, {-11, 700}, {-11, 400}, {-11, 400}, {-11, 400}}, DEFAULT_CHARSET},
    {"XpClassic Large", IDS_XP_CLASSIC_LARGE_METRICS, IDS_XP_CLASSIC_LARGE_CAPTION_FONT,
     {1, 18, 18, 21, 21, 18, 18, 18, 18}, 18,
     {{-16, 700}, {-13, 700}, {-13, 400}, {-13, 400}, {-13, 400}}, DEFAULT_CHARSET},
    {"XpClassic ExtraLarge", IDS_XP_CLASSIC_EXTRA_LARGE_METRICS, IDS_XP_CLASSIC_EXTRA_LARGE_CAPTION_FONT,
     {1, 21, 21, 24, 24, 18, 18, 21, 21}, 18,
     {{-19, 700}, {-13, 700}, {-16, 400}, {-13, 400}, {-16, 400}}, DEFAULT_CHARSET},
    {"Win2000 Normal", IDS_W2K_NORMAL_METRICS, IDS_W2K_NORMAL_CAPTION_FONT,
     {1, 16, 16, 18, 18, 12, 15, 18, 18}, 12,
     {{-11, 700}, {-11, 700}, {-11, 400}, {-11, 400}, {-11, 400}}, ANSI_CHARSET},
    {"Win2000 Large", IDS_W2K_LARGE_METRICS, IDS_W2K_LARGE_CAPTION_FONT,
     {1, 18, 18, 21, 21, 18, 18, 18, 18}, 18,
     {{-16, 700}, {-13, 700}, {-13, 400}, {-13, 400}, {-13, 400}}, ANSI_CHARSET},
    {"Win2000 ExtraLarge", IDS_W2K_EXTRA_LARGE_METRICS, IDS_W2K_EXTRA_LARGE_CAPTION_FONT,
     {1, 21, 21, 24, 24, 18, 18, 21, 21}, 18,
     {{-19, 700}, {-13, 700}, {-16, 400}, {-13, 400}, {-16, 400}}, ANSI_CHARSET},
};
// clang-format on

void ExpectFont(const char* label, const LOGFONTA& seen, const LOGFONTA& expected) {
    SCOPED_TRACE(label);
    EXPECT_EQ(expected.lfHeight, seen.lfHeight);
    EXPECT_EQ(expected.lfWeight, seen.lfWeight);
    EXPECT_EQ(expected.lfCharSet, seen.lfCharSet);
    EXPECT_STREQ(expected.lfFaceName, seen.lfFaceName);
    EXPECT_EQ(0, seen.lfWidth);
    EXPECT_EQ(0, seen.lfItalic + seen.lfUnderline + seen.lfStrikeOut);
}

void ExpectProfile(const NONCLIENTMETRICSA& seen, const Profile& profile, bool german) {
    LOGFONTA fonts[5];
    for (int i = 0; i < 5; ++i)
        fonts[i] = test_platform::TahomaFont(profile.fonts[i].height, profile.fonts[i].weight, profile.charSet);
    std::vector<int> expected(profile.metrics, profile.metrics + 9);
    if (german) expected[6] = profile.germanSmallCaptionHeight;
    // A system that fits caption and menu heights to their fonts reports them raised where a font needs it.
    expected[4] = std::max(expected[4], test_platform::HeightFittingFont(fonts[0], false));
    expected[6] = std::max(expected[6], test_platform::HeightFittingFont(fonts[1], false));
    expected[8] = std::max(expected[8], test_platform::HeightFittingFont(fonts[2], true));
    EXPECT_EQ(expected, (std::vector<int>{seen.iBorderWidth, seen.iScrollWidth, seen.iScrollHeight, seen.iCaptionWidth,
                                          seen.iCaptionHeight, seen.iSmCaptionWidth, seen.iSmCaptionHeight,
                                          seen.iMenuWidth, seen.iMenuHeight}));
    ExpectFont("caption font", seen.lfCaptionFont, fonts[0]);
    ExpectFont("small caption font", seen.lfSmCaptionFont, fonts[1]);
    ExpectFont("menu font", seen.lfMenuFont, fonts[2]);
    ExpectFont("status font", seen.lfStatusFont, fonts[3]);
    ExpectFont("message font", seen.lfMessageFont, fonts[4]);
}

TEST_F(WindowMetricsTest, ApplyNonClientMetricsGivesTheSystemTheRowsMetricsAndFontsForEveryProcess) {
    const Profile* last = nullptr;
    bool lastGerman = false;
    for (const char* language : kLanguages) {
        if (!test_platform::UseLanguage(language)) continue;
        for (const Profile& profile : kProfiles) {
            SCOPED_TRACE(testing::Message() << profile.label << ", " << language);
            const UINT f = profile.firstFontRow;
            ASSERT_TRUE(ApplyNonClientMetrics(profile.metricsRow, f, f + 1, f + 2, f + 3, f + 4));

            NONCLIENTMETRICSA seen;
            std::memset(&seen, 0, sizeof seen);
            seen.cbSize = sizeof seen;
            ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof seen, &seen, 0));
            ExpectProfile(seen, profile, std::string(language) == "de");
            last = &profile;
            lastGerman = std::string(language) == "de";
        }
    }
    // What the system keeps for the user, as a process started now gets it.
    ASSERT_NE(nullptr, last);
    SCOPED_TRACE(testing::Message() << "seen by another process: " << last->label);
    NONCLIENTMETRICSA elsewhere;
    ICONMETRICSA icon;
    ASSERT_TRUE(test_platform::MetricsSeenByAnotherProcess(&elsewhere, &icon));
    ExpectProfile(elsewhere, *last, lastGerman);
}

// ---- SelectXpSchemeSize ----
TEST_F(WindowMetricsTest, SelectXpSchemeSizeRecordsNameAndSizeOnlyForTheStandardScheme) {
    const struct {
        const char* label;
        const char* selectedStyle;  // null: no such value
        UINT schemeRow;
        bool written;
        const char* english;
        const char* german;
        const char* selectedSize;
    } cases[] = {
        {"scheme 21, Normal", "21", IDS_XP_SCHEME_NORMAL, true, "Windows Standard", "Windows-Standard", "0"},
        {"scheme 21, Large", "21", IDS_XP_SCHEME_LARGE, true, "Windows Standard (large)", "Windows-Standard (gro\xDF)",
         "2"},
        {"scheme 21, ExtraLarge", "21", IDS_XP_SCHEME_EXTRA_LARGE, true, "Windows Standard (extra large)",
         "Windows-Standard (extragro\xDF)", "1"},
        {"no SelectedStyle", nullptr, IDS_XP_SCHEME_LARGE, false, nullptr, nullptr, nullptr},
        {"another scheme", "22", IDS_XP_SCHEME_LARGE, false, nullptr, nullptr, nullptr},
        {"empty SelectedStyle", "", IDS_XP_SCHEME_LARGE, false, nullptr, nullptr, nullptr},
        {"21 and more", "210", IDS_XP_SCHEME_LARGE, false, nullptr, nullptr, nullptr},
        {"a row that is not an XP scheme", "21", IDS_W2K_SCHEME_LARGE, false, nullptr, nullptr, nullptr},
    };
    for (const char* language : kLanguages) {
        if (!test_platform::UseLanguage(language)) continue;
        const bool german = std::string(language) == "de";
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.label << ", " << language);
            test_platform::DeleteKeyTree(kAppearanceKey);
            PutValue(kAppearanceKey, "Current", REG_SZ, TextWithNul("Before"));
            PutValue(kAppearanceKey, "NewCurrent", REG_SZ, TextWithNul("Before"));
            PutValue(kSchemeKey, "SelectedSize", REG_SZ, TextWithNul("9"));
            if (c.selectedStyle) PutValue(kNewSchemesKey, "SelectedStyle", REG_SZ, TextWithNul(c.selectedStyle));

            EXPECT_EQ(c.written, SelectXpSchemeSize(c.schemeRow));
            const std::string name = c.written ? (german ? c.german : c.english) : "Before";
            EXPECT_EQ(name, StoredText(kAppearanceKey, "Current"));
            EXPECT_EQ(name, StoredText(kAppearanceKey, "NewCurrent"));
            EXPECT_EQ(std::string(c.written ? c.selectedSize : "9"), StoredText(kSchemeKey, "SelectedSize"));
        }
    }
}

// ---- SelectWin2000Scheme ----
TEST_F(WindowMetricsTest, SelectWin2000SchemeRewritesAStandardCurrentSchemeAndDeletesAnyOther) {
    const struct {
        const char* label;
        const char* language;
        bool appearanceKey;
        const char* current;  // null: no such value
        UINT schemeRow;
        bool rewritten;
        const char* after;  // null: deleted
    } cases[] = {
        {"standard to extra large", "en", true, "Windows Standard", IDS_W2K_SCHEME_EXTRA_LARGE, true,
         "Windows Standard (extra large)"},
        {"large to normal", "en", true, "Windows Standard (large)", IDS_W2K_SCHEME_NORMAL, true, "Windows Standard"},
        {"extra large to large", "en", true, "Windows Standard (extra large)", IDS_W2K_SCHEME_LARGE, true,
         "Windows Standard (large)"},
        {"another scheme", "en", true, "Brick", IDS_W2K_SCHEME_LARGE, false, nullptr},
        {"a standard name in other case", "en", true, "windows standard", IDS_W2K_SCHEME_LARGE, false, nullptr},
        {"an empty Current", "en", true, "", IDS_W2K_SCHEME_LARGE, false, nullptr},
        {"no Current", "en", true, nullptr, IDS_W2K_SCHEME_LARGE, false, nullptr},
        {"no Appearance key", "en", false, nullptr, IDS_W2K_SCHEME_LARGE, false, nullptr},
        {"a row that is not a Windows 2000 scheme", "en", true, "Windows Standard", IDS_XP_SCHEME_LARGE, false,
         nullptr},
        {"German standard to large", "de", true, "Windows-Standard", IDS_W2K_SCHEME_LARGE, true,
         "Windows-Standard (gro\xDF)"},
        {"German extra large to normal", "de", true, "Windows-Standard (extragro\xDF)", IDS_W2K_SCHEME_NORMAL, true,
         "Windows-Standard"},
        {"German table, English name", "de", true, "Windows Standard", IDS_W2K_SCHEME_LARGE, false, nullptr},
    };
    for (const auto& c : cases) {
        if (!test_platform::UseLanguage(c.language)) continue;
        SCOPED_TRACE(c.label);
        test_platform::DeleteKeyTree(kAppearanceKey);
        if (c.appearanceKey) PutValue(kAppearanceKey, "Other", REG_SZ, TextWithNul("kept"));
        if (c.current) PutValue(kAppearanceKey, "Current", REG_SZ, TextWithNul(c.current));

        EXPECT_EQ(c.rewritten, SelectWin2000Scheme(c.schemeRow));
        EXPECT_EQ(c.after ? std::optional<std::string>(c.after) : std::nullopt, StoredText(kAppearanceKey, "Current"));
        EXPECT_TRUE(test_platform::KeyExists(kAppearanceKey));
        if (c.appearanceKey) {
            EXPECT_EQ(std::optional<std::string>("kept"), StoredText(kAppearanceKey, "Other"));
        }
    }
}

}  // namespace
