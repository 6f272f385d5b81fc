#include "TFinalizeBox.h"

#include "TControls.h"

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
}
