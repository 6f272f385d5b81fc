#include "TTabChoice.h"

#include <QEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

TTabChoice::TTabChoice(QTabWidget* tabs) : QObject(tabs), m_tabs(tabs)
{
    // The tab widget itself takes Ctrl+Tab and Ctrl+PgUp/PgDn; the bar takes
    // clicks, arrow keys and the wheel.
    tabs->installEventFilter(this);
    tabs->tabBar()->installEventFilter(this);
    connect(tabs, &QTabWidget::currentChanged, this, &TTabChoice::CurrentChanged);
}

bool TTabChoice::eventFilter(QObject* watched, QEvent* event)
{
    // Clicks the pages leave unhandled come up to the tab widget too.
    if (watched == m_tabs && event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Wheel:
        // The change, if any, comes while this event is handled; whatever
        // the handling leaves pending afterwards is no longer the user's.
        if (!m_userInput) {
            m_userInput = true;
            QTimer::singleShot(0, this, [this] { m_userInput = false; });
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void TTabChoice::CurrentChanged(int index)
{
    if (!m_userInput)
        return;
    m_userInput = false;
    emit TabChosen(index);
}
