#include "platform/SystemLibrary_win.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(towlower(c));
    return text;
}

TEST(SystemLibraryTest, LoadsFromTheSystemFolderByFullPath) {
    const HMODULE module = LoadSystemLibrary(L"wintrust.dll");
    ASSERT_NE(module, nullptr);
    wchar_t path[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameW(module, path, MAX_PATH), 0u);
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(::GetSystemDirectoryW(system, MAX_PATH), 0u);
    EXPECT_EQ(Lower(path), Lower(std::wstring(system) + L"\\wintrust.dll"));

    EXPECT_EQ(LoadSystemLibrary(L"no-such-library.dll"), nullptr);
}

TEST(SystemLibraryTest, LooksUpExportsAsTheirOwnType) {
    const auto tickCount = KernelProc<decltype(&::GetTickCount)>("GetTickCount");
    ASSERT_NE(tickCount, nullptr);
    EXPECT_GT(tickCount(), 0u);
    EXPECT_EQ(KernelProc<decltype(&::GetTickCount)>("NoSuchExport"), nullptr);
    EXPECT_EQ(SystemProc<decltype(&::GetTickCount)>(nullptr, "GetTickCount"), nullptr);
}

} // namespace
} // namespace platform
