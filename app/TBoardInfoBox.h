#pragma once

#include <QGroupBox>

class QComboBox;
class QLineEdit;

// "ZR5 Board Info": what the last identification read from the board.
class TBoardInfoBox : public QGroupBox
{
    Q_OBJECT

public:
    explicit TBoardInfoBox(QWidget* parent = nullptr);

    QLineEdit* EditUserName() const { return m_userName; }
    QLineEdit* EditSerialNumber() const { return m_serialNumber; }
    QLineEdit* FPGAversion() const { return m_fpgaVersion; }
    QLineEdit* EditFirmwareVersion() const { return m_firmwareVersion; }
    QComboBox* ComboBoxScanDetected() const { return m_scanDetected; }

private:
    QLineEdit* m_userName;
    QLineEdit* m_serialNumber;
    QLineEdit* m_fpgaVersion;
    QLineEdit* m_firmwareVersion;
    QComboBox* m_scanDetected;
};
