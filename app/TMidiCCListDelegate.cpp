#include "TMidiCCListDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

TMidiCCListDelegate::TMidiCCListDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void TMidiCCListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    MidiCCListBoxDrawItem(painter, option, index);
}

QSize TMidiCCListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    return QSize(kTextLeft + option.fontMetrics.horizontalAdvance(text) + 4, kItemHeight);
}

void TMidiCCListDelegate::MidiCCListBoxDrawItem(QPainter* painter,
                                                const QStyleOptionViewItem& option,
                                                const QModelIndex& index) const
{
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QRect& rect = option.rect;

    painter->save();
    painter->fillRect(rect, selected ? option.palette.highlight() : option.palette.base());

    QStyleOptionButton radio;
    radio.direction = option.direction;
    radio.palette = option.palette;
    radio.fontMetrics = option.fontMetrics;
    radio.rect = QRect(rect.left() + kRadioLeft, rect.top(), kRadioWidth, rect.height());
    radio.state =
        (option.state & QStyle::State_Enabled) | (selected ? QStyle::State_On : QStyle::State_Off);
    style->drawPrimitive(QStyle::PE_IndicatorRadioButton, &radio, painter, widget);

    painter->setFont(option.font);
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect textRect(rect.left() + kTextLeft, rect.top() + kTextTop,
                         qMax(0, rect.width() - kTextLeft), qMax(0, rect.height() - kTextTop));
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}
