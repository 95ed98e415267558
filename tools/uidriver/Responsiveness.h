#pragma once
#include <windows.h>

#include <json/value.h>

// How quickly a window answers: a WM_NULL sent every `periodMs` until the
// window is hidden or gone, or `timeoutMs` has passed. Answers
// `roundTripsUs` (each round trip in microseconds, in order), `unanswered`
// (sends that got no answer within a second, counted in the round trips as a
// second) and `endedBy` ("hidden", "gone" or "timeout").
Json::Value MeasureResponses(HWND window, DWORD periodMs, DWORD timeoutMs);
