#include "TButtonTable.h"

#include "TNameValue.h"
#include "TTextFile.h"

TFileResult TButtonTable::read(const QString& path)
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

QString TButtonTable::numberText(int index) const
{
    return TNameValue::namePart(m_lines.value(index));
}

QString TButtonTable::name(int index) const
{
    return TNameValue::valuePart(m_lines.value(index));
}
