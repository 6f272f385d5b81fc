#include "TIdentificationView.h"

#include "TAdvancedPage.h"
#include "TBoardInfoBox.h"
#include "TForm1.h"
#include "TOrganPage.h"
#include "TPageArea.h"
#include "TValueEditors.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

TIdentificationView::TIdentificationView(TForm1& form) : m_form(form) {}

void TIdentificationView::ShowFpgaVersion(const QString& text)
{
    m_form.BoardInfoBox()->FPGAversion()->setText(text);
}

void TIdentificationView::ShowFirmwareVersion(const QString& text)
{
    m_form.BoardInfoBox()->EditFirmwareVersion()->setText(text);
}

void TIdentificationView::ShowSerialNumber(const QString& text)
{
    m_form.BoardInfoBox()->EditSerialNumber()->setText(text);
}

void TIdentificationView::ShowOwner(const QString& text)
{
    m_form.BoardInfoBox()->EditUserName()->setText(text);
}

void TIdentificationView::ShowScanCore(int index)
{
    QComboBox* list = m_form.BoardInfoBox()->ComboBoxScanDetected();
    // A number the list has no item for shows an empty readout, not the old one.
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

void TIdentificationView::SetOrganValueOf(int number, int value)
{
    m_form.PageArea()->OrganPage()->SetOrganValueOf(number, value, &m_form.Host());
}

void TIdentificationView::PlaceEditors()
{
    m_form.PageArea()->ValueEditors()->StringGrid1TopLeftChanged();
}

void TIdentificationView::SetUploadButtonsEnabled(bool enabled)
{
    TAdvancedPage* advanced = m_form.PageArea()->AdvancedPage();
    advanced->BtnScanCore()->setEnabled(enabled);
    advanced->BtnDSP()->setEnabled(enabled);
}

QString TIdentificationView::OwnerText() const
{
    return m_form.BoardInfoBox()->EditUserName()->text();
}

QString TIdentificationView::SerialNumberText() const
{
    return m_form.BoardInfoBox()->EditSerialNumber()->text();
}

QString TIdentificationView::FirmwareVersionText() const
{
    return m_form.BoardInfoBox()->EditFirmwareVersion()->text();
}

QString TIdentificationView::FpgaVersionText() const
{
    return m_form.BoardInfoBox()->FPGAversion()->text();
}

QString TIdentificationView::ScanCoreText() const
{
    return m_form.BoardInfoBox()->ComboBoxScanDetected()->currentText();
}
