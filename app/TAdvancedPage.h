#pragma once

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QPushButton;

// Tab "Advanced": DataFlash uploads, factory defaults, verbose messages,
// board refresh and the reset of the file paths.
class TAdvancedPage : public QWidget
{
    Q_OBJECT

public:
    explicit TAdvancedPage(QWidget* parent = nullptr);

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
};
