// The window's look: dialog font, artwork, texts, colours, the fixed pixel
// layout and the white lower panel.
#include "ui/InstallerDlg_win.h"

#include "net/ServiceEndpoints.h"
#include "platform/PngResource_win.h"
#include "res/resource.h"
#include "ui/LayoutRules.h"

#include <commctrl.h>

namespace {

const COLORREF kPanelColour = RGB(255, 255, 255);
const COLORREF kBarColour = RGB(29, 130, 255);
const COLORREF kBarBackground = RGB(230, 230, 230);

BOOL CALLBACK SetFontOnChild(HWND hChild, LPARAM font) {
    ::SendMessageW(hChild, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}

SIZE MeasureText(HDC hdc, const std::wstring& text) {
    SIZE size = {};
    ::GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

void Place(HWND hControl, const PixelRect& rect) {
    ::SetWindowPos(hControl, nullptr, rect.x, rect.y, rect.width, rect.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

// The link markup with its "%s" replaced by the quoted help address.
std::wstring HelpLinkMarkup(const std::wstring& markup) {
    std::wstring text = markup;
    const size_t placeholder = text.find(L"%s");
    if (placeholder != std::wstring::npos)
        text.replace(placeholder, 2, L"\"" + HelpPageUrl() + L"\"");
    return text;
}

} // namespace

// The menu font of the system, at most 13 pixels high, in the screen's
// character set, for the window and every control in it.
void CKSInstallerDlg::InitDialogFont() {
    HDC hScreen = ::GetWindowDC(nullptr);
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = 504; // the form with the padded-border width
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    LOGFONTW font = {};
    font.lfHeight = DialogFontHeight(metrics.lfMenuFont.lfHeight);
    font.lfWeight = metrics.lfMenuFont.lfWeight;
    font.lfItalic = metrics.lfMenuFont.lfItalic;
    ::lstrcpynW(font.lfFaceName, metrics.lfMenuFont.lfFaceName, LF_FACESIZE);
    font.lfCharSet = static_cast<BYTE>(::GetTextCharsetInfo(hScreen, nullptr, 0));
    m_fontDialog.Reset(::CreateFontIndirectW(&font));
    const LPARAM hFont = reinterpret_cast<LPARAM>(m_fontDialog.Get());
    ::SendMessageW(GetSafeHwnd(), WM_SETFONT, static_cast<WPARAM>(hFont), TRUE);
    ::EnumChildWindows(GetSafeHwnd(), &SetFontOnChild, hFont);
    ::ReleaseDC(nullptr, hScreen);
}

void CKSInstallerDlg::InitControls() {
    // The picture control keeps the banner for the rest of the process. In a
    // right-to-left window it would draw the banner mirrored, its lettering
    // backwards: the picture keeps its place but not the mirroring.
    HWND hPicture = Control(IDC_PICTURE);
    ::SetWindowLongW(hPicture, GWL_EXSTYLE,
                     ::GetWindowLongW(hPicture, GWL_EXSTYLE) & ~WS_EX_LAYOUTRTL);
    HBITMAP hBanner = platform::LoadPngResourceBitmap(::GetModuleHandleW(nullptr), IDB_BANNER);
    ::SendMessageW(hPicture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBanner));
    m_brWhite.Reset(::CreateSolidBrush(kPanelColour));
    platform::SetControlText(Control(IDCANCEL), LoadText(IDS_CLOSE));
    platform::SetControlText(Control(IDRETRY), LoadText(IDS_RETRY));
    platform::SetControlText(Control(IDC_DESCRIPTION), LoadText(IDS_CHECK_CONNECTION));
    platform::SetControlText(Control(IDC_HELP_LINK), HelpLinkMarkup(LoadText(IDS_HELP_LINK)));
    HWND hProgress = Control(IDC_PROGRESS);
    ::SendMessageW(hProgress, PBM_SETBARCOLOR, 0, kBarColour);
    ::SendMessageW(hProgress, PBM_SETBKCOLOR, 0, kBarBackground);
    ::SendMessageW(hProgress, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
}

// Texts are measured in the window context's default font, as it comes.
void CKSInstallerDlg::LayoutControls() {
    HWND hWnd = GetSafeHwnd();
    HDC hdc = ::GetDC(hWnd);
    const WindowLayout layout = ComputeLayout(
        MeasureText(hdc, LoadText(IDS_CONNECTING)).cy, MeasureText(hdc, LoadText(IDS_HELP_LINK)).cx,
        MeasureText(hdc, LoadText(IDS_CLOSE)).cx, MeasureText(hdc, LoadText(IDS_RETRY)).cx);
    ::ReleaseDC(hWnd, hdc);

    ::SetWindowPos(hWnd, nullptr, 0, 0, layout.windowWidth, layout.windowHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Place(Control(IDC_PICTURE), layout.picture);
    Place(Control(IDC_PROGRESS), layout.progress);
    Place(Control(IDC_TITLE), layout.title);
    Place(Control(IDC_DESCRIPTION), layout.description);
    Place(Control(IDC_HELP_LINK), layout.helpLink);
    Place(Control(IDCANCEL), layout.close);
    Place(Control(IDRETRY), layout.retry);
}

void CKSInstallerDlg::OnPaint() {
    HWND hWnd = GetSafeHwnd();
    PAINTSTRUCT paint;
    HDC hdc = ::BeginPaint(hWnd, &paint);
    if (::IsIconic(hWnd)) {
        ::SendMessageW(hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
        RECT client;
        ::GetClientRect(hWnd, &client);
        const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(hdc, x, y, m_hIcon);
    } else {
        PaintBackground(hdc);
    }
    ::EndPaint(hWnd, &paint);
}

// Everything below the banner is white.
void CKSInstallerDlg::PaintBackground(HDC hdc) {
    HWND hWnd = GetSafeHwnd();
    RECT client;
    ::GetClientRect(hWnd, &client);
    RECT picture;
    ::GetWindowRect(Control(IDC_PICTURE), &picture);
    ::MapWindowPoints(nullptr, hWnd, reinterpret_cast<POINT*>(&picture), 2);
    client.top = picture.bottom + 1;
    ::SetBkMode(hdc, TRANSPARENT);
    ::FillRect(hdc, &client, m_brWhite.Get());
}

// The title, description, link and picture show the white panel through.
HBRUSH CKSInstallerDlg::OnCtlColor(HDC hdc, HWND hControl, UINT kind) {
    if (kind != CTLCOLOR_STATIC)
        return nullptr;
    switch (::GetDlgCtrlID(hControl)) {
    case IDC_TITLE:
    case IDC_DESCRIPTION:
    case IDC_HELP_LINK:
    case IDC_PICTURE:
        ::SetBkMode(hdc, TRANSPARENT);
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    default:
        return nullptr;
    }
}
