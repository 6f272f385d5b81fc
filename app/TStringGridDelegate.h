#pragma once

#include <QStyledItemDelegate>

// The cell editor of a TStringGrid: a plain line edit that reports every
// change the user makes to its text, not only the final one, because a typed
// value goes to the board while it is being typed.
class TStringGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit TStringGridDelegate(QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

signals:
    // The user changed the text of the editor open over index.
    void TextEdited(const QModelIndex& index, const QString& text) const;
};
