#pragma once
#include <windows.h>

#include <json/value.h>

// A progress bar's {"pos", "low", "high", "marquee", "state"}.
Json::Value DescribeProgress(HWND progressBar);
