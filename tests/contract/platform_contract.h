// What the core relies on in the files and the registry, as checks that run
// against any provider: natively against the simulated Windows, and under Wine
// against the real Win32 adapters. So the simulated Windows is held to what
// Windows does. (Both window systems read a typed number with one function of
// their own, UnsignedItemNumber, tested with the start-up checks.)
#pragma once
#include <string>
#include "platform/platform.h"

// dir: a scratch directory that holds only an empty directory "sub" and corv2.dll,
// 1556480 bytes 'x' last written at 2001-10-02 20:25:18 UTC, as the host's file
// system keeps the time; the checks read that file and rewrite it.
void CheckFileContract(FileSystem& files, const std::string& dir);
// keyPath: a key below HKEY_LOCAL_MACHINE that does not exist yet.
void CheckRegistryContract(Registry& registry, const std::string& keyPath);
