// The real Win32 adapters under Wine, held to the checks that the simulated
// Windows passes too (tests/contract).
#include <gtest/gtest.h>
#include "platform/win32/win32_platform.h"
#include "tests/contract/platform_contract.h"
#include "driver.h"

TEST(PlatformContract, Win32FilesUnderWine) {
    const std::string dir = "C:\\e2e\\contract";
    CreateDirectoryA("C:\\e2e", nullptr);
    RemoveTree(dir);
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    Win32Files files;
    CheckFileContract(files, dir, [](const std::string& path) { CreateDirectoryA(path.c_str(), nullptr); });
    RemoveTree(dir);
}

TEST(PlatformContract, Win32RegistryUnderWine) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\ValkorContract");
    Win32Registry registry;
    CheckRegistryContract(registry, "Software\\ValkorContract\\Test");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\ValkorContract");
}
