#pragma once

#include "TFileResult.h"

#include <QString>
#include <QStringList>

// The button targets of "zr5_buttons.csv": lines of a board parameter number,
// "=" and a name, offered on the MIDI CC page after the organ parameters.
// Commas and spaces are ordinary characters here; lines are kept as read.
class TButtonTable
{
public:
    static constexpr auto fileName = "zr5_buttons.csv";

    // Replaces the lines on success; keeps them on failure. Lines without
    // "=" are kept but named in the result's warnings.
    TFileResult read(const QString& path);

    const QStringList& lines() const { return m_lines; }
    void setLines(const QStringList& lines) { m_lines = lines; }
    int count() const { return static_cast<int>(m_lines.size()); }
    // Text before the first "=".
    QString numberText(int index) const;
    // Text after the first "=".
    QString name(int index) const;

private:
    QStringList m_lines;
};
