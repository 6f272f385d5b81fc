#include "TAdvancedPage.h"

#include "TControls.h"
#include "TDataFlashUploads.h"
#include "TDspUpdate.h"
#include "THint.h"
#include "TMaintenance.h"
#include "TScanCoreNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

TAdvancedPage::TAdvancedPage(QWidget* parent) : QWidget(parent)
{
    setObjectName("TabSheet6");
    THint::Apply(this, "Advanced functions for factory production, technicians and OEMs");

    auto* layout = new QGridLayout(this);
    int row = 0;
    QFont warningFont = font();
    warningFont.setBold(true);
    for (const char* line : {"For development purposes, OEM and", "advanced users only!"}) {
        QLabel* heading = TControls::Label(this, QStringLiteral("LabelAdvanced%1").arg(row), line);
        heading->setFont(warningFont);
        layout->addWidget(heading, row++, 0, 1, 3);
    }

    m_btnRefresh = TControls::Button(this, "BtnRefresh", "Refresh ZR5 Info",
                                     "Get ZR5 board information and display label info");
    m_checkVerbose = TControls::CheckBox(this, "CheckVerbose", "Debug/Verbose Messages",
                                         "Enable ZR5 serial message output for debugging ");
    layout->addWidget(m_btnRefresh, row, 0);
    layout->addWidget(m_checkVerbose, row++, 1, 1, 2);

    m_btnScanCore = TControls::Button(
        this, "BtnScanCore", "Update ScanCore",
        "Upload a single Scan Core with .DAT file to selected ScanCore flash slot");
    m_comboScancore = TControls::List(this, "ComboBoxScancore", TScanCoreNames::All(), 1,
                                      "ScanCore to replace by upload");
    layout->addWidget(m_btnScanCore, row, 0);
    layout->addWidget(TControls::Label(this, "LabelScanCore", "Upload to ScanCore flash slot"), row,
                      1);
    layout->addWidget(m_comboScancore, row++, 2);

    m_btnDSP =
        TControls::Button(this, "BtnDSP", "Update DSP", "Upload Reverb DSP core with  .BIN file");
    layout->addWidget(m_btnDSP, row, 0);
    layout->addWidget(TControls::Label(this, "LabelDSP", "Upload to Reverb DSP flash"), row++, 1, 1,
                      2);

    layout->addWidget(
        TControls::Label(this, "LabelTaper", "Upload to TG tapering/LC filter flash:"), row++, 0, 1,
        3);
    static const char* const taperCaptions[4] = {"TG1 ('55)", "TG2 ('61)", "TG3 ('72)",
                                                 "TG4 (Recap)"};
    auto* tapers = new QHBoxLayout;
    for (int n = 1; n <= 4; ++n) {
        QPushButton* button =
            TControls::Button(this, QStringLiteral("BtnTaper%1").arg(n), taperCaptions[n - 1],
                              "Upload Tapering/LC Filter Tables");
        m_btnTaper[static_cast<size_t>(n - 1)] = button;
        tapers->addWidget(button);
    }
    layout->addLayout(tapers, row++, 0, 1, 3);

    m_btnFIR =
        TControls::Button(this, "BtnFIR", "Update Horn FIR", "Upload horn filter coefficients");
    layout->addWidget(m_btnFIR, row, 0);
    layout->addWidget(TControls::Label(this, "LabelFIR", "Upload to rotary horn FIR filter flash"),
                      row++, 1, 1, 2);

    m_btnSaveFactory = TControls::Button(this, "BtnSaveFactory", "Factory Save");
    layout->addWidget(m_btnSaveFactory, row, 0);
    layout->addWidget(
        TControls::Label(this, "LabelSaveFactory", "Save AVR EEPROM content to DataFlash"), row++,
        1, 1, 2);
    m_btnRestoreFactory = TControls::Button(this, "BtnRestoreFactory", "Factory Restore");
    layout->addWidget(m_btnRestoreFactory, row, 0);
    layout->addWidget(
        TControls::Label(this, "LabelRestoreFactory", "Restore AVR EEPROM content from DataFlash"),
        row++, 1, 1, 2);

    m_restFileInfoBtn = TControls::Button(this, "RestFileInfoBtn", "Reset File Info",
                                          "Set import file paths to default (app) location");
    layout->addWidget(m_restFileInfoBtn, row++, 0);
    layout->setRowStretch(row, 1);
    layout->setColumnStretch(2, 1);
}

