// The simulated Windows held to the same checks as the real one (see
// tests/e2e/platform_contract_e2e_test.cpp).
#include <gtest/gtest.h>
#include "platform/sim/sim_platform.h"
#include "platform_contract.h"

TEST(PlatformContract, SimulatedWindowsBehavesAsWindows) {
    SimPlatform sim{{}};
    sim.files.AddVolume('C', DRIVE_FIXED);
    sim.files.AddDirectory("C:\\scratch\\sub");
    sim.files.AddFile("C:\\scratch\\corv2.dll", std::string(1556480, 'x'), FILETIME{0x59F1CB00, 0x01C14B80});
    CheckFileContract(sim.files, "C:\\scratch");
    CheckRegistryContract(sim.registry, "Software\\ValkorContract\\Test");
    EXPECT_EQ(sim.files.OpenHandles(), 0);
    EXPECT_EQ(sim.registry.OpenHandles(), 0);
}
