#include "ui/LayoutRules.h"

namespace {
constexpr int kWidth = 700;
constexpr int kHeight = 486;
constexpr int kBannerHeight = 314;
constexpr int kTextLeft = 30;
constexpr int kTextWidth = 500;
constexpr int kTitleTop = 343;
constexpr int kButtonTop = 415;
constexpr int kButtonHeight = 30;
} // namespace

int CloseButtonWidth(int closeTextWidth) {
    return closeTextWidth < 80 ? 80 : closeTextWidth + 20;
}

long DialogFontHeight(long menuFontHeight) {
    if (menuFontHeight > 14)
        return 13;
    if (menuFontHeight < -14)
        return -13;
    return menuFontHeight;
}

WindowLayout ComputeLayout(int titleHeight, int helpLinkWidth, int closeWidth, int retryWidth) {
    const int closeButton = CloseButtonWidth(closeWidth);
    WindowLayout layout{};
    layout.windowWidth = kWidth;
    layout.windowHeight = kHeight;
    layout.picture = {0, 0, kWidth, kBannerHeight};
    layout.progress = {0, kBannerHeight, kWidth, 5};
    layout.title = {kTextLeft, kTitleTop, kTextWidth, titleHeight};
    layout.description = {kTextLeft, kTitleTop + titleHeight, kTextWidth, 2 * titleHeight};
    layout.helpLink = {kTextLeft, 427, helpLinkWidth, 18};
    layout.close = {(kWidth - closeButton) / 2, kButtonTop, closeButton, kButtonHeight};
    layout.retry = {660 - retryWidth, kButtonTop, retryWidth + 20, kButtonHeight};
    return layout;
}
