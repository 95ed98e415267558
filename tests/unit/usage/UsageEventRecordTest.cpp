#include "usage/UsageEventRecord.h"

#include <gtest/gtest.h>

#include <string>

TEST(UsageEventRecord, CopyOwnsEveryTextAndKeepsAbsentOnesAbsent) {
    std::wstring screen = L"FailDownloading";
    std::wstring label = L"Retry";
    UsageEventRecord record;
    record.t = L"e";
    record.v = L"1.1";
    record.dp = L"InstallManager";
    record.dt = screen.c_str();
    record.ec = L"ux";
    record.ea = L"cl";
    record.el = label.c_str();
    record.timeMs = 1386561234567ull;

    UsageEventRecordCopy copy(CopyUsageEventRecord(&record));
    screen.assign(screen.size(), L'x');
    label.assign(label.size(), L'x');

    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy->dt, record.dt);
    EXPECT_EQ(std::wstring(copy->dt), L"FailDownloading");
    EXPECT_EQ(std::wstring(copy->el), L"Retry");
    EXPECT_EQ(std::wstring(copy->t), L"e");
    EXPECT_EQ(copy->cobj, nullptr);
    EXPECT_EQ(copy->timeMs, 1386561234567ull);
}

TEST(UsageEventRecord, FreeClearsTheCopyAndNullsAreIgnored) {
    UsageEventRecord record;
    record.t = L"p";
    record.cobj = L"{\"managerName\" : \"KestrixOfficeInstaller\" }";
    record.timeMs = 5;
    UsageEventRecord* copy = CopyUsageEventRecord(&record);
    FreeUsageEventRecord(copy);
    EXPECT_EQ(copy->t, nullptr);
    EXPECT_EQ(copy->cobj, nullptr);
    EXPECT_EQ(copy->timeMs, 0u);
    delete copy;

    EXPECT_EQ(CopyUsageEventRecord(nullptr), nullptr);
    FreeUsageEventRecord(nullptr);
}
