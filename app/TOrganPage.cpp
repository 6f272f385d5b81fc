#include "TOrganPage.h"

#include "TControls.h"
#include "THint.h"
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
}
