#include "env/OsName.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr uint8_t kWorkstation = 1;
constexpr uint8_t kDomainController = 2;
constexpr uint8_t kServer = 3;
constexpr uint16_t kHomeServer = 0x8000;

int r2Calls = 0;
bool r2Answer = false;

bool CountingR2() {
    ++r2Calls;
    return r2Answer;
}

OsVersionRecord Record(uint32_t major, uint32_t minor, uint8_t productType, uint16_t suite = 0) {
    OsVersionRecord record;
    record.major = major;
    record.minor = minor;
    record.productType = productType;
    record.suiteMask = suite;
    return record;
}

class OsName : public testing::Test {
protected:
    void SetUp() override {
        r2Calls = 0;
        r2Answer = false;
    }
    std::wstring Name(const OsVersionRecord& record) { return OsNameFor(record, &CountingR2); }
};

} // namespace

TEST_F(OsName, WorkstationAndServerNamesWithoutConsultingR2) {
    struct Row {
        uint32_t major, minor;
        uint8_t productType;
        const wchar_t* name;
    };
    const Row rows[] = {
        {5, 0, kWorkstation, L"Windows 2000/5.0"},
        {5, 0, kServer, L"Windows 2000/5.0"},
        {5, 1, kWorkstation, L"Windows XP/5.1"},
        {5, 2, kWorkstation, L"Windows XP Professional x64 Edition/5.2"},
        {6, 0, kWorkstation, L"Windows Vista/6.0"},
        {6, 0, kServer, L"Windows Server 2008/6.0"},
        {6, 1, kWorkstation, L"Windows 7/6.1"},
        {6, 1, kServer, L"Windows Server 2008 R2/6.1"},
        {6, 1, kDomainController, L"Windows Server 2008 R2/6.1"},
        {6, 2, kWorkstation, L"Windows 8/6.2"},
        {6, 2, kServer, L"Windows Server 2012/6.2"},
    };
    r2Answer = true;
    for (const Row& row : rows)
        EXPECT_EQ(Name(Record(row.major, row.minor, row.productType)), row.name)
            << row.major << "." << row.minor << " type " << int(row.productType);
    EXPECT_EQ(r2Calls, 0);
}

TEST_F(OsName, WorkstationTestComesBeforeTheHomeServerBit) {
    EXPECT_EQ(Name(Record(5, 2, kWorkstation, kHomeServer)),
              L"Windows XP Professional x64 Edition/5.2");
    EXPECT_EQ(r2Calls, 0);
}

TEST_F(OsName, HomeServerBitWinsWithoutAskingR2) {
    r2Answer = true;
    EXPECT_EQ(Name(Record(5, 2, kServer, kHomeServer | 0x0010)), L"Windows Home Server/5.2");
    EXPECT_EQ(r2Calls, 0);
}

TEST_F(OsName, Server2003AsksR2ExactlyOnce) {
    r2Answer = true;
    EXPECT_EQ(Name(Record(5, 2, kServer)), L"Windows Server 2003 R2/5.2");
    EXPECT_EQ(r2Calls, 1);

    r2Answer = false;
    EXPECT_EQ(Name(Record(5, 2, kDomainController)), L"Windows Server 2003/5.2");
    EXPECT_EQ(r2Calls, 2);
}

TEST_F(OsName, VersionsOutsideTheTableAreEmpty) {
    const uint32_t pairs[][2] = {{0, 0}, {4, 0}, {5, 3}, {6, 3}, {6, 4}, {7, 0}, {10, 0}};
    r2Answer = true;
    for (const auto& pair : pairs) {
        EXPECT_EQ(Name(Record(pair[0], pair[1], kWorkstation)), L"") << pair[0] << "." << pair[1];
        EXPECT_EQ(Name(Record(pair[0], pair[1], kServer, kHomeServer)), L"")
            << pair[0] << "." << pair[1];
    }
    EXPECT_EQ(r2Calls, 0);
}
