#pragma once
#include <windows.h>

#include <json/value.h>

// What a user sees of a window and its controls, as protocol JSON: see
// PROTOCOL.md for the fields.
Json::Value DescribeWindow(HWND window);

// The handle as the protocol carries it.
Json::Value HandleValue(HWND window);
