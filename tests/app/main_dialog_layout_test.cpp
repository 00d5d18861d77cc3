// The main dialog's arithmetic for the four picture sets: column lefts, every control's rectangle, the
// "Close" button, the window's size and its place on the work area, the point fonts and the minimised icon.
#include "app/main_dialog_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct PictureSet {
    const char* label;
    PictureSize pictures[3];
    LONG lefts[3];
    LONG closeTop;
    LONG closeRight;
    LONG windowWidth;
};

// The bitmaps' pixel sizes of each set and what the layout makes of them.
const PictureSet kPictureSets[] = {
    {"English XP", {{261, 326}, {351, 378}, {351, 419}}, {8, 277, 636}, 555, 987, 1001},
    {"English 2000", {{245, 294}, {341, 361}, {337, 393}}, {8, 261, 610}, 529, 947, 961},
    {"German XP", {{263, 325}, {351, 370}, {351, 408}}, {8, 279, 638}, 544, 989, 1003},
    {"German 2000", {{246, 294}, {334, 362}, {339, 391}}, {8, 262, 604}, 527, 943, 957},
};

void ExpectPlacement(const Placement& expected, const Placement& actual, const std::string& what) {
    EXPECT_EQ(expected.left, actual.left) << what;
    EXPECT_EQ(expected.top, actual.top) << what;
    EXPECT_EQ(expected.width, actual.width) << what;
    EXPECT_EQ(expected.height, actual.height) << what;
}

TEST(MainDialogLayoutTest, EachPictureSetGivesItsColumnsCloseButtonAndWindowWidth) {
    const LONG closeWidth = 183;
    for (const PictureSet& set : kPictureSets) {
        SCOPED_TRACE(set.label);
        const ControlLayout layout = LayOutControls(set.pictures, closeWidth);
        for (int i = 0; i < 3; ++i) {
            const std::string column = "column " + std::to_string(i + 1);
            const LONG left = set.lefts[i];
            const LONG width = set.pictures[i].width;
            EXPECT_EQ(left, layout.columns[i].left) << column;
            ExpectPlacement({left, 16, width, 80}, layout.columns[i].sizeButton, column + " size button");
            ExpectPlacement({left + 8, 104, width - 16, 16}, layout.columns[i].caption, column + " caption");
            ExpectPlacement({left, 128, 0, 0}, layout.columns[i].picture, column + " picture");
        }
        ExpectPlacement({set.closeRight - closeWidth, set.closeTop, 0, 0}, layout.close, "Close");
        EXPECT_EQ(set.windowWidth, layout.windowWidth);
    }
}

TEST(MainDialogLayoutTest, CloseEndsAtTheThirdPictureWhateverItsOwnWidthAndOnlyTheThirdHeightPlacesIt) {
    const PictureSize tallFirst[3] = {{100, 900}, {100, 50}, {100, 60}};
    for (LONG closeWidth : {1, 75, 183, 400}) {
        const ControlLayout layout = LayOutControls(tallFirst, closeWidth);
        EXPECT_EQ(324 - closeWidth, layout.close.left) << closeWidth;  // 8 + 3 * 100 + 2 * 8
        EXPECT_EQ(60 + 136, layout.close.top) << closeWidth;
    }
}

TEST(MainDialogLayoutTest, TheWindowIsCentredAcrossAndAQuarterDownFromTheScreensOrigin) {
    const struct {
        const char* label;
        RECT workArea;
        LONG windowWidth;
        LONG closeBottom;
        WindowPlacement expected;
    } rows[] = {
        {"1280 x 1024, English XP", {0, 0, 1280, 1024}, 1001, 620, {139, 99, 1001, 628}},
        {"1024 x 738 with the task bar below", {0, 0, 1024, 738}, 957, 590, {33, 35, 957, 598}},
        {"work area H + 8 high", {0, 0, 1280, 636}, 1001, 620, {139, 2, 1001, 628}},
        {"work area H + 7 high", {0, 0, 1280, 635}, 1001, 620, {139, 1, 1001, 628}},
        {"work area H + 3 high", {0, 0, 1280, 631}, 1001, 620, {139, 1, 1001, 628}},
        {"work area lower than the window", {0, 0, 1280, 600}, 1001, 620, {139, 1, 1001, 628}},
        {"task bar on the left: x counts from the screen's edge", {30, 0, 1280, 1024}, 1001, 620, {124, 99, 1001, 628}},
        {"task bar on top: y counts from the screen's edge", {0, 30, 1280, 1024}, 1001, 620, {139, 91, 1001, 628}},
        {"work area 7 narrower than the window: toward zero", {0, 0, 994, 1024}, 1001, 620, {-3, 99, 1001, 628}},
        {"odd spare width", {0, 0, 1024, 768}, 1001, 620, {11, 35, 1001, 628}},
    };
    for (const auto& row : rows) {
        const WindowPlacement actual = PlaceWindow(row.workArea, row.windowWidth, row.closeBottom);
        EXPECT_EQ(row.expected.x, actual.x) << row.label;
        EXPECT_EQ(row.expected.y, actual.y) << row.label;
        EXPECT_EQ(row.expected.width, actual.width) << row.label;
        EXPECT_EQ(row.expected.height, actual.height) << row.label;
    }
}

TEST(MainDialogLayoutTest, OnlyWindows2000AndXpHavePictureSets) {
    const int* xp = PictureControls(kOsWindowsXp);
    const int* win2000 = PictureControls(kOsWindows2000);
    ASSERT_NE(nullptr, xp);
    ASSERT_NE(nullptr, win2000);
    EXPECT_EQ((std::vector<int>{1014, 1015, 1016}), std::vector<int>(xp, xp + 3));
    EXPECT_EQ((std::vector<int>{1020, 1021, 1022}), std::vector<int>(win2000, win2000 + 3));
    for (OsKind kind : {0, 1, 2, 3, 4, 5, 8}) EXPECT_EQ(nullptr, PictureControls(kind)) << kind;
}

TEST(MainDialogLayoutTest, PointFontsTruncateTowardTheSmallerCharacterHeight) {
    const struct {
        int tenths;
        int pixelsPerInch;
        LONG height;
    } rows[] = {
        {100, 96, -13},  {140, 96, -18},  {170, 96, -22},  {120, 96, -16},
        {100, 120, -16}, {140, 120, -23}, {170, 120, -28}, {120, 120, -20},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.height, PointFontHeight(row.tenths, row.pixelsPerInch))
            << row.tenths << " at " << row.pixelsPerInch;
}

TEST(MainDialogLayoutTest, TheMinimisedIconStandsCentredRoundingTowardZero) {
    const struct {
        LONG width, height, iconWidth, iconHeight;
        POINT origin;
    } rows[] = {
        {36, 36, 32, 32, {2, 2}},
        {37, 40, 32, 32, {3, 4}},
        {32, 31, 32, 32, {0, 0}},
        {28, 0, 32, 32, {-1, -15}},  // smaller than the icon: the offset truncates toward zero
    };
    for (const auto& row : rows) {
        const POINT origin = CentredIconOrigin(row.width, row.height, row.iconWidth, row.iconHeight);
        EXPECT_EQ(row.origin.x, origin.x) << row.width << " x " << row.height;
        EXPECT_EQ(row.origin.y, origin.y) << row.width << " x " << row.height;
    }
}

}  // namespace
