#include "TNameValue.h"

QString TNameValue::namePart(QStringView line)
{
    const qsizetype at = line.indexOf(u'=');
    return at < 0 ? QString() : line.first(at).toString();
}

QString TNameValue::valuePart(QStringView line)
{
    const qsizetype at = line.indexOf(u'=');
    return at < 0 ? QString() : line.sliced(at + 1).toString();
}

QList<int> TNameValue::linesWithoutSeparator(const QStringList& lines)
{
    QList<int> numbers;
    for (int i = 0; i < lines.size(); ++i) {
        if (!hasSeparator(lines[i]))
            numbers.append(i + 1);
    }
    return numbers;
}
