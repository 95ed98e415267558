#include "tools/uidriver/ProgressState.h"

#include "tools/uidriver/SendWithTimeout.h"

#include <commctrl.h>

Json::Value DescribeProgress(HWND progressBar) {
    Json::Value value(Json::objectValue);
    value["pos"] = static_cast<int>(SendWithTimeout(progressBar, PBM_GETPOS, 0, 0));
    value["low"] = static_cast<int>(SendWithTimeout(progressBar, PBM_GETRANGE, TRUE, 0));
    value["high"] = static_cast<int>(SendWithTimeout(progressBar, PBM_GETRANGE, FALSE, 0));
    value["marquee"] = (GetWindowLongW(progressBar, GWL_STYLE) & PBS_MARQUEE) != 0;
    value["state"] = static_cast<int>(SendWithTimeout(progressBar, PBM_GETSTATE, 0, 0));
    return value;
}
