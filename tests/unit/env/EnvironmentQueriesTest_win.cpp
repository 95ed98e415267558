#include "env/DeviceId_win.h"
#include "env/TimeZone_win.h"
#include "env/UserAgent_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A scripted GetAdaptersInfo: answers the size query with the list's size (or
// sizeAnswer when it is not ERROR_BUFFER_OVERFLOW), then copies the adapters
// into the caller's buffer, linked as the system links them.
struct FakeAdapters {
    std::vector<IP_ADAPTER_INFO> adapters;
    ULONG sizeAnswer = ERROR_BUFFER_OVERFLOW;
    ULONG growBy = 0; // adapter records added between the two calls
    int calls = 0;
    bool sizePointerMissing = false;
    bool bufferSizeExact = true;
};

FakeAdapters fake;

ULONG ListSize() {
    return static_cast<ULONG>(fake.adapters.size() * sizeof(IP_ADAPTER_INFO));
}

ULONG WINAPI FakeGetAdaptersInfo(PIP_ADAPTER_INFO buffer, PULONG size) {
    ++fake.calls;
    if (!size) {
        fake.sizePointerMissing = true;
        return ERROR_INVALID_PARAMETER;
    }
    if (!buffer) {
        if (fake.sizeAnswer != ERROR_BUFFER_OVERFLOW)
            return fake.sizeAnswer;
        *size = ListSize();
        return ERROR_BUFFER_OVERFLOW;
    }
    if (*size != ListSize())
        fake.bufferSizeExact = false;
    const ULONG needed = ListSize() + fake.growBy * static_cast<ULONG>(sizeof(IP_ADAPTER_INFO));
    if (*size < needed) {
        *size = needed;
        return ERROR_BUFFER_OVERFLOW;
    }
    for (size_t i = 0; i < fake.adapters.size(); ++i) {
        buffer[i] = fake.adapters[i];
        buffer[i].Next = i + 1 < fake.adapters.size() ? &buffer[i + 1] : nullptr;
    }
    return NO_ERROR;
}

IP_ADAPTER_INFO Adapter(std::vector<BYTE> address) {
    IP_ADAPTER_INFO adapter;
    std::memset(&adapter, 0, sizeof(adapter));
    adapter.AddressLength = static_cast<UINT>(address.size());
    std::memcpy(adapter.Address, address.data(), address.size());
    return adapter;
}

class AdapterListSource : public testing::Test {
protected:
    void SetUp() override { fake = FakeAdapters(); }
};

} // namespace

TEST_F(AdapterListSource, SizeQueryThenExactBufferThenChoice) {
    fake.adapters = {Adapter({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE0}),
                     Adapter({0x00, 0x11, 0x22, 0x33, 0x44, 0x55}),
                     Adapter({0x00, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE})};
    EXPECT_EQ(GetMacAddressFrom(&FakeGetAdaptersInfo), L"00AABBCCDDEE");
    EXPECT_EQ(fake.calls, 2);
    EXPECT_FALSE(fake.sizePointerMissing);
    EXPECT_TRUE(fake.bufferSizeExact);
}

TEST_F(AdapterListSource, OversizedAddressLengthReadsEightBytes) {
    IP_ADAPTER_INFO adapter = Adapter({1, 2, 3, 4, 5, 6, 7, 8});
    adapter.AddressLength = 200;
    fake.adapters = {adapter};
    EXPECT_EQ(GetMacAddressFrom(&FakeGetAdaptersInfo), L"0102030405060708");
}

TEST_F(AdapterListSource, NoAdapterOrErrorGivesEmptyTextAfterOneCall) {
    fake.sizeAnswer = ERROR_NO_DATA;
    EXPECT_EQ(GetMacAddressFrom(&FakeGetAdaptersInfo), L"");
    EXPECT_EQ(fake.calls, 1);

    fake.calls = 0;
    fake.sizeAnswer = ERROR_NOT_SUPPORTED;
    EXPECT_EQ(GetMacAddressFrom(&FakeGetAdaptersInfo), L"");
    EXPECT_EQ(fake.calls, 1);
}

TEST_F(AdapterListSource, ListThatGrewBetweenTheCallsGivesEmptyTextWithoutRetry) {
    fake.adapters = {Adapter({0x00, 0x11, 0x22, 0x33, 0x44, 0x55})};
    fake.growBy = 1;
    EXPECT_EQ(GetMacAddressFrom(&FakeGetAdaptersInfo), L"");
    EXPECT_EQ(fake.calls, 2);
}

TEST(EnvironmentQueries, UserAgentNamesWine7WithoutVersionBlock) {
    // Wine reports a Windows 7 workstation; the test program has no version block.
    const std::wstring prefix = L"Kestrix/5.0 (pc, Windows 7/6.1, ";
    const std::wstring suffix = L") KestrixDownloader/.PROD";
    const std::wstring userAgent = MakeUserAgent();
    ASSERT_GE(userAgent.size(), prefix.size() + suffix.size()) << userAgent;
    EXPECT_EQ(userAgent.substr(0, prefix.size()), prefix);
    EXPECT_EQ(userAgent.substr(userAgent.size() - suffix.size()), suffix);
    // Wine knows LOCALE_SNAME: a language-REGION name such as en-US.
    const std::wstring locale =
        userAgent.substr(prefix.size(), userAgent.size() - prefix.size() - suffix.size());
    EXPECT_NE(locale.find(L'-'), std::wstring::npos) << userAgent;
    EXPECT_EQ(GetOSName(), L"Windows 7/6.1");
    EXPECT_EQ(GetProductVersion(), L"");
}

TEST(EnvironmentQueries, DeviceIdIsThirtyFourCharactersEndingInSuffix) {
    const std::wstring id = GetDeviceId();
    ASSERT_EQ(id.size(), 34u) << id;
    EXPECT_EQ(id.substr(32), L"#7");
    EXPECT_EQ(id.find_first_not_of(L"0123456789abcdef"), 32u);
}

TEST(EnvironmentQueries, LocalAddressIsEmptyOrDottedDecimal) {
    const std::wstring ip = GetLocalIP();
    if (ip.empty())
        GTEST_SKIP() << "the host name does not resolve here";
    const std::string narrow(ip.begin(), ip.end());
    EXPECT_NE(inet_addr(narrow.c_str()), INADDR_NONE) << narrow;
    EXPECT_EQ(std::count(narrow.begin(), narrow.end(), '.'), 3) << narrow;
}

TEST(EnvironmentQueries, TimeZoneIsAvailableWithOffsetEastOfGreenwich) {
    TIME_ZONE_INFORMATION classic = {};
    GetTimeZoneInformation(&classic);
    const TimeZoneValues zone = QueryTimeZone();
    EXPECT_TRUE(zone.available);
    EXPECT_FALSE(zone.tzid.empty());
    EXPECT_EQ(zone.tzos, -60 * classic.Bias);
}
