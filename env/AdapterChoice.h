#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// An adapter's hardware address as upper-case hex, two digits per byte in the
// given order, no separators; only the first 8 bytes count (the most an
// adapter record holds). A null pointer gives an empty text.
std::wstring AdapterAddressText(const uint8_t* bytes, size_t length);

// The address text of the adapter that identifies this computer, from the
// adapters' addresses in the order the platform lists them: the greatest
// text of at most 12 characters (six bytes or fewer, empty ones included),
// else the least longer one, else empty. The choice does not depend on the
// order of the list.
std::wstring
ChooseAdapterAddress(const std::vector<std::vector<uint8_t>>& addressesInPlatformOrder);
