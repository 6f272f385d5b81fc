#include "TPresetControls.h"

#include "THint.h"

#include <QSlider>

QStringList TPresetControls::DrawbarNames()
{
    return {"Drawbar 16'", "Drawbar 5 1/3'", "Drawbar 8'",     "Drawbar 4'", "Drawbar 2 2/3'",
            "Drawbar 2'",  "Drawbar 1 3/5'", "Drawbar 1 1/3'", "Drawbar 1'"};
}

QStringList TPresetControls::PresetNames()
{
    QStringList names{"Live 0"};
    for (int p = 1; p < 16; ++p)
        names << QStringLiteral("Preset %1").arg(p);
    return names;
}

QSlider* TPresetControls::Drawbar(QWidget* parent, const QString& name, const QString& hint)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(name);
    slider->setRange(0, 127);
    slider->setSingleStep(1);
    slider->setPageStep(8);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(16);
    THint::Apply(slider, hint);
    return slider;
}
