#include "BoardFactoryValues.h"

#include "TPageTable.h"
#include "TPageTableFile.h"
#include "TPresetFile.h"
#include "TPresetTable.h"

#include <QDir>

namespace {
void noteProblems(const TFileResult& result, QStringList& problems)
{
    if (!result.ok())
        problems.append(result.message());
    problems.append(result.warnings());
}
} // namespace

const QStringList& BoardFactoryValues::pageFileNames()
{
    static const QStringList names{QStringLiteral("zr5_organ_defaults.csv"),
                                   QStringLiteral("zr5_rotary_defaults.csv"),
                                   QStringLiteral("zr5_midi_cc_defaults.csv")};
    return names;
}

QString BoardFactoryValues::upperPresetFileName()
{
    return QStringLiteral("zr5_upper_presets.csv");
}

QString BoardFactoryValues::lowerPresetFileName()
{
    return QStringLiteral("zr5_lower_presets.csv");
}

BoardFactoryValues::Result BoardFactoryValues::load(const QString& folder)
{
    Result result;
    const QDir dir(folder);
    for (const QString& name : pageFileNames()) {
        TPageTable table(0, 0);
        const TFileResult read = TPageTableFile::read(dir.filePath(name), table);
        noteProblems(read, result.problems);
        if (!read.ok())
            continue;
        for (int row = 1; row <= table.dataRowCount(); ++row) {
            // A row without a number names no parameter; taking it for
            // parameter 0 would invent a value the board never had.
            if (const std::optional<int> number = table.ParameterNumberOf(row))
                result.values.insert(*number, table.CellInt(TPageTable::valueColumn, row));
        }
    }
    const std::pair<TPresetTable::Side, QString> presetFiles[] = {
        {TPresetTable::Side::Upper, upperPresetFileName()},
        {TPresetTable::Side::Lower, lowerPresetFileName()},
    };
    for (const auto& [side, name] : presetFiles) {
        TPresetTable table(side);
        const TFileResult read = TPresetFile::read(dir.filePath(name), table);
        noteProblems(read, result.problems);
        if (!read.ok())
            continue;
        for (int k = 0; k < TPresetTable::entryCount; ++k)
            result.values.insert(table.parameterOf(k), table.at(k));
    }
    return result;
}
