// The real Win32 adapters under Wine, held to the checks that the simulated
// Windows passes too (tests/contract).
#include <gtest/gtest.h>
#include <sys/utime.h>
#include "platform/win32/win32_platform.h"
#include "tests/contract/platform_contract.h"
#include "driver.h"

// A file's time goes in as the host keeps it, seconds since 1970, through the C runtime.
TEST(PlatformContract, Win32FilesUnderWine) {
    const std::string dir = "C:\\e2e\\contract";
    CreateDirectoryA("C:\\e2e", nullptr);
    RemoveTree(dir);
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    Win32Files files;
    CheckFileContract(
        files, dir, [](const std::string& path) { CreateDirectoryA(path.c_str(), nullptr); },
        [](const std::string& path, long long unixSeconds) {
            struct _utimbuf times = {static_cast<time_t>(unixSeconds), static_cast<time_t>(unixSeconds)};
            ASSERT_EQ(_utime(path.c_str(), &times), 0);
        });
    RemoveTree(dir);
}

TEST(PlatformContract, Win32RegistryUnderWine) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\ValkorContract");
    Win32Registry registry;
    CheckRegistryContract(registry, "Software\\ValkorContract\\Test");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\ValkorContract");
}

TEST(PlatformContract, Win32NumberReadUnderWine) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 50, nullptr, nullptr, instance, nullptr);
    ASSERT_NE(window, nullptr) << GetLastError();
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 150, 20, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(1004)), instance, nullptr);
    ASSERT_NE(edit, nullptr);
    Win32Windows windows(instance);
    CheckItemNumberContract(windows, window, 1004, [&](const std::string& text) { SetWindowTextA(edit, text.c_str()); });
    DestroyWindow(window);
}
