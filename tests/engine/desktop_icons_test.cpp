// The icon size, the system icon metrics and the desktop's icon view after ApplyDesktopIconMetrics: what
// the registry and SPI_GETICONMETRICS give afterwards (in this process and in another), and the spacing
// the icon view reports and arranges its icons with, with and without snap-to-grid. Runs on the simulated
// platform and under Wine, where the desktop fixture plays the shell's icon view in another process.
#include "res/resource_ids.h"
#include "settings/desktop_icons.h"
#include "tests/support/registry_keys.h"
#include "tests/support/test_platform.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

using test_platform::GetValue;

const std::string kWindowMetricsKey = test_keys::kWindowMetrics;
const char* const kLanguages[] = {"en", "de"};
constexpr UINT kValueNameRow = IDS_ICON_SIZE_VALUE_NAME;
constexpr UINT kBaseSizeRow = IDS_ICON_BASE_SIZE;

// The rows of one size level, and what the English and German tables hold in them.
struct Level {
    const char* label;
    UINT sizeRow;
    UINT horizontalRow;
    UINT verticalRow;
    const char* size;
    int englishHorizontal;
    int germanHorizontal;
    int vertical;
    LONG titleFontHeight;
};

// clang-format off
const Level kNormal = {"Normal", IDS_ICON_SIZE_NORMAL, IDS_ICON_SPACING_NORMAL,
                       IDS_ICON_VERTICAL_SPACING_NORMAL, "32", 75, 114, 75, -11};
const Level kLarge = {"Large", IDS_ICON_SIZE_LARGE, IDS_ICON_SPACING_LARGE,
                      IDS_ICON_VERTICAL_SPACING_LARGE, "48", 91, 130, 91, -13};
const Level kExtraLarge = {"ExtraLarge", IDS_ICON_SIZE_EXTRA_LARGE, IDS_ICON_SPACING_EXTRA_LARGE,
                           IDS_ICON_VERTICAL_SPACING_EXTRA_LARGE, "48", 91, 130, 91, -16};
// clang-format on

ICONMETRICSA CurrentIconMetrics() {
    ICONMETRICSA metrics;
    std::memset(&metrics, 0, sizeof metrics);
    metrics.cbSize = sizeof metrics;
    EXPECT_TRUE(SystemParametersInfoA(SPI_GETICONMETRICS, sizeof metrics, &metrics, 0));
    return metrics;
}

// The icon metrics that a case's rows ask for; the title wrap stays as the system had it.
struct IconMetricsOfRows {
    std::string label;
    int horizontal;
    int vertical;
    int titleWrap;
    LONG titleFontHeight;
    BYTE charSet;
};

void ExpectIconMetrics(const ICONMETRICSA& seen, const IconMetricsOfRows& rows) {
    EXPECT_EQ(rows.horizontal, seen.iHorzSpacing);
    EXPECT_EQ(rows.vertical, seen.iVertSpacing);
    EXPECT_EQ(rows.titleWrap, seen.iTitleWrap);
    EXPECT_EQ(rows.titleFontHeight, seen.lfFont.lfHeight);
    EXPECT_EQ(400, seen.lfFont.lfWeight);
    EXPECT_EQ(rows.charSet, seen.lfFont.lfCharSet);
    EXPECT_STREQ("Tahoma", seen.lfFont.lfFaceName);
}

class DesktopIconsTest : public testing::Test {
protected:
    void SetUp() override {
        test_platform::ResetScratch();
        saved_.emplace(std::vector<std::string>{kWindowMetricsKey});
    }
    void TearDown() override { saved_.reset(); }

    std::optional<test_platform::SavedUserSettings> saved_;
};

