// The simulated Windows held to the same checks as the real one (see
// tests/e2e/platform_contract_e2e_test.cpp).
#include <gtest/gtest.h>
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_registry.h"
#include "platform_contract.h"

TEST(PlatformContract, SimulatedFilesBehaveAsWindowsFiles) {
    SimFiles files;
    files.AddVolume('C', DRIVE_FIXED);
    files.AddDirectory("C:\\scratch");
    CheckFileContract(files, "C:\\scratch", [&](const std::string& path) { files.AddDirectory(path); });
    EXPECT_EQ(files.OpenHandles(), 0);
}

TEST(PlatformContract, SimulatedRegistryBehavesAsTheWindowsRegistry) {
    SimRegistry registry;
    CheckRegistryContract(registry, "Software\\ValkorContract\\Test");
    EXPECT_EQ(registry.OpenHandles(), 0);
}
