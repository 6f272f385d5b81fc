#include "TFinalizeBox.h"

#include "TControls.h"
#include "TProduction.h"

#include <QHBoxLayout>
#include <QPushButton>

TFinalizeBox::TFinalizeBox(QWidget* parent)
    : QGroupBox(parent),
      m_btnWriteBasics(TControls::Button(this, "BtnWriteBasics", "Finalize",
                                         "Send Finalize setting to ZR5 and set Factory Restore "
                                         "Memory"))
{
    setObjectName("FinalizeBox");
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_btnWriteBasics);
    layout->addStretch(1);
    connect(m_btnWriteBasics, &QPushButton::clicked, this, &TFinalizeBox::BtnWriteBasicsClick);
}

void TFinalizeBox::SetProduction(TProduction* production, Guard guard)
{
    m_production = production;
    m_guard = std::move(guard);
}

void TFinalizeBox::BtnWriteBasicsClick()
{
    if (m_production && m_guard)
        m_guard([this] { m_production->BtnWriteBasicsClick(); });
}
