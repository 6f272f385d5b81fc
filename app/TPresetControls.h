#pragma once

#include <QString>
#include <QStringList>

class QSlider;
class QWidget;

// What the two preset tabs share: drawbar names, preset names and the slider
// a drawbar is shown with.
class TPresetControls
{
public:
    static QStringList DrawbarNames();
    // "Live 0", "Preset 1" ... "Preset 15".
    static QStringList PresetNames();
    static QSlider* Drawbar(QWidget* parent, const QString& name, const QString& hint);
};
