#include "TOrganPage.h"

#include "TControls.h"
#include "THint.h"
#include "TLiveSend.h"
#include "TPageModel.h"
#include "TStringGrid.h"

#include <QCheckBox>
#include <QVBoxLayout>

TOrganPage::TOrganPage(QWidget* parent)
    : QWidget(parent), m_grid(new TStringGrid("StringGrid1", 129, 6, 2, 32, this))
{
    setObjectName("TabSheet1");
    THint::Apply(m_grid, "Organ default settings - Click on value to edit");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_grid);

    // Not in the layout: the editor placement puts them over a grid cell.
    for (int n = 0; n < 8; ++n) {
        QCheckBox* box = TControls::CheckBox(
            this, QStringLiteral("CheckBit%1").arg(n), QString(),
            QStringLiteral("Pin %1 is a switch when checked, otherwise button").arg(n + 1));
        box->setFixedSize(15, 15);
        box->hide();
        m_bits[static_cast<size_t>(n)] = box;
    }

    connect(m_grid, &TStringGrid::cellClicked, this, &TOrganPage::StringGrid1Click);
    connect(m_grid, &TStringGrid::currentCellChanged, this, &TOrganPage::StringGrid1Click);
    connect(m_grid, &TStringGrid::KeyPress, this, &TOrganPage::StringGrid1KeyPress);
    connect(m_grid, &TStringGrid::TopLeftChanged, this, &TOrganPage::EditorsNeedPlacing);
    connect(m_grid, &TStringGrid::SetEditText, this, &TOrganPage::StringGrid1SetEditText);
    connect(m_grid, &TStringGrid::EditorClosed, this, &TOrganPage::StringGrid1SetEditText);
}

void TOrganPage::Bind(TPageModel* model, const TLiveSend* send)
{
    m_model = model;
    m_send = send;
    m_grid->BindTable(model ? &model->organ() : nullptr);
}

int TOrganPage::SetOrganValueOf(int number, int value, OperationHost* host)
{
    if (!m_model)
        return -1;
    const int row = m_model->organ().RowOfParameter(number);
    if (row >= 1)
        m_grid->SetRow(row);
    const int written = m_model->SetOrganValueOf(number, value, host);
    if (written >= 1) {
        m_grid->SetCell(TPageTable::valueColumn, written,
                        m_model->organ().cell(TPageTable::valueColumn, written));
    }
    return written;
}

void TOrganPage::StringGrid1Click()
{
    emit EditorsNeedPlacing();
}

void TOrganPage::StringGrid1KeyPress(QChar key)
{
    if (key == QChar(13))
        emit EditorsNeedPlacing();
}

void TOrganPage::StringGrid1SetEditText(int col, int row, const QString& text)
{
    Q_UNUSED(col);
    Q_UNUSED(text);
    if (!m_model || !m_send)
        return;
    // The grid has written the text into the table already; only the value
    // column goes out, whichever cell of the row was typed into.
    const TPageTable& organ = m_model->organ();
    if (organ.cell(TPageTable::kindColumn, row) == QLatin1String("None"))
        m_send->Send(organ, row, organ.CellInt(TPageTable::valueColumn, row));
}
