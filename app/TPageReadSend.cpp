#include "TPageReadSend.h"

#include "OperationHost.h"
#include "TClickPanel.h"
#include "TForm1.h"
#include "TLowerPage.h"
#include "TMidiCCPage.h"
#include "TOrganPage.h"
#include "TPageArea.h"
#include "TPageTransfer.h"
#include "TPresetPages.h"
#include "TRotaryPage.h"
#include "TStringGrid.h"
#include "TUpperPage.h"
#include "TZr5Com.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>

namespace {
const QString kOrganName = QStringLiteral("Organ");
const QString kRotaryName = QStringLiteral("Rotary");
const QString kMidiCCName = QStringLiteral("MIDI CC");
} // namespace

TPageReadSend::TPageReadSend(TForm1& form) : m_form(form) {}

int TPageReadSend::ShownTab() const
{
    return m_form.PageArea()->PageControl1()->currentIndex();
}

int TPageReadSend::UpperPresetChosen() const
{
    return m_form.PageArea()->UpperPage()->ComboBoxUpperPreset()->currentIndex();
}

int TPageReadSend::LowerPresetChosen() const
{
    return m_form.PageArea()->LowerPage()->ComboBoxLowerPreset()->currentIndex();
}

void TPageReadSend::ReadAllClick()
{
    OperationHost& host = m_form.Host();
    TPageModel& pages = m_form.Pages();
    TPageArea* area = m_form.PageArea();
    host.SetCancelFlag(0);
    host.ConsoleLine(QStringLiteral("Reading all page parameters..."));

    TPageTransfer transfer(m_form.Com(), host);
    bool finished = true;
    switch (ShownTab()) {
    case TPageArea::OrganTab:
        finished = transfer.ReadTable(pages.organ(), kOrganName);
        // A cancelled read shows the rows it got as well.
        area->OrganPage()->StringGrid1()->ShowTable();
        // Among other things this takes the active scan core from the page.
        if (finished)
            m_form.ControlsToState();
        break;
    case TPageArea::RotaryTab:
        finished = transfer.ReadTable(pages.rotary(), kRotaryName);
        area->RotaryPage()->StringGrid2()->ShowTable();
        break;
    case TPageArea::MidiCCTab:
        finished = transfer.ReadTable(pages.midiCC(), kMidiCCName);
        area->MidiCCPage()->StringGrid3()->ShowTable();
        break;
    case TPageArea::UpperTab:
        finished = transfer.ReadPresets(pages.upperPresets(), TPresetPages::kUpperPresetParam,
                                        UpperPresetChosen());
        if (finished)
            m_form.StateToControls();
        break;
    case TPageArea::LowerTab:
        finished = transfer.ReadPresets(pages.lowerPresets(), TPresetPages::kLowerPresetParam,
                                        LowerPresetChosen());
        if (finished)
            m_form.StateToControls();
        break;
    default:
        break; // Advanced and Factory hold no page parameters
    }
    if (!finished)
        return;
    host.SetProgress(0);
    host.ReportDone();
}

void TPageReadSend::SendAllClick()
{
    OperationHost& host = m_form.Host();
    TPageModel& pages = m_form.Pages();
    host.SetCancelFlag(0);
    host.ConsoleLine(QStringLiteral("Writing all page parameters..."));

    TPageTransfer transfer(m_form.Com(), host);
    bool finished = true;
    switch (ShownTab()) {
    case TPageArea::OrganTab:
        finished = transfer.SendTable(pages.organ(), kOrganName);
        break;
    case TPageArea::RotaryTab:
        finished = transfer.SendTable(pages.rotary(), kRotaryName);
        break;
    case TPageArea::MidiCCTab:
        finished = transfer.SendTable(pages.midiCC(), kMidiCCName);
        break;
    case TPageArea::UpperTab:
        // The table is to hold what the sliders and switches show.
        m_form.ControlsToState();
        finished = transfer.SendPresets(pages.upperPresets());
        break;
    case TPageArea::LowerTab:
        m_form.ControlsToState();
        finished = transfer.SendPresets(pages.lowerPresets());
        break;
    default:
        break;
    }
    if (!finished)
        return;
    host.SetProgress(0);
    host.ReportDone();
}

void TPageReadSend::PageControl1Change()
{
    TPageArea* area = m_form.PageArea();
    area->ScrollBar1()->hide();
    area->Panel1()->hide();
    area->ComboBox1()->hide();

    const bool connected = m_form.Link().Connected();
    area->SendAll()->setEnabled(connected);
    area->ReadAll()->setEnabled(connected);

    const int tab = ShownTab();
    const bool pageTab = tab >= TPageArea::OrganTab && tab <= TPageArea::LowerTab;
    area->SendAll()->setVisible(pageTab);
    area->ReadAll()->setVisible(pageTab);
    area->CheckboxEEwrite()->setVisible(pageTab);
    // The board plays the preset the tab shows.
    if (connected && tab == TPageArea::UpperTab)
        m_form.Com().SetParam(TPresetPages::kUpperPresetParam, UpperPresetChosen(), false);
    if (connected && tab == TPageArea::LowerTab)
        m_form.Com().SetParam(TPresetPages::kLowerPresetParam, LowerPresetChosen(), false);

    m_form.StateToControls();
}
