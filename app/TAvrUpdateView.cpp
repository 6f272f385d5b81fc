#include "TAvrUpdateView.h"

#include "TForm1.h"
#include "TMidiCCPage.h"
#include "TOrganPage.h"
#include "TPageArea.h"
#include "TStringGrid.h"
#include "TTopStrip.h"

#include <QLineEdit>

void TAvrUpdateView::ShowConnectedState()
{
    m_form.ShowConnectedState();
}

void TAvrUpdateView::ShowDisconnectedState()
{
    m_form.ShowDisconnectedState();
}

void TAvrUpdateView::SetDeviceView(const QString& text)
{
    m_form.TopStrip()->DeviceView()->setText(text);
}

void TAvrUpdateView::Repaint()
{
    m_form.repaint();
}

void TAvrUpdateView::ShowTables()
{
    m_form.PageArea()->OrganPage()->StringGrid1()->ShowTable();
    m_form.PageArea()->MidiCCPage()->StringGrid3()->ShowTable();
}

void TAvrUpdateView::StateToControls()
{
    m_form.StateToControls();
}

void TAvrUpdateView::ControlsToState()
{
    m_form.ControlsToState();
}
