#include "net/HttpValues_win.h"

std::optional<std::wstring> QueryHeaderText(HINTERNET hRequest, DWORD query) {
    WCHAR text[32] = {};
    DWORD length = sizeof(text); // in bytes
    if (!::HttpQueryInfoW(hRequest, query, text, &length, nullptr))
        return std::nullopt;
    text[31] = L'\0';
    return std::wstring(text);
}
