#include "TValueEditors.h"

#include "TClickPanel.h"
#include "TLiveSend.h"
#include "TOrganPage.h"
#include "TPageArea.h"
#include "TPageModel.h"
#include "TRotaryPage.h"
#include "TStringGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>

#include <memory>
#include <vector>

namespace {
const QString kNone = QStringLiteral("None");
const QString kTrackBar = QStringLiteral("TrackBar");
const QString kButton = QStringLiteral("Button");
const QString kCheckBits = QStringLiteral("CheckBits");

// Where an editor sits in the value cell: the first pixels stay free so that
// the number in the cell can be read beside the slider or list.
constexpr int kSliderIndent = 35;
constexpr int kListIndent = 35;
constexpr int kListShrink = 36;
constexpr int kButtonIndent = 50;
constexpr int kButtonShrink = 100;
constexpr int kBitIndent = 36;
constexpr int kBitTop = 3;
constexpr int kBitSize = 15;
} // namespace

TValueEditors::TValueEditors(TPageArea& area) : QObject(nullptr), m_area(area)
{
    // valueChanged and toggled, not only the user's own moves: a slider or
    // box that code sets to a new value runs its step as well. Placement
    // blocks these signals, because it only shows a value.
    connect(m_area.ScrollBar1(), &QScrollBar::valueChanged, this, &TValueEditors::Scrollbar1Change);
    connect(m_area.Panel1(), &TClickPanel::clicked, this, &TValueEditors::Panel1Click);
    // A list selection that code sets runs nothing; only a user's choice does.
    connect(m_area.ComboBox1(), &QComboBox::activated, this, &TValueEditors::ComboBox1Change);
    for (int n = 0; n < 8; ++n) {
        connect(m_area.OrganPage()->CheckBit(n), &QCheckBox::toggled, this,
                &TValueEditors::CheckBitClick);
    }
    connect(m_area.OrganPage(), &TOrganPage::EditorsNeedPlacing, this,
            &TValueEditors::StringGrid1TopLeftChanged);
    connect(m_area.RotaryPage(), &TRotaryPage::EditorsNeedPlacing, this,
            &TValueEditors::StringGrid1TopLeftChanged);
    connect(m_area.RotaryPage(), &TRotaryPage::Scrolled, this,
            &TValueEditors::StringGrid2TopLeftChanged);
    DrawPanel1();
}

void TValueEditors::Bind(TPageModel* model, const TLiveSend* send)
{
    m_model = model;
    m_send = send;
}

TStringGrid* TValueEditors::ShownGrid() const
{
    switch (m_area.PageControl1()->currentIndex()) {
    case TPageArea::OrganTab:
        return m_area.OrganPage()->StringGrid1();
    case TPageArea::RotaryTab:
        return m_area.RotaryPage()->StringGrid2();
    default:
        return nullptr;
    }
}

void TValueEditors::StringGrid1TopLeftChanged()
{
    QString kind = kNone;
    int value = 0;
    int maximum = 255;
    TStringGrid* grid = ShownGrid();
    const int row = grid ? grid->Row() : 0;
    if (grid && grid->Table()) {
        const TPageTable& table = *grid->Table();
        value = table.CellInt(TPageTable::valueColumn, row);
        if (grid == m_area.OrganPage()->StringGrid1()) {
            maximum = table.CellInt(TPageTable::maximumColumn, row);
            if (grid->Col() == TPageTable::valueColumn)
                kind = table.cell(TPageTable::kindColumn, row);
        } else {
            kind = kTrackBar;
        }
    }
    const QRect cell = grid ? grid->CellRect(TPageTable::valueColumn, row) : QRect();

    QScrollBar* slider = m_area.ScrollBar1();
    TClickPanel* panel = m_area.Panel1();
    QComboBox* list = m_area.ComboBox1();
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    quiet.push_back(std::make_unique<QSignalBlocker>(slider));
    quiet.push_back(std::make_unique<QSignalBlocker>(list));
    for (int n = 0; n < 8; ++n)
        quiet.push_back(std::make_unique<QSignalBlocker>(m_area.OrganPage()->CheckBit(n)));

    if (kind == kTrackBar) {
        list->hide();
        // A value beyond the range shows at the nearer end; the cell keeps it.
        slider->setRange(0, qMax(0, maximum));
        slider->setValue(value);
        PlaceOver(slider, grid, cell, kSliderIndent, 0, -kSliderIndent, 0);
    } else {
        slider->hide();
    }

    if (kind == kButton) {
        list->hide();
        m_panelState = value & 0xFF;
        DrawPanel1();
        PlaceOver(panel, grid, cell, kButtonIndent, 0, -kButtonShrink, 0);
    } else {
        panel->hide();
    }

    if (kind == kCheckBits) {
        list->hide();
        for (int n = 0; n < 8; ++n) {
            QCheckBox* box = m_area.OrganPage()->CheckBit(n);
            box->setChecked((value >> n) & 1);
            const QRect boxCell(cell.left() + kBitIndent + kBitSize * (7 - n), cell.top() + kBitTop,
                                kBitSize, kBitSize);
            PlaceOver(box, grid, boxCell, 0, 0, 0, 0);
        }
    } else {
        for (int n = 0; n < 8; ++n)
            m_area.OrganPage()->CheckBit(n)->hide();
    }

    if (kind == kNone) {
        list->hide();
    } else if (kind != kTrackBar && kind != kButton && kind != kCheckBits) {
        // Any other kind names a menu. A kind that names none (an empty
        // cell, a misspelt name) would offer an empty list, so none shows.
        if (!m_model || !m_model->menus().hasMenu(kind)) {
            list->hide();
            return;
        }
        // The list is built for the first row placed after another menu; a
        // second row of the same menu with another maximum shares it.
        if (kind != m_loadedMenuName) {
            m_loadedMenuName = kind;
            list->clear();
            list->addItems(m_model->MenuEntriesForOrganRow(row));
        }
        list->setCurrentIndex(value >= 0 && value < list->count() ? value : -1);
        PlaceOver(list, grid, cell, kListIndent, 0, -kListShrink, 0);
    }
}

