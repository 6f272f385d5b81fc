#pragma once

#include "SoundPlayer.h"

#include <QStringList>

// Records the names of the sounds played.
class RecordingSound : public SoundPlayer
{
public:
    void Play(const QString& name) override { played.append(name); }

    QStringList played;
};
