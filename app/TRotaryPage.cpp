#include "TRotaryPage.h"

#include "THint.h"
#include "TPageModel.h"
#include "TStringGrid.h"

#include <QVBoxLayout>

TRotaryPage::TRotaryPage(QWidget* parent)
    : QWidget(parent), m_grid(new TStringGrid("StringGrid2", 129, 3, 2, 32, this))
{
    setObjectName("TabSheet2");
    THint::Apply(m_grid, "Organ default settings - Click on value to edit");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_grid);

    connect(m_grid, &TStringGrid::cellClicked, this, &TRotaryPage::StringGrid2Click);
    connect(m_grid, &TStringGrid::currentCellChanged, this, &TRotaryPage::StringGrid2Click);
    connect(m_grid, &TStringGrid::TopLeftChanged, this, &TRotaryPage::Scrolled);
}

void TRotaryPage::Bind(TPageModel* model)
{
    m_grid->BindTable(model ? &model->rotary() : nullptr);
}

void TRotaryPage::StringGrid2Click()
{
    emit EditorsNeedPlacing();
}
