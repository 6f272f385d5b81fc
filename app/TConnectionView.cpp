#include "TConnectionView.h"

#include "TConsole.h"
#include "TFactoryPage.h"
#include "TForm1.h"
#include "TPageArea.h"
#include "TTopStrip.h"
#include "Tdeviceselectbox.h"

#include <QLineEdit>
#include <QTabWidget>

TConnectionView::TConnectionView(TForm1& form, Chooser chooser)
    : m_form(form), m_chooser(std::move(chooser))
{
}

int TConnectionView::RememberedOrFirst(int remembered, int rowCount)
{
    if (rowCount <= 0)
        return -1;
    return remembered >= 0 && remembered < rowCount ? remembered : 0;
}

int TConnectionView::ChooseDevice(const QList<DeviceRow>& rows)
{
    if (m_automatic)
        return RememberedOrFirst(m_form.ZR5Record().Device, int(rows.size()));
    if (m_chooser)
        return m_chooser(rows);
    return AskWithDialog(rows);
}

int TConnectionView::AskWithDialog(const QList<DeviceRow>& rows)
{
    Tdeviceselectbox* box = m_form.DeviceSelectBox();
    if (!box)
        return -1;
    box->ClearDevices();
    for (const DeviceRow& row : rows)
        box->AddDevice(row.caption, row.serial, row.description);
    box->SelectRow(0);
    if (box->exec() != QDialog::Accepted)
        return -1;
    return box->SelectedRow();
}

void TConnectionView::ClearConsole()
{
    m_form.Console().ClearConsole();
}

void TConnectionView::SetDeviceView(const QString& text)
{
    m_form.TopStrip()->DeviceView()->setText(text);
}

void TConnectionView::ShowDevice(int device)
{
    m_form.PageArea()->FactoryPage()->EditFTDIdevice()->setText(QString::number(device));
}

void TConnectionView::ShowComPort(int comPort)
{
    m_form.PageArea()->FactoryPage()->EditFTDIcom()->setText(QString::number(comPort));
}

void TConnectionView::ShowFirstTab()
{
    m_form.PageArea()->PageControl1()->setCurrentIndex(TPageArea::OrganTab);
}

void TConnectionView::ShowConnectedState()
{
    m_form.ShowConnectedState();
}

void TConnectionView::ShowDisconnectedState()
{
    m_form.ShowDisconnectedState();
}

void TConnectionView::ReadBoardInfo()
{
    m_form.ReadBoardInfo();
}

void TConnectionView::ShowBoardInfo()
{
    m_form.ShowBoardInfo();
}

void TConnectionView::ReadDisplayedPage()
{
    m_form.ReadAllClick();
}
