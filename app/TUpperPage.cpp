#include "TUpperPage.h"

#include "TControls.h"
#include "THint.h"
#include "TPresetControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSlider>

TUpperPage::TUpperPage(QWidget* parent) : QWidget(parent)
{
    setObjectName("TabSheet4");
    THint::Apply(this, "Saved to upper preset");

    auto* layout = new QGridLayout(this);
    QFont titleFont = font();
    titleFont.setBold(true);
    QLabel* title = TControls::Label(this, "LabelUpperPreset", "Upper Preset");
    title->setFont(titleFont);
    layout->addWidget(title, 0, 0);
    m_preset = TControls::List(this, "ComboBoxUpperPreset", TPresetControls::PresetNames(), 0,
                               "Select Preset to edit");
    layout->addWidget(m_preset, 0, 1);

    const QStringList names = TPresetControls::DrawbarNames();
    for (int n = 0; n < kDrawbars; ++n) {
        layout->addWidget(TControls::Label(this, QStringLiteral("LabelU%1").arg(n), names[n]),
                          n + 1, 0);
        QSlider* bar =
            TPresetControls::Drawbar(this, QStringLiteral("TrackBarU%1").arg(n),
                                     n == 0 ? "Edit parameter for Upper" : "Edit parameter");
        m_drawbars[static_cast<size_t>(n)] = bar;
        layout->addWidget(bar, n + 1, 1);
    }

    static const char* const switchCaptions[kSwitches] = {"Perc On", "Perc Soft", "Perc Fast",
                                                          "Perc 3rd", "Vib On Upper"};
    auto* switches = new QGridLayout;
    for (int n = 0; n < kSwitches; ++n) {
        QCheckBox* box =
            TControls::CheckBox(this, QStringLiteral("CheckBox%1").arg(n), switchCaptions[n],
                                n < 4 ? "Percussion, saved to Upper preset"
                                      : "Vibrato Upper ON/OFF, saved to Upper preset");
        m_switches[static_cast<size_t>(n)] = box;
        switches->addWidget(box, n / 3, n % 3);
    }
    layout->addLayout(switches, kDrawbars + 1, 0, 1, 2);

    layout->addWidget(TControls::Label(this, "LabelVibKnob", "Vibrato Knob"), kDrawbars + 2, 0);
    m_vibKnob = TControls::List(this, "ComboBoxVibKnob", {"V1", "C1", "V2", "C2", "V3", "C3"}, 0,
                                "Vibrato knob position, saved to Upper Preset");
    layout->addWidget(m_vibKnob, kDrawbars + 2, 1);

    layout->addWidget(TControls::Label(this, "LabelPercNote1", "Perc and Vib setting valid if"),
                      kDrawbars + 3, 0, 1, 2);
    layout->addWidget(
        TControls::Label(this, "LabelPercNote2", "\"Save Tabs To Presets\" (Param 485) enabled"),
        kDrawbars + 4, 0, 1, 2);
    layout->setRowStretch(kDrawbars + 5, 1);
    layout->setColumnStretch(1, 1);
}
