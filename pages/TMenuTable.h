#pragma once

#include "TFileResult.h"

#include <QString>
#include <QStringList>

// The drop-down menus of "zr5_dropdown_menus.csv": lines of a menu name, "="
// and an entry text. A menu is the run of lines that starts at the first line
// whose name equals the menu name, letter case ignored; entry k is the text
// after the first "=" of the run's k-th line. Only that first line's name is
// compared, so a run may go on into the lines of the next menu.
class TMenuTable
{
public:
    static constexpr auto fileName = "zr5_dropdown_menus.csv";

    // Replaces the lines on success; keeps them on failure.
    TFileResult read(const QString& path);

    const QStringList& lines() const { return m_lines; }
    void setLines(const QStringList& lines) { m_lines = lines; }
    void clear() { m_lines.clear(); }

    // Line index where the menu starts, or -1. An empty or blank name names
    // no menu, so an organ row without editor kind never picks up a line that
    // lacks "=".
    int indexOfMenu(const QString& menuName) const;
    bool hasMenu(const QString& menuName) const { return indexOfMenu(menuName) >= 0; }
    // Entries 0 .. maximum. The list stops at the last line of the file, so
    // it is shorter than maximum + 1 when the maximum reaches past the end;
    // it is empty for an unknown menu or a negative maximum.
    QStringList entries(const QString& menuName, int maximum) const;

private:
    QStringList m_lines;
};
