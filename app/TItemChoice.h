#pragma once

#include <QObject>

class QAbstractItemView;

// A user's choice in a grid or list as one signal: a mouse click, also on
// the item that is current already, or a move of the current item (by
// keyboard, or by code that selects as a user would). A click that moves
// the current item counts once, not as a move and a click.
//
// The view's own signals are connected by the owner (CurrentChanged from
// its current-item signal, Clicked from its click signal), so that blocking
// the view's signals also keeps a change made by code from counting.
class TItemChoice : public QObject
{
    Q_OBJECT

public:
    explicit TItemChoice(QAbstractItemView* view);

    void CurrentChanged();
    void Clicked();

signals:
    void Chosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_pressing = false;
    bool m_movedByPress = false;
};
