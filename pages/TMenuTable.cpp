#include "TMenuTable.h"

#include "TNameValue.h"
#include "TTextFile.h"

#include <algorithm>

TFileResult TMenuTable::read(const QString& path)
{
    QStringList lines;
    TFileResult result = TTextFile::readLines(path, lines);
    if (!result.ok())
        return result;
    m_lines = lines;
    result.addLinesWarning(QStringLiteral("No \"=\" in %1").arg(TTextFile::displayPath(path)),
                           TNameValue::linesWithoutSeparator(m_lines));
    return result;
}

int TMenuTable::indexOfMenu(const QString& menuName) const
{
    if (menuName.trimmed().isEmpty())
        return -1;
    for (int i = 0; i < m_lines.size(); ++i) {
        if (TNameValue::namePart(m_lines[i]).compare(menuName, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QStringList TMenuTable::entries(const QString& menuName, int maximum) const
{
    QStringList result;
    const int first = indexOfMenu(menuName);
    if (first < 0 || maximum < 0)
        return result;
    const qsizetype last = std::min<qsizetype>(m_lines.size() - 1, qsizetype(first) + maximum);
    for (qsizetype i = first; i <= last; ++i)
        result.append(TNameValue::valuePart(m_lines[i]));
    return result;
}
