// Every OS service the core reaches, in one bundle that the program entry (with
// the Win32 adapters) or a test (with the simulated Windows) hands to the core.
#pragma once
#include "files.h"
#include "registry.h"
#include "resources.h"
#include "runtime.h"
#include "shell.h"
#include "sound.h"
#include "window_system.h"

struct Platform {
    Registry& registry;
    FileSystem& files;
    WindowSystem& windows;
    Shell& shell;
    Sound& sound;
    Resources& resources;
    Runtime& runtime;
};
