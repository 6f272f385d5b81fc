#include "TPresetFile.h"

#include "TDecimal.h"
#include "TNameValue.h"
#include "TTextFile.h"
#include "TWin1252Codec.h"

#include <algorithm>

namespace {

constexpr int kUpperVibKnobEntry = 9;
constexpr int kUpperButtonsEntry = 10;
constexpr int kLowerButtonsEntry = 13;

} // namespace

bool TPresetFile::isDummyEntry(TPresetTable::Side side, int entry)
{
    return side == TPresetTable::Side::Upper ? entry > kUpperButtonsEntry
                                             : entry > kLowerButtonsEntry;
}

QString TPresetFile::entryName(TPresetTable::Side side, int flat)
{
    const int preset = flat / TPresetTable::entriesPerPreset;
    const int entry = flat % TPresetTable::entriesPerPreset;
    const QString prefix = QStringLiteral("Preset%1_").arg(preset);
    if (isDummyEntry(side, entry))
        return prefix + QStringLiteral("Dummy");
    if (side == TPresetTable::Side::Upper) {
        if (entry == kUpperVibKnobEntry)
            return prefix + QStringLiteral("VibKnob");
        if (entry == kUpperButtonsEntry)
            return prefix + QStringLiteral("Buttons");
    } else if (entry == kLowerButtonsEntry) {
        return prefix + QStringLiteral("Buttons");
    }
    return prefix + QStringLiteral("Drawbar%1").arg(entry);
}

QStringList TPresetFile::formatLines(const TPresetTable& table)
{
    QStringList lines;
    lines.reserve(TPresetTable::entryCount);
    for (int flat = 0; flat < TPresetTable::entryCount; ++flat) {
        const int entry = flat % TPresetTable::entriesPerPreset;
        const qint32 value = isDummyEntry(table.side(), entry) ? 0 : table.at(flat);
        lines.append(entryName(table.side(), flat) + u'=' + QString::number(value));
    }
    return lines;
}

TFileResult TPresetFile::write(const QString& path, const TPresetTable& table)
{
    QString text;
    for (const QString& line : formatLines(table))
        text += line + QStringLiteral("\r\n");
    return TTextFile::writeBytes(path, TWin1252Codec::encode(text));
}

TFileResult TPresetFile::read(const QString& path, TPresetTable& table)
{
    QStringList lines;
    const TFileResult readResult = TTextFile::readLines(path, lines);
    if (!readResult.ok())
        return readResult;
    return fillFromLines(lines, table, TTextFile::displayPath(path));
}

TFileResult TPresetFile::fillFromLines(const QStringList& lines, TPresetTable& table,
                                       const QString& displayName)
{
    TFileResult result = TFileResult::success();
    const int count = static_cast<int>(std::min<qsizetype>(lines.size(), TPresetTable::entryCount));
    QList<int> withoutNumber;
    for (int i = 0; i < count; ++i) {
        const std::optional<qint32> value = TNameValue::hasSeparator(lines[i])
                                                ? TDecimal::parse(TNameValue::valuePart(lines[i]))
                                                : std::nullopt;
        if (!value)
            withoutNumber.append(i + 1);
        table.setAt(i, value.value_or(0));
    }
    result.addLinesWarning(QStringLiteral("No number in %1, read as 0").arg(displayName),
                           withoutNumber);
    if (count < TPresetTable::entryCount) {
        result.addWarning(QStringLiteral("%1 holds %2 of %3 preset entries; the others keep "
                                         "their values")
                              .arg(displayName)
                              .arg(count)
                              .arg(TPresetTable::entryCount));
    }
    return result;
}
