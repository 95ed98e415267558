#pragma once
#include <windows.h>

#include <wininet.h>

#include <optional>
#include <string>

// The text of one header of an answer (an HTTP_QUERY_* value) as WinINet
// gives it, up to 31 characters; nothing when the answer has no such header
// or its text is longer.
std::optional<std::wstring> QueryHeaderText(HINTERNET hRequest, DWORD query);
