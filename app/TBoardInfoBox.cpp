#include "TBoardInfoBox.h"

#include "TControls.h"
#include "TScanCoreNames.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

TBoardInfoBox::TBoardInfoBox(QWidget* parent)
    : QGroupBox("ZR5 Board Info", parent),
      m_userName(TControls::ReadOnlyEdit(this, "EditUserName", QString())),
      m_serialNumber(TControls::ReadOnlyEdit(this, "EditSerialNumber", QString(),
                                             "Serial Number readout from ZR5")),
      m_fpgaVersion(TControls::ReadOnlyEdit(this, "FPGAversion", QString(),
                                            "FPGA config (Sound Engine) version readout from ZR5")),
      m_firmwareVersion(
          TControls::ReadOnlyEdit(this, "EditFirmwareVersion", QString(),
                                  "AVR controller firmware version readout from ZR5")),
      m_scanDetected(TControls::List(this, "ComboBoxScanDetected", TScanCoreNames::All(), 1,
                                     "ScanCore  readout from ZR5"))
{
    setObjectName("BoardInfoBox");
    // A readout, never a choice.
    m_scanDetected->setEnabled(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(TControls::Label(this, "LabelUserName", "User Name"), 0, 0);
    layout->addWidget(m_userName, 0, 1, 1, 3);
    layout->addWidget(TControls::Label(this, "LabelSerialNumber", "Serial #"), 1, 0);
    layout->addWidget(m_serialNumber, 1, 1);
    layout->addWidget(TControls::Label(this, "LabelFirmwareVersion", "FW #"), 1, 2);
    layout->addWidget(m_firmwareVersion, 1, 3);
    layout->addWidget(TControls::Label(this, "LabelFPGAversion", "FPGA #"), 2, 0);
    layout->addWidget(m_fpgaVersion, 2, 1);
    layout->addWidget(TControls::Label(this, "LabelScanDetected", "Active Scan Core"), 3, 0);
    layout->addWidget(m_scanDetected, 3, 1, 1, 3);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(3, 1);
}
