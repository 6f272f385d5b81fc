#include "TPageModel.h"

#include "OperationHost.h"
#include "TPageTableFile.h"
#include "TPresetFile.h"

#include <QDir>
#include <QFileInfo>

#include <functional>

TPageModel::TPageModel()
    : m_organ(initialRows, organInitialColumns), m_rotary(initialRows, rotaryInitialColumns),
      m_midiCC(initialRows, midiCCInitialColumns), m_upperPresets(TPresetTable::Side::Upper),
      m_lowerPresets(TPresetTable::Side::Lower)
{
}

void TPageModel::ReportMissingFile(OperationHost& host, const QString& name)
{
    host.ConsoleLine(QStringLiteral("##### Error: Missing file ") + name);
}

void TPageModel::reportResult(const TFileResult& result, OperationHost& host) const
{
    if (!result.ok())
        host.ConsoleLine(result.consoleText());
    for (const QString& warning : result.warningConsoleTexts())
        host.ConsoleLine(warning);
}

TFileResult TPageModel::LoadPageTableFile(TPageTable& table, const QString& path)
{
    return TPageTableFile::read(path, table);
}

TFileResult TPageModel::LoadUpperPresetFile(const QString& path)
{
    return TPresetFile::read(path, m_upperPresets);
}

TFileResult TPageModel::LoadLowerPresetFile(const QString& path)
{
    return TPresetFile::read(path, m_lowerPresets);
}

TPageModel::Pages TPageModel::LoadPageTables(const TPageFilePaths& paths, OperationHost& host,
                                             const std::function<void(Page)>& loaded)
{
    struct Step
    {
        Page page;
        const char* label;
        QString path;
        std::function<TFileResult(const QString&)> load;
    };
    const auto tableLoader = [](TPageTable& table) {
        return [&table](const QString& path) { return LoadPageTableFile(table, path); };
    };
    const Step steps[] = {
        {OrganPage, "Organ Param", paths.organ, tableLoader(m_organ)},
        {RotaryPage, "Rotary Param", paths.rotary, tableLoader(m_rotary)},
        {MidiCCPage, "MIDI CC", paths.midiCC, tableLoader(m_midiCC)},
        {UpperPage, "Upper Presets", paths.upper,
         [this](const QString& path) { return LoadUpperPresetFile(path); }},
        {LowerPage, "Lower Presets", paths.lower,
         [this](const QString& path) { return LoadLowerPresetFile(path); }},
    };

    Pages replaced;
    for (const Step& step : steps) {
        const QFileInfo file(step.path);
        if (!file.exists()) {
            ReportMissingFile(host, file.fileName());
            continue;
        }
        const TFileResult result = step.load(step.path);
        if (result.ok()) {
            replaced |= step.page;
            if (loaded)
                loaded(step.page);
            host.ConsoleLine(QStringLiteral("Using %1 file: %2")
                                 .arg(QString::fromLatin1(step.label), file.fileName()));
        }
        reportResult(result, host);
    }
    RebuildMidiTargetList();
    return replaced;
}

void TPageModel::RebuildMidiTargetList()
{
    m_midiTargets.rebuild(m_organ, m_buttons);
}

bool TPageModel::LoadButtonTable(const QString& programFolder, OperationHost& host)
{
    const QString name = QString::fromLatin1(TButtonTable::fileName);
    const QString path = QDir(programFolder).filePath(name);
    if (!QFileInfo::exists(path)) {
        ReportMissingFile(host, name);
        return false;
    }
    const TFileResult result = m_buttons.read(path);
    reportResult(result, host);
    if (!result.ok())
        return false;
    m_midiTargets.appendButtons(m_buttons);
    return true;
}

bool TPageModel::LoadMenuTable(const QString& programFolder, OperationHost& host)
{
    const QString name = QString::fromLatin1(TMenuTable::fileName);
    const QString path = QDir(programFolder).filePath(name);
    m_menus.clear();
    if (!QFileInfo::exists(path)) {
        ReportMissingFile(host, name);
        return false;
    }
    const TFileResult result = m_menus.read(path);
    reportResult(result, host);
    return result.ok();
}

void TPageModel::reportSkippedOrganRows(const QList<int>& rows, OperationHost* host) const
{
    if (!host)
        return;
    for (int row : rows) {
        // An empty row (the designed grid before any file, or a blank line of
        // a file) is no mistake worth a line; a word where a number belongs is.
        if (m_organ.cell(TPageTable::numberColumn, row).trimmed().isEmpty())
            continue;
        host->ConsoleLine(
            QStringLiteral("##### Error: Organ table row %1 has no parameter number (\"%2\")")
                .arg(row)
                .arg(m_organ.cell(TPageTable::numberColumn, row)));
    }
}

int TPageModel::OrganValueOf(int number, OperationHost* host) const
{
    QList<int> skipped;
    const int value = m_organ.OrganValueOf(number, &skipped);
    reportSkippedOrganRows(skipped, host);
    return value;
}

int TPageModel::SetOrganValueOf(int number, int value, OperationHost* host)
{
    QList<int> skipped;
    const int row = m_organ.SetOrganValueOf(number, value, &skipped);
    reportSkippedOrganRows(skipped, host);
    return row;
}

QStringList TPageModel::MenuEntriesForOrganRow(int row) const
{
    return m_menus.entries(m_organ.cell(TPageTable::kindColumn, row),
                           m_organ.CellInt(TPageTable::maximumColumn, row));
}

bool TPageModel::ChooseMidiTarget(int midiCCRow, int index)
{
    if (midiCCRow < 1 || index < 0 || index >= m_midiTargets.count())
        return false;
    return m_midiCC.setCell(TPageTable::valueColumn, midiCCRow, m_midiTargets.targetAt(index));
}
