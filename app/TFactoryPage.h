#pragma once

#include <QWidget>

#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QScrollBar;
class TMaintenance;
class TProduction;
class TSpinButton;

// Tab "Factory": reload and reset commands, the parameter tester, production
// programming with the ISP programmer and the device last used.
class TFactoryPage : public QWidget
{
    Q_OBJECT

public:
    explicit TFactoryPage(QWidget* parent = nullptr);

    static QStringList FirmwareTypes();

    // Runs a handler so that a raised error ends only the handler.
    using Guard = std::function<bool(const std::function<void()>&)>;
    // The reload and reset buttons and the parameter tester; until given,
    // they do nothing.
    void SetMaintenance(TMaintenance* maintenance, Guard guard);
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void ScrollBarTestParamChange();
    void SpinButton1UpClick();
    void SpinButton1DownClick();

    // The production box's three buttons; until given, they do nothing.
    void SetProduction(TProduction* production, Guard guard);
    void ProdProgClick();
    void BtnAVRonlyClick();
    void BtnSetFuseBits();

    // n from 1 to 4.
    QPushButton* BitBtn(int n) const;
    QScrollBar* ScrollBarTestParam() const { return m_scrollTestParam; }
    QLineEdit* TestVal() const { return m_testVal; }
    QLineEdit* TestParam() const { return m_testParam; }
    TSpinButton* SpinButton1() const { return m_spinButton1; }
    QLineEdit* EditDiamex() const { return m_editDiamex; }
    QComboBox* dd_FirmwareType() const { return m_ddFirmwareType; }
    QPushButton* ProdProg() const { return m_prodProg; }
    QPushButton* BtnAVRonly() const { return m_btnAVRonly; }
    QPushButton* BtnSetFuses() const { return m_btnSetFuses; }
    QLineEdit* EditFTDIdevice() const { return m_editFTDIdevice; }
    QLineEdit* EditFTDIcom() const { return m_editFTDIcom; }

    // The production run and its firmware choice are usable exactly while
    // the ISP port reads as a number of 0 or more; runs on every text change.
    void EditDiamexChange();

private:
    QPushButton* m_bitBtn1 = nullptr;
    QPushButton* m_bitBtn2 = nullptr;
    QPushButton* m_bitBtn3 = nullptr;
    QPushButton* m_bitBtn4 = nullptr;
    QScrollBar* m_scrollTestParam = nullptr;
    QLineEdit* m_testVal = nullptr;
    QLineEdit* m_testParam = nullptr;
    TSpinButton* m_spinButton1 = nullptr;
    QLineEdit* m_editDiamex = nullptr;
    QComboBox* m_ddFirmwareType = nullptr;
    QPushButton* m_prodProg = nullptr;
    QPushButton* m_btnAVRonly = nullptr;
    QPushButton* m_btnSetFuses = nullptr;
    QLineEdit* m_editFTDIdevice = nullptr;
    QLineEdit* m_editFTDIcom = nullptr;
    TMaintenance* m_maintenance = nullptr;
    Guard m_maintenanceGuard;
    TProduction* m_production = nullptr;
    Guard m_productionGuard;
};
