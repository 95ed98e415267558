#include "tools/uidriver/Responsiveness.h"

#include "tools/uidriver/Deadline.h"

namespace {

// A window that takes this long is frozen for the user; waiting longer would
// only delay the next look.
constexpr UINT kAnswerCapMs = 1000;

double Microseconds(LONGLONG ticks, LONGLONG frequency) {
    return static_cast<double>(ticks) * 1e6 / static_cast<double>(frequency);
}

} // namespace

Json::Value MeasureResponses(HWND window, DWORD periodMs, DWORD timeoutMs) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    Json::Value roundTrips(Json::arrayValue);
    int unanswered = 0;
    const char* endedBy = "timeout";
    const Deadline deadline(timeoutMs);
    while (!deadline.passed()) {
        if (!IsWindow(window)) {
            endedBy = "gone";
            break;
        }
        if (!IsWindowVisible(window)) {
            endedBy = "hidden";
            break;
        }
        LARGE_INTEGER before;
        LARGE_INTEGER after;
        DWORD_PTR result = 0;
        QueryPerformanceCounter(&before);
        // Not SMTO_ABORTIFHUNG: a window that has not looked at its messages
        // for a while is exactly what is being measured.
        const bool answered =
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerCapMs, &result) != 0;
        QueryPerformanceCounter(&after);
        if (!answered) {
            if (!IsWindow(window))
                continue;
            ++unanswered;
        }
        roundTrips.append(Microseconds(after.QuadPart - before.QuadPart, frequency.QuadPart));
        Sleep(periodMs);
    }
    Json::Value result(Json::objectValue);
    result["roundTripsUs"] = roundTrips;
    result["unanswered"] = unanswered;
    result["endedBy"] = endedBy;
    return result;
}
