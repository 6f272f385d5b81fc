#pragma once

#include <QStyledItemDelegate>

// The entries of MidiCCListBox, drawn by the list itself: the background, a
// radio mark drawn by the style (chosen for the selected entry) at the left
// edge, and the text beside it, at a fixed height.
class TMidiCCListDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int kItemHeight = 18;
    // The radio mark runs from the entry's left edge + 1 to + 13.
    static constexpr int kRadioLeft = 1;
    static constexpr int kRadioWidth = 12;
    static constexpr int kTextLeft = 17;
    static constexpr int kTextTop = 2;

    explicit TMidiCCListDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Draws one entry.
    void MidiCCListBoxDrawItem(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const;
};
