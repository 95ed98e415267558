#include "net/HostPort.h"

HostPort ParseHostPort(const std::wstring& value, uint16_t defaultPort) {
    const size_t colon = value.rfind(L':');
    // "[::1]:443" keeps its brackets' colons; a bare IPv6 address has no port.
    const bool bracketed = !value.empty() && value[0] == L'[';
    if (colon == std::wstring::npos ||
        (bracketed && value.find(L']', colon) != std::wstring::npos) ||
        (!bracketed && value.find(L':') != colon))
        return {value, defaultPort};
    const std::wstring digits = value.substr(colon + 1);
    if (digits.empty() || digits.size() > 5)
        return {value.substr(0, colon), defaultPort};
    uint32_t port = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9')
            return {value.substr(0, colon), defaultPort};
        port = port * 10 + static_cast<uint32_t>(c - L'0');
    }
    if (port == 0 || port > 65535)
        return {value.substr(0, colon), defaultPort};
    return {value.substr(0, colon), static_cast<uint16_t>(port)};
}
