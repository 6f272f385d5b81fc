#include "TAboutBox.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent), m_programIcon(new QLabel(this)), m_version(new QLabel(kVersionText, this)),
      m_comments(new QPlainTextEdit(this)), m_okButton(new QPushButton("OK", this))
{
    setObjectName("AboutBox");
    setWindowTitle("About ZR5 Remote");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_programIcon->setObjectName("ProgramIcon");
    const QIcon icon = QApplication::windowIcon().isNull()
                           ? style()->standardIcon(QStyle::SP_ComputerIcon)
                           : QApplication::windowIcon();
    m_programIcon->setPixmap(icon.pixmap(48, 48));

    QLabel* product = new QLabel("ZR5 Remote", this);
    product->setObjectName("ProductName");
    QFont productFont = product->font();
    productFont.setBold(true);
    product->setFont(productFont);

    m_version->setObjectName("Version");

    m_comments->setObjectName("Comments");
    m_comments->setReadOnly(true);
    m_comments->setPlainText(
        QStringList{"Update/Remote Utility for ZR5 Organ Module", "",
                    "Requires ZR5 firmware 3.52 and up for edit mode. FPGA and ",
                    "AVR update also work on older versions.",
                    "See README.md of ZR5 Remote for details on installation and usage."}
            .join('\n'));
    m_comments->setFixedSize(380, 110);

    m_okButton->setObjectName("OKButton");
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_programIcon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(product, 0, 1);
    layout->addWidget(m_version, 1, 1);
    layout->addWidget(m_comments, 2, 0, 1, 2);
    layout->addWidget(m_okButton, 3, 0, 1, 2, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
