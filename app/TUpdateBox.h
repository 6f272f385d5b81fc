#pragma once

#include <QGroupBox>

class QCheckBox;
class QPushButton;

// "ZR5 Firmware and FPGA Update": the two update buttons and what the
// controller update restores afterwards.
class TUpdateBox : public QGroupBox
{
    Q_OBJECT

public:
    explicit TUpdateBox(QWidget* parent = nullptr);

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
};
