// SystemParametersInfoA as the writers rely on it: the metrics records are taken only with their size in
// the record, a failed GET leaves the record alone, what is set is what a later GET gives in any process,
// and the work area is filled. The same checks run against the simulated platform and under Wine.
#include "tests/support/test_platform.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

class SystemParametersApiTest : public testing::Test {
protected:
    void SetUp() override {
        test_platform::ResetScratch();
        saved_.emplace(std::vector<std::string>{"Control Panel\\Desktop\\WindowMetrics"});
    }
    void TearDown() override { saved_.reset(); }

    std::optional<test_platform::SavedUserSettings> saved_;
};

TEST_F(SystemParametersApiTest, AGetWithAWrongRecordSizeFailsAndLeavesTheRecordAlone) {
    NONCLIENTMETRICSA nonClient;
    std::memset(&nonClient, 0x5A, sizeof nonClient);
    nonClient.cbSize = 100;
    EXPECT_FALSE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof nonClient, &nonClient, 0));
    EXPECT_EQ(0x5A5A5A5A, nonClient.iBorderWidth);

    ICONMETRICSA icon;
    std::memset(&icon, 0x5A, sizeof icon);
    icon.cbSize = sizeof icon - 1;
    EXPECT_FALSE(SystemParametersInfoA(SPI_GETICONMETRICS, sizeof icon, &icon, 0));
    EXPECT_EQ(0x5A5A5A5A, icon.iHorzSpacing);

    nonClient.cbSize = sizeof nonClient;
    EXPECT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof nonClient, &nonClient, 0));
    EXPECT_EQ(340u, nonClient.cbSize);
    icon.cbSize = sizeof icon;
    EXPECT_TRUE(SystemParametersInfoA(SPI_GETICONMETRICS, sizeof icon, &icon, 0));
    EXPECT_EQ(76u, icon.cbSize);
}

TEST_F(SystemParametersApiTest, IconMetricsSetAreWhatAnyProcessGetsAfterwards) {
    ICONMETRICSA icon;
    icon.cbSize = sizeof icon;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETICONMETRICS, sizeof icon, &icon, 0));
    icon.iHorzSpacing = 130;
    icon.iVertSpacing = 91;
    icon.lfFont.lfHeight = -16;
    ASSERT_TRUE(SystemParametersInfoA(SPI_SETICONMETRICS, sizeof icon, &icon, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE));

    ICONMETRICSA here;
    here.cbSize = sizeof here;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETICONMETRICS, sizeof here, &here, 0));
    NONCLIENTMETRICSA nonClient;
    ICONMETRICSA elsewhere;
    ASSERT_TRUE(test_platform::MetricsSeenByAnotherProcess(&nonClient, &elsewhere));
    for (const ICONMETRICSA& seen : {here, elsewhere}) {
        EXPECT_EQ(130, seen.iHorzSpacing);
        EXPECT_EQ(91, seen.iVertSpacing);
        EXPECT_EQ(-16, seen.lfFont.lfHeight);
        EXPECT_STREQ(icon.lfFont.lfFaceName, seen.lfFont.lfFaceName);
    }
}

TEST_F(SystemParametersApiTest, TheWorkAreaIsFilledWithARectangleOfTheScreen) {
    RECT area = {-1, -1, -1, -1};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_GE(area.left, 0);
    EXPECT_GE(area.top, 0);
    EXPECT_GE(area.right - area.left, 1024);
    EXPECT_GE(area.bottom - area.top, 700);
}

}  // namespace
