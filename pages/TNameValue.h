#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The "name=value" lines of the button, menu and preset files. Only the first
// "=" splits; a line without one has an empty name and an empty value.
class TNameValue
{
public:
    static QString namePart(QStringView line);
    static QString valuePart(QStringView line);
    static bool hasSeparator(QStringView line) { return line.contains(u'='); }
    // 1-based numbers of the lines that hold no "=".
    static QList<int> linesWithoutSeparator(const QStringList& lines);
};
