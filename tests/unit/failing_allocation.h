// Makes the program's allocations fail, as they do when memory runs out: one
// allocation throws std::bad_alloc, as a growing text's does, or returns nullptr
// if it may fail quietly (new (std::nothrow), the disk search's). The simulated
// Windows' own calls are left alone: Windows never throws.
#pragma once

// The allocation that brings this down to 0 fails once; 0 and below: none.
inline long g_allocationsBeforeFailure = 0;
