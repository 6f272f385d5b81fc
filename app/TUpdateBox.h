#pragma once

#include <QGroupBox>

#include <functional>

class QCheckBox;
class QPushButton;
class TAvrUpdate;
class TFpgaUpdate;

// "ZR5 Firmware and FPGA Update": the two update buttons and what the
// controller update restores afterwards.
class TUpdateBox : public QGroupBox
{
    Q_OBJECT

public:
    explicit TUpdateBox(QWidget* parent = nullptr);

    // Runs a handler so that a raised error ends only the handler.
    using Guard = std::function<bool(const std::function<void()>&)>;
    // The FPGA update behind "Update FPGA"; until given, the button does nothing.
    void SetFpgaUpdate(TFpgaUpdate* update, Guard guard);
    void UpdateFPGAClick();
    // The controller update behind "Update FW"; until given, the button does
    // nothing.
    void SetAvrUpdate(TAvrUpdate* update, Guard guard);
    void UpdateAVRClick();

    QPushButton* UpdateAVR() const { return m_updateAVR; }
    QPushButton* UpdateFPGA() const { return m_updateFPGA; }
    QCheckBox* CheckRestoreOrgan() const { return m_restoreOrgan; }
    QCheckBox* CheckRestoreMidi() const { return m_restoreMidi; }
    QCheckBox* CheckRestorePresets() const { return m_restorePresets; }

private:
    QPushButton* m_updateAVR;
    QPushButton* m_updateFPGA;
    QCheckBox* m_restoreOrgan;
    QCheckBox* m_restoreMidi;
    QCheckBox* m_restorePresets;
    TFpgaUpdate* m_fpgaUpdate = nullptr;
    Guard m_fpgaGuard;
    TAvrUpdate* m_avrUpdate = nullptr;
    Guard m_avrGuard;
};
