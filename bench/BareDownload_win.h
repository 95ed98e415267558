#pragma once
#include "bench/DownloadOutcome.h"

// The reference: the least a WinINet download in 4096-byte reads does. Opens
// the URL (reloading, as the product does), reads it with InternetReadFileExW
// into the file at the path and closes everything, on the calling thread.
DownloadOutcome RunBareDownload(const std::wstring& url, const std::wstring& path);
