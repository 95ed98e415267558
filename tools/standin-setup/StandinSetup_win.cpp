// The stand-in for the suite's setup program that the demo and the tests
// serve as the package. It records that it was started (a marker file beside
// itself, holding its path) and shows a small "Kestrix Office Setup" window
// for a few seconds, or until closed.
#include <windows.h>

#include <string>

namespace {

const UINT_PTR kCloseTimer = 1;
const UINT kShowMs = 4000;

void WriteMarker() {
    WCHAR path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring marker = std::wstring(path) + L".started";
    HANDLE file = ::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, path, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(length > 0 ? length - 1 : 0, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, path, -1, &utf8[0], length, nullptr, nullptr);
    DWORD written = 0;
    ::WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    ::CloseHandle(file);
}

LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC hdc = ::BeginPaint(hWnd, &paint);
        RECT client;
        ::GetClientRect(hWnd, &client);
        ::DrawTextW(hdc, L"Kestrix Office Setup would install the suite now.", -1, &client,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ::EndPaint(hWnd, &paint);
        return 0;
    }
    case WM_TIMER:
        ::DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, PWSTR, int nShow) {
    WriteMarker();
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = hInstance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"KestrixStandinSetup";
    ::RegisterClassW(&windowClass);
    HWND hWnd = ::CreateWindowW(L"KestrixStandinSetup", L"Kestrix Office Setup",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                                CW_USEDEFAULT, 480, 160, nullptr, nullptr, hInstance, nullptr);
    ::ShowWindow(hWnd, nShow);
    ::SetTimer(hWnd, kCloseTimer, kShowMs, nullptr);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
