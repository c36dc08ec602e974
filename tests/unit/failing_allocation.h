// Makes the program's allocations fail, as they do when memory runs out: the
// next allocations that may fail quietly (new (std::nothrow), the disk search's),
// or one allocation that throws std::bad_alloc, as a growing text's does. The
// simulated Windows' own calls are left alone: Windows never throws.
#pragma once

extern int g_failingAllocations;  // how many of the next nothrow allocations fail
// The plain allocation that brings this down to 0 fails once; 0 and below: none.
extern long g_allocationsBeforeFailure;
