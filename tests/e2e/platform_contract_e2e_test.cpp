// The real Win32 adapters under Wine, held to the checks that the simulated
// Windows passes too (tests/contract).
#include <gtest/gtest.h>
#include <sys/utime.h>
#include <fstream>
#include "platform/win32/win32_platform.h"
#include "tests/contract/platform_contract.h"
#include "driver.h"

TEST(PlatformContract, Win32AdaptersUnderWine) {
    const std::string dir = "C:\\contract";
    RemoveTree(dir);
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((dir + "\\sub").c_str(), nullptr));
    const std::string library = dir + "\\corv2.dll";
    std::ofstream(library, std::ios::binary) << std::string(1556480, 'x');
    // Its time goes in as the host keeps it, seconds since 1970, through the C runtime.
    struct _utimbuf times = {1002054318, 1002054318};
    ASSERT_EQ(_utime(library.c_str(), &times), 0);
    Win32Files files;
    CheckFileContract(files, dir);
    RemoveTree(dir);

    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\ValkorContract");
    Win32Registry registry;
    CheckRegistryContract(registry, "Software\\ValkorContract\\Test");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\ValkorContract");
}
