#pragma once

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QSlider;

// Tab "Lower": one lower/pedal preset at a time with its drawbars, pedal
// drawbars and sustain, and the lower vibrato switch.
class TLowerPage : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kDrawbars = 9;
    static constexpr int kPedals = 4;

    explicit TLowerPage(QWidget* parent = nullptr);

    QSlider* TrackBarL(int n) const { return m_drawbars[static_cast<size_t>(n)]; }
    QSlider* TrackBarB(int n) const { return m_pedals[static_cast<size_t>(n)]; }
    QCheckBox* CheckBox5() const { return m_vibLower; }
    QComboBox* ComboBoxLowerPreset() const { return m_preset; }

private:
    std::array<QSlider*, kDrawbars> m_drawbars{};
    std::array<QSlider*, kPedals> m_pedals{};
    QCheckBox* m_vibLower = nullptr;
    QComboBox* m_preset = nullptr;
};
