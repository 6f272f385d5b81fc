#include "TMidiCCPage.h"

#include "TControls.h"
#include "THint.h"
#include "TPageModel.h"
#include "TStringGrid.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QToolTip>

TMidiCCPage::TMidiCCPage(QWidget* parent)
    : QWidget(parent), m_grid(new TStringGrid("StringGrid3", 129, 4, 2, 40, this)),
      m_list(new QListWidget(this)),
      m_editMidiRec(TControls::ReadOnlyEdit(this, "EditMidiRec", QString(),
                                            "Last MIDI control change received")),
      m_gauge(new QProgressBar(this)), m_hint(TControls::Label(this, "MIDIccHint", "Description"))
{
    setObjectName("TabSheet3");
    THint::Apply(m_grid, "MIDI CC translation table - Enter ZR5 parameter number");
    m_grid->SetColWidth(1, 186);

    m_list->setObjectName("MidiCCListBox");
    QFont small = m_list->font();
    small.setPixelSize(11);
    m_list->setFont(small);
    m_list->setUniformItemSizes(true);

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
}

void TMidiCCPage::Bind(TPageModel* model)
{
    m_model = model;
    m_grid->BindTable(model ? &model->midiCC() : nullptr);
    ShowMidiTargets();
}

void TMidiCCPage::ShowMidiTargets()
{
    m_list->clear();
    if (m_model)
        m_list->addItems(m_model->midiTargets().displayNames());
}
