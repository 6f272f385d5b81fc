#pragma once

#include <QString>

// The short warning sound of cable and jumper prompts ("ding.wav").
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void Play(const QString& name) = 0;
};
