#include "TMidiCCPage.h"

#include "TControls.h"
#include "THint.h"
#include "TItemChoice.h"
#include "TMidiCCListDelegate.h"
#include "TMidiCCRow.h"
#include "TPageModel.h"
#include "TStringGrid.h"
#include "TZr5Com.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QToolTip>

TMidiCCPage::TMidiCCPage(QWidget* parent)
    : QWidget(parent), m_grid(new TStringGrid("StringGrid3", 129, 4, 2, 40, this)),
      m_list(new QListWidget(this)),
      m_editMidiRec(TControls::ReadOnlyEdit(this, "EditMidiRec", QString(),
                                            "Last MIDI control change received")),
      m_gauge(new QProgressBar(this)), m_hint(TControls::Label(this, "MIDIccHint", "Description")),
      m_gridChoice(new TItemChoice(m_grid)), m_listChoice(new TItemChoice(m_list))
{
    setObjectName("TabSheet3");
    THint::Apply(m_grid, "MIDI CC translation table - Enter ZR5 parameter number");
    m_grid->SetColWidth(1, 186);

    m_list->setObjectName("MidiCCListBox");
    QFont small = m_list->font();
    small.setPixelSize(11);
    m_list->setFont(small);
    m_list->setUniformItemSizes(true);
    m_list->setItemDelegate(new TMidiCCListDelegate(m_list));

    m_gauge->setObjectName("GaugeMIDIdata");
    m_gauge->setRange(0, 127);
    m_gauge->setValue(0);
    m_gauge->setTextVisible(false);
    QPalette gaugeColours = m_gauge->palette();
    gaugeColours.setColor(QPalette::Highlight, QColor(0, 128, 128));
    gaugeColours.setColor(QPalette::Base, QToolTip::palette().color(QPalette::ToolTipBase));
    gaugeColours.setColor(QPalette::Window, QToolTip::palette().color(QPalette::ToolTipBase));
    m_gauge->setPalette(gaugeColours);

    m_hint->setMinimumWidth(300);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_grid, 0, 0, 5, 1);
    layout->addWidget(m_list, 0, 1);
    layout->addWidget(m_editMidiRec, 1, 1);
    layout->addWidget(TControls::Label(this, "LabelMidiData", "MIDI data received"), 2, 1);
    layout->addWidget(m_gauge, 3, 1);
    layout->addWidget(m_hint, 5, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(0, 1);

    connect(m_grid, &TStringGrid::currentCellChanged, m_gridChoice, &TItemChoice::CurrentChanged);
    connect(m_grid, &TStringGrid::cellClicked, m_gridChoice, &TItemChoice::Clicked);
    connect(m_gridChoice, &TItemChoice::Chosen, this, &TMidiCCPage::StringGrid3Click);
    connect(m_grid, &TStringGrid::SetEditText, this, &TMidiCCPage::StringGrid3SetEditText);
    connect(m_grid, &TStringGrid::EditorClosed, this, &TMidiCCPage::StringGrid3SetEditText);

    connect(m_list, &QListWidget::currentRowChanged, m_listChoice, &TItemChoice::CurrentChanged);
    connect(m_list, &QListWidget::itemClicked, m_listChoice, &TItemChoice::Clicked);
    connect(m_listChoice, &TItemChoice::Chosen, this, &TMidiCCPage::MidiCCListBoxClick);
}

void TMidiCCPage::Bind(TPageModel* model)
{
    m_model = model;
    m_grid->BindTable(model ? &model->midiCC() : nullptr);
    ShowMidiTargets();
}

void TMidiCCPage::SetBoard(TZr5Com* com, const QCheckBox* nonVolatile)
{
    m_com = com;
    m_nonVolatile = nonVolatile;
}

void TMidiCCPage::ShowMidiTargets()
{
    // Filling the list is no choice of the user's.
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    if (m_model)
        m_list->addItems(m_model->midiTargets().displayNames());
}

void TMidiCCPage::StringGrid3Click()
{
    const int row = m_grid->Row();
    if (!m_model || row < 1)
        return;
    const TMidiCCRow::Step step =
        TMidiCCRow::Describe(m_model->midiCC(), m_model->midiTargets(), row);
    {
        // Showing the row's target is no list choice.
        const QSignalBlocker quiet(m_list);
        if (step.listIndex >= 0 && step.listIndex < m_list->count()) {
            m_list->setCurrentRow(step.listIndex);
            m_list->scrollToItem(m_list->item(step.listIndex));
        } else {
            m_list->setCurrentRow(-1);
            m_list->clearSelection();
        }
    }
    m_hint->setText(step.hint);
    if (step.parameter && m_com && m_com->Connected())
        m_com->SetParam(*step.parameter, step.value, m_nonVolatile && m_nonVolatile->isChecked());
}

void TMidiCCPage::StringGrid3SetEditText(int col, int row, const QString& text)
{
    Q_UNUSED(col);
    Q_UNUSED(row);
    Q_UNUSED(text);
    // The grid has written the text into the table already; the step reads
    // the selected row's target, whichever cell was typed into.
    StringGrid3Click();
}

void TMidiCCPage::MidiCCListBoxClick()
{
    const int index = m_list->currentRow();
    const int row = m_grid->Row();
    if (!m_model || index < 0 || row < 1)
        return;
    m_grid->SetCell(TPageTable::valueColumn, row, m_model->midiTargets().targetAt(index));
    StringGrid3Click();
}

void TMidiCCPage::MidiMonitorStep(int reply)
{
    const int lastRow = m_model ? m_model->midiCC().dataRowCount() : 0;
    const TMidiMonitor::Step step = m_monitor.Take(reply, lastRow);
    m_editMidiRec->setText(step.text);
    if (step.row < 1)
        return;
    // A row that is not selected yet runs the row step, write included.
    m_grid->SetRow(step.row);
    m_gauge->setValue(step.value);
}
