#include "env/AdapterChoice.h"

#include <algorithm>

namespace {

constexpr size_t kMaxAddressBytes = 8;
constexpr size_t kMaxShortTextLength = 12;

} // namespace

std::wstring AdapterAddressText(const uint8_t* bytes, size_t length) {
    static const wchar_t kHexDigits[] = L"0123456789ABCDEF";
    std::wstring text;
    if (!bytes)
        return text;
    const size_t count = std::min(length, kMaxAddressBytes);
    for (size_t i = 0; i < count; ++i) {
        text += kHexDigits[bytes[i] >> 4];
        text += kHexDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::wstring
ChooseAdapterAddress(const std::vector<std::vector<uint8_t>>& addressesInPlatformOrder) {
    // The texts hold only digits and upper-case A to F, so plain text order is
    // the case-insensitive order, with a prefix before the longer text.
    bool haveShort = false;
    bool haveLong = false;
    std::wstring greatestShort;
    std::wstring leastLong;
    for (const std::vector<uint8_t>& address : addressesInPlatformOrder) {
        std::wstring text = AdapterAddressText(address.data(), address.size());
        if (text.size() <= kMaxShortTextLength) {
            if (!haveShort || greatestShort < text)
                greatestShort = std::move(text);
            haveShort = true;
        } else {
            if (!haveLong || text < leastLong)
                leastLong = std::move(text);
            haveLong = true;
        }
    }
    if (haveShort)
        return greatestShort;
    return haveLong ? leastLong : std::wstring();
}
