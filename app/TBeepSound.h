#pragma once

#include "SoundPlayer.h"

// The warning sound as the system's beep; no sound file ships with the program.
class TBeepSound : public SoundPlayer
{
public:
    void Play(const QString& name) override;
};
