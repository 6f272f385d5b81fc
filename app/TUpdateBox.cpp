#include "TUpdateBox.h"

#include "TControls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

TUpdateBox::TUpdateBox(QWidget* parent)
    : QGroupBox("ZR5 Firmware and FPGA Update", parent),
      m_updateAVR(TControls::Button(this, "UpdateAVR", "Update FW",
                                    "Start AVRdude and update ZR5 firmware with .HEX file")),
      m_updateFPGA(TControls::Button(this, "UpdateFPGA", "Update FPGA",
                                     "Upload FPGA configuration (Sound Engine) and scan cores")),
      m_restoreOrgan(TControls::CheckBox(
          this, "CheckRestoreOrgan", "Organ Defaults",
          "Restores Organ Default Settings after AVR update (takes some time)")),
      m_restoreMidi(
          TControls::CheckBox(this, "CheckRestoreMidi", "Midi Custom",
                              "Restores MIDI CC Settings after AVR update (takes some time)")),
      m_restorePresets(TControls::CheckBox(this, "CheckRestorePresets", "Presets",
                                           "Restores Presets after AVR update (takes some time)"))
{
    setObjectName("UpdateBox");
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_updateAVR, 0, 0);
    layout->addWidget(m_updateFPGA, 0, 1);
    layout->addWidget(TControls::Label(this, "LabelAutoRestore", "Auto Restore at Firmware Update"),
                      1, 0, 1, 3);
    layout->addWidget(m_restoreOrgan, 2, 0);
    layout->addWidget(m_restoreMidi, 2, 1);
    layout->addWidget(m_restorePresets, 2, 2);
    layout->setColumnStretch(3, 1);
}
