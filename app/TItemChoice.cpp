#include "TItemChoice.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QMouseEvent>

TItemChoice::TItemChoice(QAbstractItemView* view) : QObject(view)
{
    // The filter sees a press before the view acts on it; the view moves the
    // current item on the press and reports the click on the release.
    view->viewport()->installEventFilter(this);
}

bool TItemChoice::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
        type == QEvent::MouseButtonRelease) {
        // Only the left button chooses: a right or middle click must not
        // pick a row or a target, since a choice is written to the board.
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return true;
    }
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        m_pressing = true;
        m_movedByPress = false;
    }
    return QObject::eventFilter(watched, event);
}

void TItemChoice::CurrentChanged()
{
    if (m_pressing)
        m_movedByPress = true;
    emit Chosen();
}

void TItemChoice::Clicked()
{
    const bool counted = m_movedByPress;
    m_pressing = false;
    m_movedByPress = false;
    if (!counted)
        emit Chosen();
}
