#include "TLowerPage.h"

#include "TControls.h"
#include "THint.h"
#include "TPresetControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSlider>

TLowerPage::TLowerPage(QWidget* parent) : QWidget(parent)
{
    setObjectName("TabSheet5");
    THint::Apply(this, "Saved to lower preset");

    auto* layout = new QGridLayout(this);
    QFont titleFont = font();
    titleFont.setBold(true);
    QLabel* title = TControls::Label(this, "LabelLowerPreset", "Lower/Pedal Preset");
    title->setFont(titleFont);
    layout->addWidget(title, 0, 0);
    m_preset = TControls::List(this, "ComboBoxLowerPreset", TPresetControls::PresetNames(), 0,
                               "Select Preset to edit");
    layout->addWidget(m_preset, 0, 1);

    int row = 1;
    const QStringList names = TPresetControls::DrawbarNames();
    for (int n = 0; n < kDrawbars; ++n, ++row) {
        layout->addWidget(TControls::Label(this, QStringLiteral("LabelL%1").arg(n), names[n]), row,
                          0);
        QSlider* bar = TPresetControls::Drawbar(this, QStringLiteral("TrackBarL%1").arg(n),
                                                "Edit parameter for Lower");
        m_drawbars[static_cast<size_t>(n)] = bar;
        layout->addWidget(bar, row, 1);
    }
    static const char* const pedalNames[kPedals] = {"Pedal Drawbar 16'", "Pedal Drawbar 5 1/3'",
                                                    "Pedal Drawbar 8'", "Pedal Sustain"};
    for (int n = 0; n < kPedals; ++n, ++row) {
        layout->addWidget(TControls::Label(this, QStringLiteral("LabelB%1").arg(n), pedalNames[n]),
                          row, 0);
        QSlider* bar = TPresetControls::Drawbar(this, QStringLiteral("TrackBarB%1").arg(n),
                                                "Edit parameter for pedal");
        m_pedals[static_cast<size_t>(n)] = bar;
        layout->addWidget(bar, row, 1);
    }

    m_vibLower = TControls::CheckBox(this, "CheckBox5", "Vib On Lower",
                                     "Vibrato Lower ON/OFF, saved to Lower preset");
    layout->addWidget(m_vibLower, row++, 0, 1, 2);
    layout->setRowStretch(row, 1);
    layout->setColumnStretch(1, 1);
}
