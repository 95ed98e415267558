#include "env/TimeZone_win.h"

#include "platform/SystemLibrary_win.h"

#include <windows.h>

TimeZoneValues QueryTimeZone() {
    using GetDynamicTimeZoneInformationFn = DWORD(WINAPI*)(PDYNAMIC_TIME_ZONE_INFORMATION);
    TimeZoneValues values;
    const auto query =
        platform::KernelProc<GetDynamicTimeZoneInformationFn>("GetDynamicTimeZoneInformation");
    if (!query)
        return values;
    // The answer (daylight-saving state, or failure) is not examined: a failed
    // call leaves the zeroed record, which reads as UTC with no key name.
    DYNAMIC_TIME_ZONE_INFORMATION info = {};
    query(&info);
    values.available = true;
    values.tzos = TzosFromBias(info.Bias);
    const wchar_t* keyName = info.TimeZoneKeyName;
    values.tzid.assign(keyName, wcsnlen(keyName, ARRAYSIZE(info.TimeZoneKeyName)));
    return values;
}
