#include "TPageImportExport.h"

#include "TPageModel.h"
#include "TPageTableFile.h"

const QString TPageImportExport::ExportFilter = QStringLiteral("Export Data (*.csv)");
const QString TPageImportExport::ImportFilter = QStringLiteral("Import CSV (zr*.csv)");
const QString TPageImportExport::DefaultSuffix = QStringLiteral("csv");

QString TPageImportExport::ExportTitle(Page page)
{
    switch (page) {
    case Page::Organ:
        return QStringLiteral("ZR5 Export Organ Data File");
    case Page::Rotary:
        return QStringLiteral("ZR5 Export Leslie Data File");
    case Page::MidiCC:
        return QStringLiteral("ZR5 Export MIDI CC Data File");
    }
    return {};
}

QString TPageImportExport::ImportTitle(Page page)
{
    switch (page) {
    case Page::Organ:
        return QStringLiteral("ZR5 Import Organ Data File");
    case Page::Rotary:
        return QStringLiteral("ZR5 Import Leslie Data File");
    case Page::MidiCC:
        return QStringLiteral("ZR5 Import MIDI CC Data File");
    }
    return {};
}

int TPageImportExport::FilterIndex(Prompter::FileRequest& request, const QString& filter)
{
    const qsizetype index = request.filters.indexOf(filter);
    if (index >= 0)
        return static_cast<int>(index);
    request.filters.append(filter);
    return static_cast<int>(request.filters.size() - 1);
}

std::optional<TFileResult> TPageImportExport::Export(Prompter& prompter,
                                                     Prompter::FileRequest& saveDialog, Page page,
                                                     const TPageTable& table, QString& storedPath)
{
    saveDialog.title = ExportTitle(page);
    saveDialog.filterIndex = FilterIndex(saveDialog, ExportFilter);
    saveDialog.defaultSuffix = DefaultSuffix;
    const QString path = prompter.SaveFileName(saveDialog);
    if (path.isEmpty())
        return std::nullopt;
    saveDialog.fileName = path;
    storedPath = path;
    return TPageTableFile::write(path, table);
}

std::optional<TFileResult> TPageImportExport::Import(Prompter& prompter,
                                                     Prompter::FileRequest& openDialog, Page page,
                                                     TPageTable& table, QString& storedPath)
{
    openDialog.title = ImportTitle(page);
    openDialog.filterIndex = FilterIndex(openDialog, ImportFilter);
    openDialog.defaultSuffix = DefaultSuffix;
    const QString path = prompter.OpenFileName(openDialog);
    if (path.isEmpty())
        return std::nullopt;
    openDialog.fileName = path;
    storedPath = path;
    return TPageModel::LoadPageTableFile(table, path);
}
