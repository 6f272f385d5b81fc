#include "TPageFiles.h"

#include "TForm1.h"
#include "TMainMenu.h"
#include "TMidiCCPage.h"
#include "TOrganPage.h"
#include "TPageArea.h"
#include "TRotaryPage.h"
#include "TStringGrid.h"

#include <QAction>

TPageFiles::TPageFiles(TForm1& form) : QObject(&form), m_form(form)
{
    setObjectName("PageFiles");
    TMainMenu* menu = m_form.MainMenu1();
    connect(menu->ExportOrganData1(), &QAction::triggered, this,
            &TPageFiles::ExportOrganData1Click);
    connect(menu->ExportLeslieData1(), &QAction::triggered, this,
            &TPageFiles::ExportLeslieData1Click);
    connect(menu->ExportMIDICCData1(), &QAction::triggered, this,
            &TPageFiles::ExportMIDICCData1Click);
    connect(menu->ImportOrganData1(), &QAction::triggered, this,
            &TPageFiles::ImportOrganData1Click);
    connect(menu->ImportLeslieData1(), &QAction::triggered, this,
            &TPageFiles::ImportLeslieData1Click);
    connect(menu->ImportMIDICCData1(), &QAction::triggered, this,
            &TPageFiles::ImportMIDICCData1Click);
}

void TPageFiles::ExportOrganData1Click()
{
    Export(Page::Organ);
}

void TPageFiles::ExportLeslieData1Click()
{
    Export(Page::Rotary);
}

void TPageFiles::ExportMIDICCData1Click()
{
    Export(Page::MidiCC);
}

void TPageFiles::ImportOrganData1Click()
{
    Import(Page::Organ);
}

void TPageFiles::ImportLeslieData1Click()
{
    Import(Page::Rotary);
}

void TPageFiles::ImportMIDICCData1Click()
{
    Import(Page::MidiCC);
}

TPageTable& TPageFiles::Table(Page page)
{
    TPageModel& pages = m_form.Pages();
    switch (page) {
    case Page::Organ:
        return pages.organ();
    case Page::Rotary:
        return pages.rotary();
    case Page::MidiCC:
        break;
    }
    return pages.midiCC();
}

TStringGrid* TPageFiles::Grid(Page page) const
{
    TPageArea* area = m_form.PageArea();
    switch (page) {
    case Page::Organ:
        return area->OrganPage()->StringGrid1();
    case Page::Rotary:
        return area->RotaryPage()->StringGrid2();
    case Page::MidiCC:
        break;
    }
    return area->MidiCCPage()->StringGrid3();
}

QString& TPageFiles::StoredPath(Page page)
{
    TZR5Record& record = m_form.ZR5Record();
    switch (page) {
    case Page::Organ:
        return record.OrganParamFile;
    case Page::Rotary:
        return record.LeslieParamFile;
    case Page::MidiCC:
        break;
    }
    return record.MidiCCFile;
}

void TPageFiles::Export(Page page)
{
    m_form.Guarded([&] {
        const std::optional<TFileResult> result = TPageImportExport::Export(
            m_form.Prompt(), m_form.SaveDialog1(), page, Table(page), StoredPath(page));
        if (result)
            result->throwIfFailed();
    });
}

void TPageFiles::Import(Page page)
{
    m_form.Guarded([&] {
        const std::optional<TFileResult> result = TPageImportExport::Import(
            m_form.Prompt(), m_form.OpenDialog1(), page, Table(page), StoredPath(page));
        if (!result)
            return;
        // The grid shows the table as it now stands; nothing else is
        // refreshed, and the board is not asked.
        if (result->ok())
            Grid(page)->ShowTable();
        result->throwIfFailed();
    });
}
