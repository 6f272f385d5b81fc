#include "TPageTableFile.h"

#include "TPageTable.h"
#include "TTextFile.h"
#include "TWin1252Codec.h"

TFileResult TPageTableFile::read(const QString& path, TPageTable& table)
{
    QStringList lines;
    const TFileResult readResult = TTextFile::readLines(path, lines);
    if (!readResult.ok())
        return readResult;
    return fillFromLines(lines, table, TTextFile::displayPath(path));
}

TFileResult TPageTableFile::fillFromLines(const QStringList& lines, TPageTable& table,
                                          const QString& displayName)
{
    // Without a first line there is no column count; an empty table would
    // leave the page without even its header, so the old contents stay.
    if (lines.isEmpty()) {
        return TFileResult::failure(
            QStringLiteral("File %1 is empty; a table file needs a header line").arg(displayName));
    }
    if (lines.size() > maxRows) {
        return TFileResult::failure(
            QStringLiteral("File %1 has %2 lines; a table file has at most %3")
                .arg(displayName)
                .arg(lines.size())
                .arg(maxRows));
    }
    const int columns = columnCountOf(lines.first());
    if (columns > maxColumns) {
        return TFileResult::failure(
            QStringLiteral("File %1 has %2 columns; a table file has at most %3")
                .arg(displayName)
                .arg(columns)
                .arg(maxColumns));
    }

    table.setRowCount(static_cast<int>(lines.size()));
    table.setColumnCount(columns);
    for (int row = 0; row < lines.size(); ++row)
        table.setRowCells(row, splitFields(lines[row]));
    return TFileResult::success();
}

int TPageTableFile::columnCountOf(QStringView headerLine)
{
    return static_cast<int>(headerLine.count(u',')) + 1;
}

QStringList TPageTableFile::splitFields(QStringView line)
{
    QStringList fields;
    const qsizetype size = line.size();
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < size && isBlank(line[i]))
            ++i;
    };

    skipBlanks();
    while (i < size) {
        QString field;
        if (line[i] == u'"') {
            ++i;
            while (i < size) {
                if (line[i] == u'"') {
                    if (i + 1 < size && line[i + 1] == u'"') {
                        field.append(u'"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field.append(line[i]);
                ++i;
            }
        } else {
            const qsizetype start = i;
            while (i < size && !isBlank(line[i]) && line[i] != u',')
                ++i;
            field = line.sliced(start, i - start).toString();
        }
        fields.append(field.isEmpty() ? QStringLiteral(" ") : field);

        skipBlanks();
        if (i < size && line[i] == u',') {
            if (i + 1 == size)
                fields.append(QStringLiteral(" "));
            ++i;
            skipBlanks();
        }
    }
    return fields;
}

QString TPageTableFile::formatCell(const QString& cell)
{
    bool needsQuotes = false;
    for (QChar c : cell) {
        if (c == u'"' || c == u',' || isBlank(c)) {
            needsQuotes = true;
            break;
        }
    }
    if (!needsQuotes)
        return cell;
    QString quoted = cell;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString TPageTableFile::formatLine(const QStringList& cells)
{
    QStringList parts;
    parts.reserve(cells.size());
    for (const QString& cell : cells)
        parts.append(formatCell(cell));
    return parts.join(u',');
}

QByteArray TPageTableFile::toBytes(const TPageTable& table)
{
    QString text;
    for (int row = 0; row < table.rowCount(); ++row) {
        text += formatLine(table.rowCells(row));
        text += QStringLiteral("\r\n");
    }
    return TWin1252Codec::encode(text);
}

TFileResult TPageTableFile::write(const QString& path, const TPageTable& table)
{
    return TTextFile::writeBytes(path, toBytes(table));
}
