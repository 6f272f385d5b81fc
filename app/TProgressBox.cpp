#include "TProgressBox.h"

#include "OperationHost.h"
#include "TControls.h"
#include "THint.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVariant>

namespace {
const char* const kTag = "tag";
}

TProgressBox::TProgressBox(QWidget* parent)
    : QGroupBox(parent), m_progress(new QProgressBar(this)),
      m_btnCancel(
          TControls::Button(this, "BtnCancel", "Cancel Process", "Cancel any running process")),
      m_ledBusy(new QFrame(this))
{
    setObjectName("ProgressBox");

    m_progress->setObjectName("TransferProgress");
    m_progress->setRange(0, kDefaultMaximum);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    THint::Apply(m_progress, "Send/Read Progress");

    QFont bold = m_btnCancel->font();
    bold.setBold(true);
    m_btnCancel->setFont(bold);
    QPalette red = m_btnCancel->palette();
    red.setColor(QPalette::ButtonText, Qt::red);
    m_btnCancel->setPalette(red);
    m_btnCancel->setProperty(kTag, 0);
    connect(m_btnCancel, &QPushButton::clicked, this, &TProgressBox::BtnCancelClick);

    m_ledBusy->setObjectName("LEDbusy");
    m_ledBusy->setFrameShape(QFrame::Panel);
    m_ledBusy->setFrameShadow(QFrame::Sunken);
    m_ledBusy->setFixedSize(16, 16);
    m_ledBusy->setAutoFillBackground(true);
    SetLedColor(kLedDesign);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_progress, 1);
    layout->addWidget(m_btnCancel);
    layout->addWidget(m_ledBusy);
    layout->addWidget(TControls::Label(this, "LabelBusy", "Busy"));
}

int TProgressBox::CancelFlag() const
{
    return m_btnCancel->property(kTag).toInt();
}

void TProgressBox::SetCancelFlag(int flag)
{
    m_btnCancel->setProperty(kTag, flag);
}

void TProgressBox::SetProgress(int position)
{
    // The bar ignores values outside its range; an operation that overshoots
    // its maximum should still see a full bar.
    m_progress->setValue(qBound(m_progress->minimum(), position, m_progress->maximum()));
}

void TProgressBox::SetProgressMax(int maximum)
{
    // A range of 0 to 0 (a one-block image, an empty table) would turn the
    // bar into a busy indicator that keeps running after the operation.
    m_progress->setMaximum(qMax(maximum, m_progress->minimum() + 1));
}

void TProgressBox::SetBusyLed(bool on)
{
    SetLedColor(on ? kLedOn : kLedOff);
}

QColor TProgressBox::BusyLedColor() const
{
    return m_ledBusy->palette().color(QPalette::Window);
}

void TProgressBox::SetLedColor(const QColor& colour)
{
    // Long operations flash the lamp on every step; only a change repaints.
    if (BusyLedColor() == colour)
        return;
    QPalette lamp = m_ledBusy->palette();
    lamp.setColor(QPalette::Window, colour);
    m_ledBusy->setPalette(lamp);
}

void TProgressBox::BtnCancelClick()
{
    SetProgress(0);
    SetCancelFlag(1);
    if (m_host)
        m_host->ReportCancelled();
}
