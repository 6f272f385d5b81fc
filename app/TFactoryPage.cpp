#include "TFactoryPage.h"

#include "TControls.h"
#include "TDecimal.h"
#include "THint.h"
#include "TMaintenance.h"
#include "TProduction.h"
#include "TSpinButton.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QVBoxLayout>

QStringList TFactoryPage::FirmwareTypes()
{
    return {"ZR5mk3_std_b.hex",
            "ZR5mk3_expander_b.hex",
            "ZR5mk3_dbexp_b.hex",
            "ZR5mk3_mag_b.hex",
            "ZR5mk3_uhl_b.hex",
            "ZR5mk3_xb2_b.hex",
            "------------------------------",
            "ZR5mk2_std_b.hex",
            "ZR5mk2_expander_b.hex"};
}

TFactoryPage::TFactoryPage(QWidget* parent) : QWidget(parent)
{
    setObjectName("TabSheet7");
    auto* layout = new QVBoxLayout(this);
    QFont headingFont = font();
    headingFont.setBold(true);
    QLabel* heading =
        TControls::Label(this, "LabelFactory", "Factory Test and Programming Routines");
    heading->setFont(headingFont);
    layout->addWidget(heading);

    auto* reloads = new QGridLayout;
    m_bitBtn4 = TControls::Button(this, "BitBtn4", "Reload Gen (9996)", "Send 9997 Query Command");
    m_bitBtn1 =
        TControls::Button(this, "BitBtn1", "Reload Cores (9997)", "Send 9997 Query Command");
    m_bitBtn2 = TControls::Button(this, "BitBtn2", "Reload FPGA (9998)", "Send 9998 Query Command");
    m_bitBtn3 =
        TControls::Button(this, "BitBtn3", "System Reset (9999)", "Send 9999 Query Command");
    reloads->addWidget(m_bitBtn4, 0, 0);
    reloads->addWidget(m_bitBtn1, 0, 1);
    reloads->addWidget(m_bitBtn2, 1, 0);
    reloads->addWidget(m_bitBtn3, 1, 1);
    layout->addLayout(reloads);

    auto* tester = new QGroupBox("Parameter Tester", this);
    tester->setObjectName("GroupParamTester");
    auto* testerLayout = new QGridLayout(tester);
    m_scrollTestParam = new QScrollBar(Qt::Horizontal, tester);
    m_scrollTestParam->setObjectName("ScrollBarTestParam");
    m_scrollTestParam->setRange(0, 255);
    m_scrollTestParam->setPageStep(10);
    m_testVal = TControls::Edit(tester, "TestVal", "0");
    m_testVal->setEnabled(false);
    m_testParam = TControls::Edit(tester, "TestParam", "0", "ZR5 Parameter Number");
    m_testParam->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9]*"), m_testParam));
    m_spinButton1 = new TSpinButton("SpinButton1", tester);
    testerLayout->addWidget(m_scrollTestParam, 0, 0, 1, 5);
    testerLayout->addWidget(TControls::Label(tester, "LabelTestVal", "Value"), 1, 0);
    testerLayout->addWidget(m_testVal, 1, 1);
    testerLayout->addWidget(TControls::Label(tester, "LabelTestParam", "Param#"), 1, 2);
    testerLayout->addWidget(m_testParam, 1, 3);
    testerLayout->addWidget(m_spinButton1, 1, 4);
    layout->addWidget(tester);

    auto* production = new QGroupBox("OEM Production Programming with ISP ", this);
    production->setObjectName("GroupProduction");
    auto* productionLayout = new QGridLayout(production);
    m_editDiamex = TControls::Edit(production, "EditDiamex", "-1",
                                   "Enter COM Port number of DIAMEX ISP programmer (named "
                                   "ERFOS-S in windows device manager COM&LPT)");
    m_ddFirmwareType = TControls::List(production, "dd_FirmwareType", FirmwareTypes(), 1,
                                       "Firmware Name to program with DIAMEX ISP programmer");
    m_prodProg = TControls::Button(
        production, "ProdProg", "Production Prgrm",
        "Complete production program run with DIAMEX ISP programmer and FTDI cable");
    m_btnAVRonly = TControls::Button(production, "BtnAVRonly", "AVR only",
                                     "Programs AVR by ISP only, including fuses");
    m_btnSetFuses = TControls::Button(production, "BtnSetFuses", "Repair Fuses",
                                      "Repair AVR controller fuse bits by ISP programmer");
    productionLayout->addWidget(TControls::Label(production, "LabelDiamex", "DIAMEX COM Port"), 0,
                                0);
    productionLayout->addWidget(m_editDiamex, 0, 1);
    productionLayout->addWidget(TControls::Label(production, "LabelFirmware", "Firmware"), 1, 0);
    productionLayout->addWidget(m_ddFirmwareType, 1, 1);
    productionLayout->addWidget(m_prodProg, 2, 0);
    productionLayout->addWidget(m_btnAVRonly, 2, 1);
    productionLayout->addWidget(m_btnSetFuses, 3, 1);
    layout->addWidget(production);

    auto* device = new QGroupBox("Using Device", this);
    device->setObjectName("GroupUsingDevice");
    auto* deviceLayout = new QHBoxLayout(device);
    m_editFTDIdevice =
        TControls::ReadOnlyEdit(device, "EditFTDIdevice", "-1", "Selected FTDI device last used");
    m_editFTDIcom =
        TControls::ReadOnlyEdit(device, "EditFTDIcom", "0", "Selected FTDI device last used");
    deviceLayout->addWidget(TControls::Label(device, "LabelFTDIdevice", "FTDI #"));
    deviceLayout->addWidget(m_editFTDIdevice);
    deviceLayout->addWidget(TControls::Label(device, "LabelFTDIcom", "FTDI COM"));
    deviceLayout->addWidget(m_editFTDIcom);
    layout->addWidget(device);
    layout->addStretch(1);

    // Code that sets the text runs the rule as well, like a user's edit.
    connect(m_editDiamex, &QLineEdit::textChanged, this, &TFactoryPage::EditDiamexChange);
    EditDiamexChange();
}

