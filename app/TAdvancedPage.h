#pragma once

#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QPushButton;
class TDataFlashUploads;
class TDspUpdate;
class TMaintenance;

// Tab "Advanced": DataFlash uploads, factory defaults, verbose messages,
// board refresh and the reset of the file paths.
class TAdvancedPage : public QWidget
{
    Q_OBJECT

public:
    explicit TAdvancedPage(QWidget* parent = nullptr);

    // Runs a handler so that a raised error ends only the handler.
    using Guard = std::function<bool(const std::function<void()>&)>;
    // The DataFlash and reverb uploads behind the buttons; until given, the
    // upload buttons do nothing.
    void SetUploads(TDataFlashUploads* uploads, TDspUpdate* dsp, Guard guard);
    void BtnScanCoreClick();
    void BtnTaper1Click();
    void BtnTaper2Click();
    void BtnTaper3Click();
    void BtnTaper4Click();
    void BtnFIRClick();
    void BtnDSPClick();
    // The factory defaults behind "Factory Save" and "Factory Restore";
    // until given, the two buttons do nothing.
    void SetMaintenance(TMaintenance* maintenance, Guard guard);
    void BtnSaveFactoryClick();
    void BtnRestoreFactoryClick();

    QPushButton* BtnScanCore() const { return m_btnScanCore; }
    QComboBox* ComboBoxScancore() const { return m_comboScancore; }
    // n from 1 to 4.
    QPushButton* BtnTaper(int n) const { return m_btnTaper[static_cast<size_t>(n - 1)]; }
    QPushButton* BtnFIR() const { return m_btnFIR; }
    QPushButton* BtnDSP() const { return m_btnDSP; }
    QPushButton* BtnSaveFactory() const { return m_btnSaveFactory; }
    QPushButton* BtnRestoreFactory() const { return m_btnRestoreFactory; }
    QCheckBox* CheckVerbose() const { return m_checkVerbose; }
    QPushButton* BtnRefresh() const { return m_btnRefresh; }
    QPushButton* RestFileInfoBtn() const { return m_restFileInfoBtn; }

private:
    QPushButton* m_btnScanCore = nullptr;
    QComboBox* m_comboScancore = nullptr;
    std::array<QPushButton*, 4> m_btnTaper{};
    QPushButton* m_btnFIR = nullptr;
    QPushButton* m_btnDSP = nullptr;
    QPushButton* m_btnSaveFactory = nullptr;
    QPushButton* m_btnRestoreFactory = nullptr;
    QCheckBox* m_checkVerbose = nullptr;
    QPushButton* m_btnRefresh = nullptr;
    QPushButton* m_restFileInfoBtn = nullptr;
    TDataFlashUploads* m_uploads = nullptr;
    TDspUpdate* m_dsp = nullptr;
    Guard m_uploadGuard;
    TMaintenance* m_maintenance = nullptr;
    Guard m_maintenanceGuard;
};
