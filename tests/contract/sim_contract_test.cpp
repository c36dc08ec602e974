// The simulated Windows held to the same checks as the real one (see
// tests/e2e/platform_contract_e2e_test.cpp).
#include <gtest/gtest.h>
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_windows.h"
#include "platform/dialog.h"
#include "resources/resource_ids.h"
#include "platform_contract.h"

TEST(PlatformContract, SimulatedFilesBehaveAsWindowsFiles) {
    SimFiles files;
    files.AddVolume('C', DRIVE_FIXED);
    files.AddDirectory("C:\\scratch");
    CheckFileContract(
        files, "C:\\scratch", [&](const std::string& path) { files.AddDirectory(path); },
        [&](const std::string& path, long long unixSeconds) {
            const unsigned long long ticks = (static_cast<unsigned long long>(unixSeconds) + 11644473600ull) * 10000000ull;
            files.SetLastWrite(path, FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)});
        });
    EXPECT_EQ(files.OpenHandles(), 0);
}

TEST(PlatformContract, SimulatedRegistryBehavesAsTheWindowsRegistry) {
    SimRegistry registry;
    CheckRegistryContract(registry, "Software\\ValkorContract\\Test");
    EXPECT_EQ(registry.OpenHandles(), 0);
}

TEST(PlatformContract, SimulatedNumberReadBehavesAsGetDlgItemInt) {
    SimLog log;
    SimWindows windows(log);
    Dialog dialog(windows, IDD_VERSION, nullptr);
    windows.ExpectDialog(IDD_VERSION, [&](SimDialogView& view) {
        CheckItemNumberContract(windows, view.Handle(), IDC_VERSION,
                                [&](const std::string& text) { view.Type(IDC_VERSION, text); });
        view.Escape();
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}