QPushButton* TFactoryPage::BitBtn(int n) const
{
    switch (n) {
    case 1:
        return m_bitBtn1;
    case 2:
        return m_bitBtn2;
    case 3:
        return m_bitBtn3;
    case 4:
        return m_bitBtn4;
    default:
        return nullptr;
    }
}

void TFactoryPage::EditDiamexChange()
{
    const bool usable = TDecimal::parse(m_editDiamex->text()).value_or(-1) >= 0;
    m_prodProg->setEnabled(usable);
    m_ddFirmwareType->setEnabled(usable);
}

void TFactoryPage::SetMaintenance(TMaintenance* maintenance, Guard guard)
{
    const bool first = !m_maintenanceGuard;
    m_maintenance = maintenance;
    m_maintenanceGuard = std::move(guard);
    if (!first)
        return;
    connect(m_bitBtn1, &QPushButton::clicked, this, &TFactoryPage::BitBtn1Click);
    connect(m_bitBtn2, &QPushButton::clicked, this, &TFactoryPage::BitBtn2Click);
    connect(m_bitBtn3, &QPushButton::clicked, this, &TFactoryPage::BitBtn3Click);
    connect(m_bitBtn4, &QPushButton::clicked, this, &TFactoryPage::BitBtn4Click);
    // Every change of the position writes, also one made by code.
    connect(m_scrollTestParam, &QScrollBar::valueChanged, this,
            &TFactoryPage::ScrollBarTestParamChange);
    connect(m_spinButton1, &TSpinButton::UpClick, this, &TFactoryPage::SpinButton1UpClick);
    connect(m_spinButton1, &TSpinButton::DownClick, this, &TFactoryPage::SpinButton1DownClick);
}

void TFactoryPage::BitBtn1Click()
{
    if (m_maintenance && m_maintenanceGuard)
        m_maintenanceGuard([this] { m_maintenance->BitBtn1Click(); });
}

void TFactoryPage::BitBtn2Click()
{
    if (m_maintenance && m_maintenanceGuard)
        m_maintenanceGuard([this] { m_maintenance->BitBtn2Click(); });
}

void TFactoryPage::BitBtn3Click()
{
    if (m_maintenance && m_maintenanceGuard)
        m_maintenanceGuard([this] { m_maintenance->BitBtn3Click(); });
}

void TFactoryPage::BitBtn4Click()
{
    if (m_maintenance && m_maintenanceGuard)
        m_maintenanceGuard([this] { m_maintenance->BitBtn4Click(); });
}

void TFactoryPage::ScrollBarTestParamChange()
{
    const int position = m_scrollTestParam->value();
    m_testVal->setText(QString::number(position));
    if (m_maintenance && m_maintenanceGuard)
        m_maintenanceGuard([this, position] {
            m_maintenance->ScrollBarTestParamChange(m_testParam->text(), position);
        });
}

void TFactoryPage::SpinButton1UpClick()
{
    m_testParam->setText(TMaintenance::SpinButton1UpClick(m_testParam->text()));
}

void TFactoryPage::SpinButton1DownClick()
{
    m_testParam->setText(TMaintenance::SpinButton1DownClick(m_testParam->text()));
}

void TFactoryPage::SetProduction(TProduction* production, Guard guard)
{
    const bool first = !m_productionGuard;
    m_production = production;
    m_productionGuard = std::move(guard);
    if (!first)
        return;
    connect(m_prodProg, &QPushButton::clicked, this, &TFactoryPage::ProdProgClick);
    connect(m_btnAVRonly, &QPushButton::clicked, this, &TFactoryPage::BtnAVRonlyClick);
    connect(m_btnSetFuses, &QPushButton::clicked, this, &TFactoryPage::BtnSetFuseBits);
}

void TFactoryPage::ProdProgClick()
{
    if (m_production && m_productionGuard)
        m_productionGuard([this] {
            m_production->ProdProgClick(m_ddFirmwareType->currentText(), m_editDiamex->text());
        });
}

void TFactoryPage::BtnAVRonlyClick()
{
    if (m_production && m_productionGuard)
        m_productionGuard([this] {
            m_production->BtnAVRonlyClick(m_ddFirmwareType->currentText(), m_editDiamex->text());
        });
}

void TFactoryPage::BtnSetFuseBits()
{
    if (m_production && m_productionGuard)
        m_productionGuard([this] { m_production->BtnSetFuseBits(m_editDiamex->text()); });
}
