#pragma once
#include <cstdint>
#include <string>

// The fields of the system's extended version record that name the OS.
struct OsVersionRecord {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint8_t productType = 0; // 1 workstation, 2 domain controller, 3 server
    uint16_t suiteMask = 0;
};

// The OS token of the User-Agent, e.g. "Windows 7/6.1"; empty for versions the
// installer does not know. isServerR2 (the SM_SERVERR2 metric) is asked only
// for a 5.2 server without the home-server suite, so it may be expensive or
// absent elsewhere; it must not be null.
std::wstring OsNameFor(const OsVersionRecord& record, bool (*isServerR2)());
