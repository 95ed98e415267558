#include "env/DeviceId_win.h"

#include "env/AdapterChoice.h"
#include "env/DeviceId.h"
#include "platform/WinsockSession_win.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

std::wstring GetMacAddressFrom(AdaptersInfoSource source) {
    ULONG size = 0;
    if (source(nullptr, &size) != ERROR_BUFFER_OVERFLOW)
        return std::wstring();
    // Zero-filled; operator new's alignment suits the adapter records.
    std::vector<uint8_t> buffer(size);
    auto* first = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
    if (size < sizeof(IP_ADAPTER_INFO) || source(first, &size) != NO_ERROR)
        return std::wstring();

    std::vector<std::vector<uint8_t>> addresses;
    for (const IP_ADAPTER_INFO* adapter = first; adapter; adapter = adapter->Next) {
        const UINT length = std::min<UINT>(adapter->AddressLength, MAX_ADAPTER_ADDRESS_LENGTH);
        addresses.emplace_back(adapter->Address, adapter->Address + length);
    }
    return ChooseAdapterAddress(addresses);
}

std::wstring GetMacAddress() {
    return GetMacAddressFrom(&GetAdaptersInfo);
}

std::wstring GetDeviceId() {
    return DeviceIdFor(GetMacAddress());
}

std::wstring GetLocalIP() {
    const platform::WinsockSession session(0x0002);
    if (!session.Started())
        return std::wstring();
    char hostName[256] = {};
    if (gethostname(hostName, 255) != 0)
        return std::wstring();
    const hostent* host = gethostbyname(hostName);
    if (!host || host->h_addrtype != AF_INET || !host->h_addr_list || !host->h_addr_list[0])
        return std::wstring();
    in_addr address;
    std::memcpy(&address, host->h_addr_list[0], sizeof(address));
    const char* text = inet_ntoa(address);
    if (!text)
        return std::wstring();
    return std::wstring(text, text + std::strlen(text));
}
