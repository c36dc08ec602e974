// The runtime library's random generator and clock (rand, srand, time).
#pragma once
#include <cstdint>

class Runtime {
public:
    virtual ~Runtime() = default;
    virtual int Rand() = 0;
    virtual void Srand(unsigned int seed) = 0;
    virtual int64_t Time() = 0;
};
