#pragma once
#include <cstdint>

// Decisions of the installer window that need no window.

// Bar position for a progress report: done * 100 / total in double precision,
// truncated toward zero and kept within 0..100; 0 when total is 0 or less.
int ProgressPosition(int32_t done, int32_t total);

// Screen name of the close event: "Downloading" once the current attempt has
// reported progress, else "FailDownloading" while Retry is visible, else
// "ConnectInternet".
const wchar_t* CloseEventScreen(bool awaitingFirstProgress, bool retryVisible);
