// Marks the simulated Windows at work. Windows never throws into a program, so
// a test that makes the program's allocations fail leaves the simulation's own
// bookkeeping alone while one of its calls runs.
#pragma once

inline int g_simSystemCalls = 0;  // how many calls of the simulated Windows are running

struct SimSystemCall {
    SimSystemCall() { ++g_simSystemCalls; }
    ~SimSystemCall() { --g_simSystemCalls; }
    SimSystemCall(const SimSystemCall&) = delete;
    SimSystemCall& operator=(const SimSystemCall&) = delete;
};
