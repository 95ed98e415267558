#include "env/OsName.h"

namespace {

constexpr uint8_t kWorkstation = 1;           // VER_NT_WORKSTATION
constexpr uint16_t kHomeServerSuite = 0x8000; // VER_SUITE_WH_SERVER

std::wstring Name52(const OsVersionRecord& record, bool (*isServerR2)()) {
    if (record.productType == kWorkstation)
        return L"Windows XP Professional x64 Edition/5.2";
    if (record.suiteMask & kHomeServerSuite)
        return L"Windows Home Server/5.2";
    if (isServerR2())
        return L"Windows Server 2003 R2/5.2";
    return L"Windows Server 2003/5.2";
}

} // namespace

std::wstring OsNameFor(const OsVersionRecord& record, bool (*isServerR2)()) {
    const bool workstation = record.productType == kWorkstation;
    if (record.major == 5) {
        switch (record.minor) {
        case 0:
            return L"Windows 2000/5.0";
        case 1:
            return L"Windows XP/5.1";
        case 2:
            return Name52(record, isServerR2);
        default:
            return std::wstring();
        }
    }
    if (record.major == 6) {
        switch (record.minor) {
        case 0:
            return workstation ? L"Windows Vista/6.0" : L"Windows Server 2008/6.0";
        case 1:
            return workstation ? L"Windows 7/6.1" : L"Windows Server 2008 R2/6.1";
        case 2:
            return workstation ? L"Windows 8/6.2" : L"Windows Server 2012/6.2";
        default:
            return std::wstring();
        }
    }
    return std::wstring();
}