void TValueEditors::StringGrid2TopLeftChanged()
{
    TStringGrid* grid = m_area.RotaryPage()->StringGrid2();
    QScrollBar* slider = m_area.ScrollBar1();
    slider->setMaximum(255);
    PlaceOver(slider, grid, grid->CellRect(TPageTable::valueColumn, grid->Row()), kSliderIndent, 0,
              -kSliderIndent, 0);
}

void TValueEditors::PlaceOver(QWidget* editor, const TStringGrid* grid, const QRect& cell, int dx,
                              int dy, int dw, int dh) const
{
    if (!grid || !cell.isValid() || !grid->viewport()->rect().contains(cell)) {
        editor->hide();
        return;
    }
    const QPoint topLeft = grid->viewport()->mapTo(editor->parentWidget(), cell.topLeft());
    editor->setGeometry(topLeft.x() + dx, topLeft.y() + dy, cell.width() + dw, cell.height() + dh);
    editor->show();
    editor->raise();
}

void TValueEditors::DrawPanel1()
{
    TClickPanel* panel = m_area.Panel1();
    const bool on = m_panelState != 0;
    QPalette colours = panel->palette();
    colours.setColor(QPalette::Window, on ? QColor(0, 255, 0) : QColor(0, 128, 0));
    colours.setColor(QPalette::WindowText, on ? QColor(Qt::white) : QColor(Qt::black));
    panel->setPalette(colours);
    panel->setText(on ? QStringLiteral("ON") : QStringLiteral("OFF"));
    panel->setFrameShadow(on ? QFrame::Sunken : QFrame::Raised);
}

void TValueEditors::WriteSelected(TStringGrid* grid, int value)
{
    if (!grid || !grid->Table())
        return;
    const int row = grid->Row();
    grid->SetCell(grid->Col(), row, QString::number(value));
    if (m_send)
        m_send->Send(*grid->Table(), row, value);
}

void TValueEditors::Scrollbar1Change(int position)
{
    WriteSelected(ShownGrid(), position);
}

void TValueEditors::Panel1Click()
{
    m_panelState = m_panelState != 0 ? 0 : 255;
    TStringGrid* organ = m_area.OrganPage()->StringGrid1();
    const int row = organ->Row();
    organ->SetCell(organ->Col(), row, QString::number(m_panelState));
    DrawPanel1();
    if (m_send && organ->Table())
        m_send->Send(*organ->Table(), row, m_panelState);
    StringGrid1TopLeftChanged();
}

void TValueEditors::ComboBox1Change(int index)
{
    WriteSelected(m_area.OrganPage()->StringGrid1(), index);
}

void TValueEditors::CheckBitClick()
{
    TStringGrid* organ = m_area.OrganPage()->StringGrid1();
    if (!organ->Table())
        return;
    // Only the low eight bits are shown; the ones above stay as they were.
    int value = organ->Table()->CellInt(organ->Col(), organ->Row());
    for (int n = 0; n < 8; ++n) {
        if (m_area.OrganPage()->CheckBit(n)->isChecked())
            value |= 1 << n;
        else
            value &= ~(1 << n);
    }
    WriteSelected(organ, value);
}
