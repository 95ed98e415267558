#pragma once

// The window's fixed pixel layout, from a few measured text sizes.

struct PixelRect {
    int x, y, width, height;
};

struct WindowLayout {
    int windowWidth, windowHeight;
    PixelRect picture, progress, title, description, helpLink, close, retry;
};

// titleHeight: height of IDS_CONNECTING; the widths: of IDS_HELP_LINK,
// IDS_CLOSE and IDS_RETRY, all measured in the window context's default font.
WindowLayout ComputeLayout(int titleHeight, int helpLinkWidth, int closeWidth, int retryWidth);

// Close button width: 80 below 80 pixels of text, else the text plus 20.
int CloseButtonWidth(int closeTextWidth);

// Dialog font height from the menu font's: magnitudes over 14 become 13.
long DialogFontHeight(long menuFontHeight);
