#include "THint.h"

#include <QAction>
#include <QVariant>
#include <QWidget>

QString THint::ShortPart(const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QString THint::LongPart(const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void THint::Apply(QWidget* widget, const QString& hint)
{
    widget->setProperty("hint", hint);
    widget->setToolTip(ShortPart(hint));
    // QWidget sends its status tip up to the main window on every enter and
    // an empty one on leave, which is exactly the status line's behaviour.
    widget->setStatusTip(LongPart(hint));
}

void THint::Apply(QAction* action, const QString& hint)
{
    action->setProperty("hint", hint);
    action->setToolTip(ShortPart(hint));
    action->setStatusTip(LongPart(hint));
}

QString THint::Of(const QObject* object)
{
    return object->property("hint").toString();
}
