#pragma once

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QSlider;

// Tab "Upper": one upper preset at a time with its drawbars, vibrato knob
// and percussion/vibrato switches.
class TUpperPage : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kDrawbars = 9;
    static constexpr int kSwitches = 5; // CheckBox0 ... CheckBox4

    explicit TUpperPage(QWidget* parent = nullptr);

    QSlider* TrackBarU(int n) const { return m_drawbars[static_cast<size_t>(n)]; }
    QCheckBox* CheckBox(int n) const { return m_switches[static_cast<size_t>(n)]; }
    QComboBox* ComboBoxUpperPreset() const { return m_preset; }
    QComboBox* ComboBoxVibKnob() const { return m_vibKnob; }

private:
    std::array<QSlider*, kDrawbars> m_drawbars{};
    std::array<QCheckBox*, kSwitches> m_switches{};
    QComboBox* m_preset = nullptr;
    QComboBox* m_vibKnob = nullptr;
};
