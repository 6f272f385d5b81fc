#include "TMidiCCRow.h"

#include "TMidiTargetList.h"
#include "TNameValue.h"
#include "TPageTable.h"

std::optional<int> TMidiCCRow::SlotParameter(int row)
{
    const int controller = ControllerOf(row);
    if (controller < 0 || controller >= kControllers)
        return std::nullopt;
    return kSlotBase + controller;
}

TMidiCCRow::Step TMidiCCRow::Describe(const TPageTable& midiCC, const TMidiTargetList& targets,
                                      int row)
{
    Step step;
    const QString target = midiCC.cell(TPageTable::valueColumn, row);
    step.value = midiCC.CellInt(TPageTable::valueColumn, row);
    step.listIndex = targets.indexOfTarget(target);
    const QString name =
        step.listIndex >= 0 ? TNameValue::valuePart(targets.line(step.listIndex)) : QString();
    step.hint = QStringLiteral("MIDI CC ") + QString::number(ControllerOf(row)) +
                QStringLiteral(" translated to ") + name;
    step.parameter = SlotParameter(row);
    return step;
}
