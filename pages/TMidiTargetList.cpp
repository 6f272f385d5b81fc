#include "TMidiTargetList.h"

#include "TButtonTable.h"
#include "TNameValue.h"
#include "TPageTable.h"

TMidiTargetList::TMidiTargetList()
{
    reset();
}

void TMidiTargetList::reset()
{
    m_lines.clear();
    m_names.clear();
    add(QStringLiteral("0=(not assigned)"), QStringLiteral("(not assigned)"));
}

void TMidiTargetList::rebuild(const TPageTable& organ, const TButtonTable& buttons)
{
    reset();
    for (int row = 1; row < organ.rowCount(); ++row) {
        const QString name = organ.cell(TPageTable::nameColumn, row);
        add(organ.cell(TPageTable::numberColumn, row) + u'=' + name, name);
    }
    appendButtons(buttons);
}

void TMidiTargetList::appendButtons(const TButtonTable& buttons)
{
    for (int i = 0; i < buttons.count(); ++i)
        add(buttons.lines()[i], buttons.name(i));
}

void TMidiTargetList::add(const QString& line, const QString& name)
{
    m_lines.append(line);
    m_names.append(name);
}

QString TMidiTargetList::targetAt(int index) const
{
    return TNameValue::namePart(line(index));
}

int TMidiTargetList::indexOfTarget(const QString& text) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        if (TNameValue::namePart(m_lines[i]).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}
