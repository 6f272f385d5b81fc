#pragma once

#include "TFileResult.h"

#include <QString>
#include <QStringList>
#include <QStringView>

class TPageTable;

// The CSV format of the page table files, read at start-up and by import,
// written by export.
//
// Reading: lines as TTextFile gives them; the row count is the number of
// lines; the column count is one more than the number of commas in the first
// line, quoted commas included; each line is split by splitFields(). An empty
// file (no header line), a file that cannot be read, and a file with more
// than maxRows lines or maxColumns columns are refused and leave the table as
// it was.
//
// Writing: every row, header included, as its cells joined by commas; a cell
// holding a double quote, comma, space or control character is quoted with
// inner quotes doubled; an empty cell is written as nothing; CR LF after
// every line; Windows-1252 without a byte-order mark.
class TPageTableFile
{
public:
    // Far above any board's parameter list, low enough that a wrong file
    // cannot exhaust memory.
    static constexpr int maxRows = 10000;
    static constexpr int maxColumns = 256;

    // LoadPageTableFile: fills the table from the file.
    static TFileResult read(const QString& path, TPageTable& table);
    // Fills the table from lines already read; refuses what read() refuses,
    // except the file errors.
    static TFileResult fillFromLines(const QStringList& lines, TPageTable& table,
                                     const QString& displayName);

    // Creates or replaces the file; a failed write keeps the old file.
    static TFileResult write(const QString& path, const TPageTable& table);
    static QByteArray toBytes(const TPageTable& table);

    static int columnCountOf(QStringView headerLine);
    // Fields of one line. Blanks (codes 0 to 32) before and after a field are
    // skipped; a field that starts with a double quote runs to the closing
    // quote with doubled quotes standing for one (an unclosed quote runs to
    // the end of the line); any other field ends at a comma or a blank, so a
    // space separates fields like a comma. A comma that is the line's last
    // character adds one more, empty field. An empty field comes back as a
    // single space.
    static QStringList splitFields(QStringView line);
    static QString formatLine(const QStringList& cells);
    static QString formatCell(const QString& cell);

    static bool isBlank(QChar c) { return c.unicode() <= 32; }
};
