// Makes the core's next allocations that may fail (new (std::nothrow)) fail, as
// they do when memory runs out.
#pragma once

extern int g_failingAllocations;  // how many of the next such allocations fail
