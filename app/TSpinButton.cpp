#include "TSpinButton.h"

#include <QToolButton>
#include <QVBoxLayout>

TSpinButton::TSpinButton(const QString& name, QWidget* parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    setObjectName(name);
    m_up->setObjectName(name + QStringLiteral("Up"));
    m_down->setObjectName(name + QStringLiteral("Down"));
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    m_up->setAutoRepeat(true);
    m_down->setAutoRepeat(true);
    for (QToolButton* b : {m_up, m_down})
        b->setFixedSize(17, 11);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    connect(m_up, &QToolButton::clicked, this, &TSpinButton::UpClick);
    connect(m_down, &QToolButton::clicked, this, &TSpinButton::DownClick);
}
