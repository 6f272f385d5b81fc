#include "TStringGridDelegate.h"

#include <QLineEdit>
#include <QPersistentModelIndex>

TStringGridDelegate::TStringGridDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QWidget* TStringGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                           const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    // textEdited, not textChanged: filling the editor with the cell's text
    // when it opens is no change by the user.
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        const QPersistentModelIndex cell(index);
        connect(line, &QLineEdit::textEdited, this,
                [this, cell](const QString& text) { emit TextEdited(cell, text); });
    }
    return editor;
}