void TAdvancedPage::SetUploads(TDataFlashUploads* uploads, TDspUpdate* dsp, Guard guard)
{
    const bool first = !m_uploadGuard;
    m_uploads = uploads;
    m_dsp = dsp;
    m_uploadGuard = std::move(guard);
    if (!first)
        return;
    connect(m_btnScanCore, &QPushButton::clicked, this, &TAdvancedPage::BtnScanCoreClick);
    connect(m_btnTaper[0], &QPushButton::clicked, this, &TAdvancedPage::BtnTaper1Click);
    connect(m_btnTaper[1], &QPushButton::clicked, this, &TAdvancedPage::BtnTaper2Click);
    connect(m_btnTaper[2], &QPushButton::clicked, this, &TAdvancedPage::BtnTaper3Click);
    connect(m_btnTaper[3], &QPushButton::clicked, this, &TAdvancedPage::BtnTaper4Click);
    connect(m_btnFIR, &QPushButton::clicked, this, &TAdvancedPage::BtnFIRClick);
    connect(m_btnDSP, &QPushButton::clicked, this, &TAdvancedPage::BtnDSPClick);
}

void TAdvancedPage::BtnScanCoreClick()
{
    if (m_uploads && m_uploadGuard)
        m_uploadGuard([this] { m_uploads->BtnScanCoreClick(m_comboScancore->currentIndex()); });
}

void TAdvancedPage::BtnTaper1Click()
{
    if (m_uploads && m_uploadGuard)
        m_uploadGuard([this] { m_uploads->BtnTaperClick(1); });
}

void TAdvancedPage::BtnTaper2Click()
{
    if (m_uploads && m_uploadGuard)
        m_uploadGuard([this] { m_uploads->BtnTaperClick(2); });
}

void TAdvancedPage::BtnTaper3Click()
{
    if (m_uploads && m_uploadGuard)
        m_uploadGuard([this] { m_uploads->BtnTaperClick(3); });
}

void TAdvancedPage::BtnTaper4Click()
{
    if (m_uploads && m_uploadGuard)
        m_uploadGuard([this] { m_uploads->BtnTaperClick(4); });
}

void TAdvancedPage::BtnFIRClick()
{
    if (m_uploads && m_uploadGuard)
        m_uploadGuard([this] { m_uploads->BtnFIRClick(); });
}

void TAdvancedPage::BtnDSPClick()
{
    if (m_dsp && m_uploadGuard)
        m_uploadGuard([this] { m_dsp->BtnDSPClick(); });
}

void TAdvancedPage::SetMaintenance(TMaintenance* maintenance, Guard guard)
{
    const bool first = !m_maintenanceGuard;
    m_maintenance = maintenance;
    m_maintenanceGuard = std::move(guard);
    if (!first)
        return;
    connect(m_btnSaveFactory, &QPushButton::clicked, this, &TAdvancedPage::BtnSaveFactoryClick);
    connect(m_btnRestoreFactory, &QPushButton::clicked, this,
            &TAdvancedPage::BtnRestoreFactoryClick);
}

void TAdvancedPage::BtnSaveFactoryClick()
{
    if (m_maintenance && m_maintenanceGuard)
        m_maintenanceGuard([this] { m_maintenance->BtnSaveFactoryClick(); });
}

void TAdvancedPage::BtnRestoreFactoryClick()
{
    if (m_maintenance && m_maintenanceGuard)
        m_maintenanceGuard([this] { m_maintenance->BtnRestoreFactoryClick(); });
}
