#include "env/AdapterChoice.h"
#include "env/DeviceId.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Addresses = std::vector<std::vector<uint8_t>>;

const std::vector<uint8_t> kLow6 = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
const std::vector<uint8_t> kHigh6 = {0x00, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE};
const std::vector<uint8_t> kLow8 = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE0};
const std::vector<uint8_t> kHigh8 = {0x02, 0x00, 0x54, 0x55, 0x4E, 0x01, 0x00, 0x00};
const std::vector<uint8_t> kMid8 = {0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01};

} // namespace

TEST(AdapterAddressText, UpperCaseHexOfAtMostEightBytes) {
    const uint8_t bytes[] = {0x00, 0x15, 0x5d, 0x0a, 0x1b, 0x2c, 0xfe, 0x09, 0x77, 0x88};
    EXPECT_EQ(AdapterAddressText(bytes, 6), L"00155D0A1B2C");
    EXPECT_EQ(AdapterAddressText(bytes, 8), L"00155D0A1B2CFE09");
    EXPECT_EQ(AdapterAddressText(bytes, 10), L"00155D0A1B2CFE09");
    EXPECT_EQ(AdapterAddressText(bytes, 0), L"");
    EXPECT_EQ(AdapterAddressText(nullptr, 6), L"");
}

TEST(ChooseAdapterAddress, GreatestSixByteAddressWhateverTheOrder) {
    EXPECT_EQ(ChooseAdapterAddress({kLow6, kHigh6}), L"00AABBCCDDEE");
    EXPECT_EQ(ChooseAdapterAddress({kHigh6, kLow6}), L"00AABBCCDDEE");
}

TEST(ChooseAdapterAddress, SixByteAddressBeatsEightByteOnesListedFirst) {
    EXPECT_EQ(ChooseAdapterAddress({kLow8, kHigh8, kLow6}), L"001122334455");
}

TEST(ChooseAdapterAddress, LeastEightByteAddressWhenNoShortOne) {
    EXPECT_EQ(ChooseAdapterAddress({kHigh8, kMid8, kLow8}), L"00000000000000E0");
    EXPECT_EQ(ChooseAdapterAddress({kMid8, kLow8, kHigh8}), L"00000000000000E0");
    EXPECT_EQ(ChooseAdapterAddress({kHigh8}), L"020054554E010000");
}

TEST(ChooseAdapterAddress, SevenBytesCountAsLong) {
    const std::vector<uint8_t> seven = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01};
    EXPECT_EQ(ChooseAdapterAddress({seven, kHigh8}), L"00000000000001");
}

TEST(ChooseAdapterAddress, ShorterTextIsSmallerThanItsExtension) {
    const std::vector<uint8_t> four = {0x00, 0xAA, 0xBB, 0xCC};
    EXPECT_EQ(ChooseAdapterAddress({four, {0x00, 0xAA, 0xBB, 0xCC, 0x00}}), L"00AABBCC00");
    EXPECT_EQ(ChooseAdapterAddress({four, {0x00, 0xAA}}), L"00AABBCC");
}

TEST(ChooseAdapterAddress, AddresslessAdapterIsShortAndEmpty) {
    EXPECT_EQ(ChooseAdapterAddress({{}, kLow8}), L"");
    EXPECT_EQ(ChooseAdapterAddress({{}, kLow6, {}}), L"001122334455");
}

TEST(ChooseAdapterAddress, NoAdaptersGiveEmptyText) {
    EXPECT_EQ(ChooseAdapterAddress({}), L"");
}

TEST(DeviceIdFor, Md5OfTheAddressTextInLowerCaseHexThenSuffix) {
    EXPECT_EQ(DeviceIdFor(L"00155D0A1B2C"), L"bceb1c9e61e0e8c1776f905edfcabf7f#7");
    EXPECT_EQ(DeviceIdFor(L"00AABBCCDDEE"), L"c2424d96339e84fb978e70de1cd43e0a#7");
}

TEST(DeviceIdFor, EmptyTextHashesZeroBytes) {
    EXPECT_EQ(DeviceIdFor(L""), L"d41d8cd98f00b204e9800998ecf8427e#7");
}

TEST(DeviceIdFor, HashesTheUtf8Bytes) {
    EXPECT_EQ(DeviceIdFor(L"\u00E9"), L"66ddcd97cfdeabb2f6fb8a999b4bc76f#7");
    EXPECT_EQ(DeviceIdFor(L"\U0001F600"), L"2a02eac39d716a70ecf37579185927b6#7");
}
