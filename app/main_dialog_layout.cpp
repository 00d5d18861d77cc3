#include "app/main_dialog_layout.h"

namespace {

constexpr int kXpPictures[3] = {IDC_XP_PICTURE_1, IDC_XP_PICTURE_2, IDC_XP_PICTURE_3};
constexpr int kWin2000Pictures[3] = {IDC_W2K_PICTURE_1, IDC_W2K_PICTURE_2, IDC_W2K_PICTURE_3};

constexpr LONG kGap = 8;
constexpr LONG kButtonTop = 16;
constexpr LONG kButtonHeight = 80;
constexpr LONG kCaptionTop = 104;
constexpr LONG kCaptionHeight = 16;
constexpr LONG kPictureTop = 128;
// The window's frame and the margin right of the third column together.
constexpr LONG kWindowRightMargin = 14;

}  // namespace

const int* PictureControls(OsKind kind) {
    if (kind == kOsWindowsXp) return kXpPictures;
    if (kind == kOsWindows2000) return kWin2000Pictures;
    return nullptr;
}

ControlLayout LayOutControls(const PictureSize pictures[3], LONG closeWidth) {
    ControlLayout layout{};
    LONG left = kGap;
    for (int i = 0; i < 3; ++i) {
        Column& column = layout.columns[i];
        const PictureSize& picture = pictures[i];
        column.left = left;
        column.sizeButton = {left, kButtonTop, picture.width, kButtonHeight};
        column.caption = {left + kGap, kCaptionTop, picture.width - 2 * kGap, kCaptionHeight};
        column.picture = {left, kPictureTop, 0, 0};
        left += picture.width + kGap;
    }
    const Column& third = layout.columns[2];
    const LONG thirdRight = third.left + pictures[2].width;
    layout.close = {thirdRight - closeWidth, kPictureTop + pictures[2].height + kGap, 0, 0};
    layout.windowWidth = thirdRight + kWindowRightMargin;
    return layout;
}

WindowPlacement PlaceWindow(const RECT& workArea, LONG windowWidth, LONG closeBottom) {
    WindowPlacement placement;
    placement.width = windowWidth;
    placement.height = closeBottom + kGap;
    // Signed arithmetic throughout: C++ division truncates toward zero, as the placement requires.
    const LONG spareWidth = workArea.right - workArea.left - windowWidth;
    const LONG spareHeight = workArea.bottom - workArea.top - placement.height;
    placement.x = spareWidth / 2;
    placement.y = spareHeight / 4;
    if (placement.y < 1) placement.y = 1;
    return placement;
}

POINT CentredIconOrigin(LONG width, LONG height, LONG iconWidth, LONG iconHeight) {
    POINT origin;
    origin.x = (width - iconWidth + 1) / 2;
    origin.y = (height - iconHeight + 1) / 2;
    return origin;
}

LONG PointFontHeight(int tenthsOfPoint, int pixelsPerInch) {
    // 72 points to the inch, 10 tenths to the point.
    return -(pixelsPerInch * tenthsOfPoint / 720);
}
