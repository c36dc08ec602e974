// The runtime library's random generator and clock (rand, srand, time), the
// lead bytes of the ANSI code page (IsDBCSLeadByte), by which text is walked, and
// the monotonic clock that measures slices of milliseconds.
#pragma once
#include <cstdint>
#include "platform/win_types.h"

class Runtime {
public:
    virtual ~Runtime() = default;
    virtual int Rand() = 0;
    virtual void Srand(unsigned int seed) = 0;
    virtual int64_t Time() = 0;
    // Whether the byte begins a two-byte character in the player's ANSI code page.
    virtual BOOL IsLeadByte(BYTE byte) = 0;
    // QueryPerformanceCounter and QueryPerformanceFrequency: the clock's count, and
    // its counts a second (0 where there is no such clock).
    virtual int64_t Counter() = 0;
    virtual int64_t CounterFrequency() = 0;
};
