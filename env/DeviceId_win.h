#pragma once
// winsock2.h must come before windows.h, which would bring the old winsock.h.
#include <winsock2.h>

#include <windows.h>

#include <iphlpapi.h>

#include <string>

// The adapter list source, GetAdaptersInfo's shape; tests pass their own.
using AdaptersInfoSource = ULONG(WINAPI*)(PIP_ADAPTER_INFO adapterInfo, PULONG sizePointer);

// The address text of the adapter chosen from the list that source gives:
// one size query, then one call with a buffer of exactly that size. Any
// other answer, a list that grew in between included, gives an empty text.
std::wstring GetMacAddressFrom(AdaptersInfoSource source);

// GetMacAddressFrom(GetAdaptersInfo), e.g. "00155D0A1B2C"; empty without an
// IPv4 adapter.
std::wstring GetMacAddress();

// This computer's identifier for the usage log: DeviceIdFor(GetMacAddress()).
std::wstring GetDeviceId();

// The first IPv4 address the local host name resolves to, e.g.
// "192.168.0.10"; empty when the socket library, the host name or its
// resolution fails.
std::wstring GetLocalIP();
