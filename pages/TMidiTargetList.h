#pragma once

#include <QString>
#include <QStringList>

class TButtonTable;
class TPageTable;

// The translation targets that the MIDI CC page offers: lines of number, "="
// and name, and beside them the names shown in the page's list, position for
// position. It starts with "0=(not assigned)", then the organ parameters in
// table order, then the button targets.
class TMidiTargetList
{
public:
    TMidiTargetList();

    // Starts again from "(not assigned)", then the organ data rows, then the
    // buttons.
    void rebuild(const TPageTable& organ, const TButtonTable& buttons);
    // The last step of rebuild() on its own: start-up reads the buttons after
    // the page tables and appends them to what is there.
    void appendButtons(const TButtonTable& buttons);
    // Only "(not assigned)".
    void reset();

    int count() const { return static_cast<int>(m_lines.size()); }
    const QStringList& lines() const { return m_lines; }
    const QStringList& displayNames() const { return m_names; }
    QString line(int index) const { return m_lines.value(index); }
    QString displayName(int index) const { return m_names.value(index); }
    // What choosing position index writes into the MIDI CC table: the text
    // before the first "=" of the line ("0" for "(not assigned)").
    QString targetAt(int index) const;
    // The first position whose target text equals text, letter case ignored;
    // -1 when none does (a cell holding a single space matches nothing).
    int indexOfTarget(const QString& text) const;

private:
    void add(const QString& line, const QString& name);

    QStringList m_lines;
    QStringList m_names;
};
