#pragma once

#include <QString>

class QAction;
class QObject;
class QWidget;

// A hint of the form "short|long": the short part is the tool tip, the long
// part goes to the status bar while the mouse is over the control. A hint
// without "|" serves as both. The full text stays readable as the "hint"
// property.
class THint
{
public:
    static QString ShortPart(const QString& hint);
    static QString LongPart(const QString& hint);

    static void Apply(QWidget* widget, const QString& hint);
    static void Apply(QAction* action, const QString& hint);
    static QString Of(const QObject* object);
};