TEST_F(DesktopIconsTest, StoresTheIconSizeAndGivesTheSystemTheRowsSpacingAndTitleFont) {
    const struct {
        const char* variant;
        const Level* level;
        UINT titleFontRow;
        BYTE charSet;
    } cases[] = {
        {"XpStyled", &kNormal, IDS_XP_STYLED_NORMAL_ICON_FONT, DEFAULT_CHARSET},
        {"XpStyled", &kLarge, IDS_XP_STYLED_LARGE_ICON_FONT, DEFAULT_CHARSET},
        {"XpStyled", &kExtraLarge, IDS_XP_STYLED_EXTRA_LARGE_ICON_FONT, DEFAULT_CHARSET},
        {"XpClassic", &kNormal, IDS_XP_CLASSIC_NORMAL_ICON_FONT, DEFAULT_CHARSET},
        {"XpClassic", &kLarge, IDS_XP_CLASSIC_LARGE_ICON_FONT, DEFAULT_CHARSET},
        {"XpClassic", &kExtraLarge, IDS_XP_CLASSIC_EXTRA_LARGE_ICON_FONT, DEFAULT_CHARSET},
        {"Win2000", &kNormal, IDS_W2K_NORMAL_ICON_FONT, ANSI_CHARSET},
        {"Win2000", &kLarge, IDS_W2K_LARGE_ICON_FONT, ANSI_CHARSET},
        {"Win2000", &kExtraLarge, IDS_W2K_EXTRA_LARGE_ICON_FONT, ANSI_CHARSET},
    };
    ASSERT_NE(nullptr, test_platform::DesktopIconView(0));
    std::optional<IconMetricsOfRows> last;
    for (const char* language : kLanguages) {
        if (!test_platform::UseLanguage(language)) continue;
        for (const auto& c : cases) {
            const Level& level = *c.level;
            const std::string label = std::string(c.variant) + " " + level.label + ", " + language;
            SCOPED_TRACE(label);
            test_platform::PutString(kWindowMetricsKey, "Shell Icon Size", "99");
            const IconMetricsOfRows rows = {
                label,
                std::string(language) == "de" ? level.germanHorizontal : level.englishHorizontal,
                level.vertical,
                CurrentIconMetrics().iTitleWrap,
                level.titleFontHeight,
                c.charSet};

            EXPECT_TRUE(ApplyDesktopIconMetrics(kValueNameRow, level.sizeRow, kBaseSizeRow, level.horizontalRow,
                                                level.verticalRow, c.titleFontRow));

            const test_platform::StoredValue size = GetValue(kWindowMetricsKey, "Shell Icon Size");
            EXPECT_EQ(DWORD(REG_SZ), size.type);
            EXPECT_EQ(std::string(level.size) + '\0', std::string(size.data.begin(), size.data.end()));
            ExpectIconMetrics(CurrentIconMetrics(), rows);
            last = rows;
        }
    }
    // What the system keeps for the user, as a process started now gets it.
    ASSERT_TRUE(last.has_value());
    SCOPED_TRACE("seen by another process: " + last->label);
    NONCLIENTMETRICSA nonClient;
    ICONMETRICSA elsewhere;
    ASSERT_TRUE(test_platform::MetricsSeenByAnotherProcess(&nonClient, &elsewhere));
    ExpectIconMetrics(elsewhere, *last);
}

TEST_F(DesktopIconsTest, TheIconViewGetsTheSpacingForItsGridAndArrangesItsIconsWithIt) {
    // The work area matters only when the view snaps to a grid; 0 x 0 stands for any.
    // clang-format off
    const struct {
        const char* language;
        const Level* level;
        bool snapToGrid;
        LONG workWidth;
        LONG workHeight;
        int cx;
        int cy;
    } cases[] = {
        {"en", &kNormal,     false,    0,   0,  75,  75},
        {"en", &kLarge,      false,    0,   0, 107, 107},
        {"en", &kExtraLarge, false,    0,   0, 107, 107},
        {"de", &kNormal,     false,    0,   0, 114,  75},
        {"de", &kLarge,      false,    0,   0, 146, 107},
        {"en", &kNormal,     true,  1024, 738,  78,  82},
        {"en", &kLarge,      true,  1024, 738,  93,  92},
        {"en", &kExtraLarge, true,  1024, 738,  93,  92},
        {"de", &kNormal,     true,  1024, 738, 128,  82},
        {"de", &kLarge,      true,  1024, 738, 146,  92},
        {"en", &kNormal,     true,  1024, 768,  78,  76},
        {"en", &kLarge,      true,  1024, 768,  93,  96},
        {"de", &kNormal,     true,  1024, 768, 128,  76},
        {"de", &kLarge,      true,  1024, 768, 146,  96},
    };
    // clang-format on
    int snappedCases = 0;
    for (const auto& c : cases) {
        if (!test_platform::UseLanguage(c.language)) continue;
        if (c.snapToGrid && !test_platform::UseWorkArea(c.workWidth, c.workHeight)) continue;
        SCOPED_TRACE(testing::Message() << c.language << " " << c.level->label
                                        << (c.snapToGrid ? ", snap-to-grid " : "") << c.workWidth << " x "
                                        << c.workHeight);
        snappedCases += c.snapToGrid;
        HWND view = test_platform::DesktopIconView(c.snapToGrid ? LVS_EX_SNAPTOGRID : 0);
        ASSERT_NE(nullptr, view);

        EXPECT_TRUE(ApplyDesktopIconMetrics(kValueNameRow, c.level->sizeRow, kBaseSizeRow, c.level->horizontalRow,
                                            c.level->verticalRow, IDS_XP_CLASSIC_LARGE_ICON_FONT));

        const LRESULT spacing = SendMessageA(view, LVM_GETITEMSPACING, FALSE, 0);
        EXPECT_EQ(c.cx, LOWORD(spacing));
        EXPECT_EQ(c.cy, HIWORD(spacing));
        std::string seen;
        EXPECT_TRUE(test_platform::IconsArrangedOnGrid(view, c.cx, c.cy, &seen)) << seen;
    }
    EXPECT_GT(snappedCases, 0) << "no snap-to-grid case has this system's work area";
}

}  // namespace
