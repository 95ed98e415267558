#include "bench/FileCheck_win.h"

#include "platform/UniqueHandle_win.h"

#include <gtest/gtest.h>

namespace {

const char kAbcSha256[] = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

class FileCheck : public ::testing::Test {
protected:
    void SetUp() override {
        WCHAR temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        path = std::wstring(temp) + L"kestrix-bench-check-" +
               std::to_wstring(::GetCurrentProcessId()) + L".bin";
    }
    void TearDown() override { ::DeleteFileW(path.c_str()); }

    void Write(const std::string& bytes) {
        platform::UniqueFileHandle file(
            ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                &written, nullptr));
    }

    std::wstring path;
};

} // namespace

TEST_F(FileCheck, TheRightBytesPass) {
    Write("abc");
    EXPECT_EQ(CheckDownloadedFile(path, 3, kAbcSha256), "");
    EXPECT_EQ(CheckDownloadedFile(path, 3, ""), "") << "size only";
}

// Any of these would let a broken download look fast.
TEST_F(FileCheck, AMissingShortOrAlteredFileFails) {
    EXPECT_EQ(CheckDownloadedFile(path, 3, kAbcSha256), "no file");
    Write("ab");
    EXPECT_EQ(CheckDownloadedFile(path, 3, kAbcSha256), "size 2 instead of 3");
    Write("abd");
    EXPECT_EQ(CheckDownloadedFile(path, 3, kAbcSha256), "SHA-256 differs");
}
