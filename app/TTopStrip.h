#pragma once

#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class TConnection;

// The strip above both halves: the connect/close buttons with the device
// name on the left, the six live switches over the right half.
class TTopStrip : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kFirstSwitch = 6; // CheckBox6 ... CheckBox11

    // Runs a handler so that a raised error ends only the handler.
    using Guard = std::function<bool(const std::function<void()>&)>;

    explicit TTopStrip(QWidget* parent = nullptr);

    // The flows behind the two buttons; until given, the buttons do nothing.
    void SetConnection(TConnection* connection, Guard guard);
    // The connect flow ("Device") and the disconnect ("Close").
    void BtnRescanClick();
    void BtnCloseClick();

    QPushButton* BtnRescan() const { return m_btnRescan; }
    QPushButton* BtnClose() const { return m_btnClose; }
    QLineEdit* DeviceView() const { return m_deviceView; }
    // n from 6 to 11.
    QCheckBox* CheckBox(int n) const { return m_switches[static_cast<size_t>(n - kFirstSwitch)]; }

private:
    QPushButton* m_btnRescan = nullptr;
    QPushButton* m_btnClose = nullptr;
    QLineEdit* m_deviceView = nullptr;
    std::array<QCheckBox*, 6> m_switches{};
    TConnection* m_connection = nullptr;
    Guard m_guard;
};
