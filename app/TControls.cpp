#include "TControls.h"

#include "THint.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
template <typename W> W* named(W* widget, const QString& name, const QString& hint)
{
    widget->setObjectName(name);
    if (!hint.isEmpty())
        THint::Apply(widget, hint);
    return widget;
}
} // namespace

QPushButton* TControls::Button(QWidget* parent, const QString& name, const QString& caption,
                               const QString& hint)
{
    auto* button = named(new QPushButton(caption, parent), name, hint);
    button->setAutoDefault(false);
    return button;
}

QCheckBox* TControls::CheckBox(QWidget* parent, const QString& name, const QString& caption,
                               const QString& hint)
{
    return named(new QCheckBox(caption, parent), name, hint);
}

QLabel* TControls::Label(QWidget* parent, const QString& name, const QString& text)
{
    return named(new QLabel(text, parent), name, {});
}

QLineEdit* TControls::Edit(QWidget* parent, const QString& name, const QString& text,
                           const QString& hint)
{
    return named(new QLineEdit(text, parent), name, hint);
}

QLineEdit* TControls::ReadOnlyEdit(QWidget* parent, const QString& name, const QString& text,
                                   const QString& hint)
{
    QLineEdit* edit = Edit(parent, name, text, hint);
    edit->setReadOnly(true);
    return edit;
}

QComboBox* TControls::List(QWidget* parent, const QString& name, const QStringList& items,
                           int index, const QString& hint)
{
    auto* list = named(new QComboBox(parent), name, hint);
    list->setEditable(false);
    list->addItems(items);
    list->setCurrentIndex(index);
    return list;
}
