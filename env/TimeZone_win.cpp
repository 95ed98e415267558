#include "env/TimeZone_win.h"

#include <windows.h>

TimeZoneValues QueryTimeZone() {
    using GetDynamicTimeZoneInformationFn = DWORD(WINAPI*)(PDYNAMIC_TIME_ZONE_INFORMATION);
    TimeZoneValues values;
    const HMODULE kernel = GetModuleHandleW(L"Kernel32");
    if (!kernel)
        return values;
    const auto query = reinterpret_cast<GetDynamicTimeZoneInformationFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "GetDynamicTimeZoneInformation")));
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
