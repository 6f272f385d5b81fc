#include "TUpdateBox.h"

#include "TAvrUpdate.h"
#include "TControls.h"
#include "TFpgaUpdate.h"

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

void TUpdateBox::SetFpgaUpdate(TFpgaUpdate* update, Guard guard)
{
    const bool first = !m_fpgaGuard;
    m_fpgaUpdate = update;
    m_fpgaGuard = std::move(guard);
    if (first)
        connect(m_updateFPGA, &QPushButton::clicked, this, &TUpdateBox::UpdateFPGAClick);
}

void TUpdateBox::UpdateFPGAClick()
{
    if (m_fpgaUpdate && m_fpgaGuard)
        m_fpgaGuard([this] { m_fpgaUpdate->UpdateFPGAClick(); });
}

void TUpdateBox::SetAvrUpdate(TAvrUpdate* update, Guard guard)
{
    const bool first = !m_avrGuard;
    m_avrUpdate = update;
    m_avrGuard = std::move(guard);
    if (first)
        connect(m_updateAVR, &QPushButton::clicked, this, &TUpdateBox::UpdateAVRClick);
}

void TUpdateBox::UpdateAVRClick()
{
    if (m_avrUpdate && m_avrGuard)
        m_avrGuard([this] { m_avrUpdate->UpdateAVRClick(); });
}
