#include "TTopStrip.h"

#include "TConnection.h"
#include "TControls.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

TTopStrip::TTopStrip(QWidget* parent) : QWidget(parent)
{
    setObjectName("TopStrip");
    m_btnRescan = TControls::Button(this, "BtnRescan", "Device", "Open ZR5 USB Device");
    m_btnClose = TControls::Button(this, "BtnClose", "Close", "Close ZR5 USB Device");
    m_deviceView = TControls::ReadOnlyEdit(this, "DeviceView", "(not selected)");
    m_deviceView->setFrame(false);
    m_deviceView->setFocusPolicy(Qt::NoFocus);
    // Only one of the two is shown at a time; the state procedures switch them.
    m_btnClose->setVisible(false);
    connect(m_btnRescan, &QPushButton::clicked, this, &TTopStrip::BtnRescanClick);
    connect(m_btnClose, &QPushButton::clicked, this, &TTopStrip::BtnCloseClick);

    struct Switch
    {
        const char* caption;
        const char* hint;
    };
    static const Switch switches[] = {
        {"Leslie Run", "Saved to defaults"},
        {"Leslie Fast", "Saved to defaults"},
        {"Rev I", "Saved to defaults"},
        {"Rev II", "Saved to defaults"},
        {"JackConf", "Audio Jack Configuration,, saved to Lower preset"},
        {"Split On", "Split ON/OFF, saved to Lower preset"},
    };
    for (int i = 0; i < 6; ++i)
        m_switches[static_cast<size_t>(i)] =
            TControls::CheckBox(this, QStringLiteral("CheckBox%1").arg(kFirstSwitch + i),
                                switches[i].caption, switches[i].hint);

    // The device name takes what the switches leave; they keep to the right.
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addWidget(m_btnRescan);
    layout->addWidget(m_btnClose);
    layout->addWidget(m_deviceView, 1);
    for (QCheckBox* box : m_switches)
        layout->addWidget(box);
}

void TTopStrip::SetConnection(TConnection* connection, Guard guard)
{
    m_connection = connection;
    m_guard = std::move(guard);
}

void TTopStrip::BtnRescanClick()
{
    if (m_connection && m_guard)
        m_guard([this] { m_connection->BtnRescanClick(); });
}

void TTopStrip::BtnCloseClick()
{
    if (m_connection && m_guard)
        m_guard([this] { m_connection->BtnCloseClick(); });
}
