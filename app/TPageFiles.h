#pragma once

#include "TPageImportExport.h"

#include <QObject>

class TForm1;
class TPageTable;
class TStringGrid;

// The File menu's import and export of the three table pages. The chosen
// file becomes the page's table file; a file that cannot be written or read
// ends the handler with an error box naming the file and the reason. Neither
// touches the board or the console: an import changes only its grid, and
// reaches the board by a page send or single edits.
class TPageFiles : public QObject
{
    Q_OBJECT

public:
    explicit TPageFiles(TForm1& form);

    void ExportOrganData1Click();
    void ExportLeslieData1Click();
    void ExportMIDICCData1Click();
    void ImportOrganData1Click();
    void ImportLeslieData1Click();
    void ImportMIDICCData1Click();

private:
    using Page = TPageImportExport::Page;

    void Export(Page page);
    void Import(Page page);
    TPageTable& Table(Page page);
    TStringGrid* Grid(Page page) const;
    QString& StoredPath(Page page);

    TForm1& m_form;
};
