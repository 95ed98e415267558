#pragma once
// What the download reads from an HTTP answer's header texts and from a URL.
#include <cstdint>
#include <string>

// Announced length from a Content-Length text: decimal digits after optional
// blanks, up to the first other character; no digits gives 0 (as for a
// missing header). Values beyond 64 bits saturate.
uint64_t ParseContentLength(const std::wstring& text);

// HTTP status from the status text (decimal, 0 when none).
uint32_t ParseStatusCode(const std::wstring& text);

// Only http and https package URLs are opened.
bool IsHttpOrHttpsUrl(const std::wstring& url);
