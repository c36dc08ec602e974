// Sound output: sndPlaySoundA. A null sound with no flags stops what is playing.
#pragma once
#include "win_types.h"

class Sound {
public:
    virtual ~Sound() = default;
    virtual BOOL PlaySoundImage(const void* sound, UINT flags) = 0;
};
