#pragma once
#include "bench/DownloadOutcome.h"

// The reference: the least a WinINet download in 4096-byte reads does. Opens
// the URL (reloading, as the product does), reads it with InternetReadFileExW
// into the file at the path and closes everything. Like the product's, it
// runs on a thread of its own while the calling thread waits, so that both
// processes have the same threads and the same waiting.
DownloadOutcome RunBareDownload(const std::wstring& url, const std::wstring& path,
                                const WhileWaiting& waiting);
