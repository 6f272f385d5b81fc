#pragma once

#include "TFileResult.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Reads a table file as a list of lines: the encoding and line-break rules
// shared by the page tables, the two side tables and the preset files.
//
// - A UTF-8, UTF-16 LE or UTF-16 BE byte-order mark selects that encoding
//   (the mark itself is not part of the text); otherwise the bytes are
//   Windows-1252.
// - CR, LF and CR LF each end a line; a break at the very end adds no line;
//   an empty file has no lines at all.
// - A file that cannot be opened or read, or that is larger than any table
//   file can sensibly be (maxFileBytes), is a failure; the lines are then
//   left untouched.
class TTextFile
{
public:
    static constexpr qint64 maxFileBytes = 16 * 1024 * 1024;

    static TFileResult readLines(const QString& path, QStringList& lines);

    static QString decode(const QByteArray& bytes);
    static QStringList splitLines(const QString& text);

    // Replaces the file only once all bytes are written, so a failed write
    // leaves the previous file as it was.
    static TFileResult writeBytes(const QString& path, const QByteArray& bytes);

    // The path as the user knows it, for messages.
    static QString displayPath(const QString& path);
};
