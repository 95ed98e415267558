#include "ui/FlowRules.h"

int ProgressPosition(int32_t done, int32_t total) {
    if (total <= 0 || done <= 0)
        return 0;
    const double percent = static_cast<double>(done) * 100.0 / static_cast<double>(total);
    return percent >= 100.0 ? 100 : static_cast<int>(percent);
}

const wchar_t* CloseEventScreen(bool awaitingFirstProgress, bool retryVisible) {
    if (!awaitingFirstProgress)
        return L"Downloading";
    return retryVisible ? L"FailDownloading" : L"ConnectInternet";
}
