// A whole simulated Windows for one test: every service, one shared log, and the
// Platform bundle that the core takes.
#pragma once
#include <set>
#include "platform/platform.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_services.h"
#include "platform/sim/sim_windows.h"

struct SimPlatform {
    explicit SimPlatform(const std::set<UINT>& waves) : resources(waves) {}

    SimLog log;
    SimRegistry registry;
    SimFiles files;
    SimWindows windows{log};
    SimShell shell{log};
    SimResources resources;
    SimSound sound{log, resources};
    SimRuntime runtime{log};
    Platform platform{registry, files, windows, shell, sound, resources, runtime};
};
