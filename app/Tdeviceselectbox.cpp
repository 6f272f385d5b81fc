#include "Tdeviceselectbox.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

Tdeviceselectbox::Tdeviceselectbox(QWidget* parent)
    : QDialog(parent), m_label(new QLabel("Select FTDI Cable or  FT232R device:", this)),
      m_list(new QTreeWidget(this)), m_okButton(new QPushButton("OK", this)),
      m_cancelButton(new QPushButton("Cancel", this))
{
    setObjectName("deviceselectbox");
    setWindowTitle("Select USB Device");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_label->setObjectName("Label1");

    m_list->setObjectName("ListView1");
    m_list->setColumnCount(3);
    m_list->setHeaderLabels({"USB Device", "FTDI Serial", "Description"});
    m_list->setColumnWidth(0, 100);
    m_list->setColumnWidth(1, 100);
    m_list->setColumnWidth(2, 250);
    m_list->header()->setStretchLastSection(false);
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setAllColumnsShowFocus(true);
    m_list->setFixedSize(100 + 100 + 250 + 2 * m_list->frameWidth() + 20, 160);

    m_okButton->setObjectName("OKButton");
    m_okButton->setDefault(true);
    m_cancelButton->setObjectName("CancelButton");
    m_cancelButton->setAutoDefault(false);

    connect(m_okButton, &QPushButton::clicked, this, &Tdeviceselectbox::OKButtonClick);
    connect(m_cancelButton, &QPushButton::clicked, this, &Tdeviceselectbox::CancelButtonClick);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &Tdeviceselectbox::ListView1DblClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void Tdeviceselectbox::ClearDevices()
{
    m_list->clear();
}

void Tdeviceselectbox::AddDevice(const QString& caption, const QString& serial,
                                 const QString& description)
{
    new QTreeWidgetItem(m_list, {caption, serial, description});
}

void Tdeviceselectbox::SelectRow(int row)
{
    m_list->clearSelection();
    if (QTreeWidgetItem* item = m_list->topLevelItem(row)) {
        m_list->setCurrentItem(item);
        item->setSelected(true);
    }
}

int Tdeviceselectbox::SelectedRow() const
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->indexOfTopLevelItem(selected.first());
}

void Tdeviceselectbox::OKButtonClick()
{
    done(SelectedRow() >= 0 ? QDialog::Accepted : QDialog::Rejected);
}

void Tdeviceselectbox::CancelButtonClick()
{
    reject();
}

void Tdeviceselectbox::ListView1DblClick()
{
    OKButtonClick();
}
