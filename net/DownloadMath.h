#pragma once
#include <cstdint>
#include <string>

// Announced length from a Content-Length text: decimal digits after optional
// blanks, up to the first other character; no digits gives 0 (as for a
// missing header). Values beyond 64 bits saturate.
uint64_t ParseContentLength(const std::wstring& text);

// HTTP status from the status text (decimal, 0 when none).
uint32_t ParseStatusCode(const std::wstring& text);

// The progress callback takes signed 32-bit counts. Up to 2 GiB they are the
// byte counts themselves; beyond, both are scaled down alike so that
// done * 100 / total still gives the right percentage.
struct ProgressCounts {
    int32_t done;
    int32_t total;
};
ProgressCounts ScaleProgress(uint64_t done, uint64_t total);

// Only http and https package URLs are opened.
bool IsHttpOrHttpsUrl(const std::wstring& url);
