#pragma once

#include "Prompter.h"
#include "TFileResult.h"

#include <QString>

#include <optional>

class TPageTable;

// Export and import of one table page through the program's file dialogs.
// The chosen file becomes the page's table file: its path is stored before
// the file is written or read, so a failed attempt leaves the new path
// stored, while a cancelled dialog changes nothing at all.
//
// An export writes every row and column in the page table format and
// replaces the file only once it is complete, so a failed export keeps the
// file that was there. An import fills the table from the file; a file that
// cannot be read leaves the table as it was.
class TPageImportExport
{
public:
    enum class Page
    {
        Organ,
        Rotary,
        MidiCC
    };

    static QString ExportTitle(Page page);
    static QString ImportTitle(Page page);

    // The entries of the dialog templates that the two operations select.
    static const QString ExportFilter;
    static const QString ImportFilter;
    static const QString DefaultSuffix;

    // Nothing when the user cancelled; otherwise the outcome of the write or
    // read, whose failure message names the file and the system's reason.
    // The dialog template keeps the chosen file for the next time.
    static std::optional<TFileResult> Export(Prompter& prompter, Prompter::FileRequest& saveDialog,
                                             Page page, const TPageTable& table,
                                             QString& storedPath);
    static std::optional<TFileResult> Import(Prompter& prompter, Prompter::FileRequest& openDialog,
                                             Page page, TPageTable& table, QString& storedPath);

    // The position of filter in the template's list; a filter that a caller
    // removed is added again.
    static int FilterIndex(Prompter::FileRequest& request, const QString& filter);
};
