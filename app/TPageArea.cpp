#include "TPageArea.h"

#include "TAdvancedPage.h"
#include "TClickPanel.h"
#include "TControls.h"
#include "TFactoryPage.h"
#include "THint.h"
#include "TLiveSend.h"
#include "TLowerPage.h"
#include "TMidiCCPage.h"
#include "TOrganPage.h"
#include "TRotaryPage.h"
#include "TStringGrid.h"
#include "TUpperPage.h"
#include "TValueEditors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

TPageArea::TPageArea(QWidget* parent)
    : QWidget(parent),
      m_sendAll(TControls::Button(this, "SendAll", "Send Params",
                                  "Send all params of active tab to ZR5 and store to EEPROM")),
      m_readAll(TControls::Button(this, "ReadAll", "Get Params",
                                  "Read all params from ZR5 to active tab")),
      m_eeWrite(TControls::CheckBox(this, "CheckboxEEwrite", "Non-volatile Write",
                                    "Write changes immediately to non-volatile EEPROM")),
      m_pageControl(new QTabWidget(this)), m_organ(new TOrganPage), m_rotary(new TRotaryPage),
      m_midiCC(new TMidiCCPage), m_upper(new TUpperPage), m_lower(new TLowerPage),
      m_advanced(new TAdvancedPage), m_factory(new TFactoryPage), m_comboBox1(new QComboBox(this)),
      m_panel1(new TClickPanel("Panel1", this)), m_scrollBar1(new QScrollBar(Qt::Horizontal, this))
{
    setObjectName("PageArea");
    m_pageControl->setObjectName("PageControl1");
    THint::Apply(m_pageControl,
                 "Read Params / Write Params will update only displayed page of parameters");
    m_pageControl->addTab(m_organ, "Organ");
    m_pageControl->addTab(m_rotary, "Rotary");
    m_pageControl->addTab(m_midiCC, "MIDI Custom CC");
    m_pageControl->addTab(m_upper, "Upper");
    m_pageControl->addTab(m_lower, "Lower");
    m_pageControl->addTab(m_advanced, "Advanced");
    m_pageControl->addTab(m_factory, "Factory");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_sendAll);
    buttons->addWidget(m_readAll);
    buttons->addWidget(m_eeWrite);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(buttons);
    layout->addWidget(m_pageControl, 1);

    // The editors are children of this area, outside any layout, so that
    // one slider and one list can be placed over either grid.
    m_comboBox1->setObjectName("ComboBox1");
    m_comboBox1->setEditable(false);
    m_comboBox1->setMaxVisibleItems(99);
    QFont listFont = m_comboBox1->font();
    listFont.setPixelSize(10);
    listFont.setBold(true);
    m_comboBox1->setFont(listFont);
    QPalette listColours = m_comboBox1->palette();
    listColours.setColor(QPalette::Text, Qt::blue);
    listColours.setColor(QPalette::ButtonText, Qt::blue);
    m_comboBox1->setPalette(listColours);
    THint::Apply(m_comboBox1, "Select option from drop-down menu");

    THint::Apply(m_panel1, "Click to toggle ON/OFF");

    m_scrollBar1->setObjectName("ScrollBar1");
    m_scrollBar1->setRange(0, 255);
    m_scrollBar1->setPageStep(5);
    m_scrollBar1->setSingleStep(1);

    m_comboBox1->hide();
    m_panel1->hide();
    m_scrollBar1->hide();

    m_liveSend = std::make_unique<TLiveSend>();
    m_editors = std::make_unique<TValueEditors>(*this);
}

TPageArea::~TPageArea() = default;

void TPageArea::Bind(TPageModel* model, TZr5Com* com)
{
    m_liveSend->Bind(com, m_eeWrite);
    m_organ->Bind(model, m_liveSend.get());
    m_rotary->Bind(model);
    m_midiCC->Bind(model);
    m_editors->Bind(model, m_liveSend.get());
}

void TPageArea::ShowPageTables()
{
    m_organ->StringGrid1()->ShowTable();
    m_rotary->StringGrid2()->ShowTable();
    m_midiCC->StringGrid3()->ShowTable();
    m_midiCC->ShowMidiTargets();
}
