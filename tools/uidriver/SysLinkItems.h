#pragma once
#include <windows.h>

#include <json/value.h>

// The links of a SysLink control: [{"index", "id", "url", "enabled",
// "focused", "visited"}]. Throws DriverError.
Json::Value DescribeLinks(HWND sysLink);

// A point of the control's client area on the link with that index, where a
// user would click it; throws DriverError "no-link".
POINT PointOnLink(HWND sysLink, int index);
