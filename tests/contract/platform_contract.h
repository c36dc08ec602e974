// What the core relies on in the files and the registry, as checks that run
// against any provider: natively against the simulated Windows, and under Wine
// against the real Win32 adapters. So the simulated Windows is held to what
// Windows does.
#pragma once
#include <functional>
#include <string>
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/window_system.h"

// dir: an empty scratch directory; makeDirectory creates a directory by path;
// setLastWrite gives a file a modification time in seconds since 1970 (UTC), as
// the host's file system keeps it.
void CheckFileContract(FileSystem& files, const std::string& dir,
                       const std::function<void(const std::string&)>& makeDirectory,
                       const std::function<void(const std::string&, long long)>& setLastWrite);
// keyPath: a key below HKEY_LOCAL_MACHINE that does not exist yet.
void CheckRegistryContract(Registry& registry, const std::string& keyPath);
// window: holds an edit control with the id editId; type puts a text into it.
void CheckItemNumberContract(WindowSystem& windows, HWND window, int editId,
                             const std::function<void(const std::string&)>& type);
