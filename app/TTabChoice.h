#pragma once

#include <QObject>

class QTabWidget;

// Tells the user's choice of another tab from a change made by code, which
// the tab widget reports alike: only a change that happens while the user
// presses on the tab bar, uses its keys or wheel, or switches pages by
// keyboard is reported. Code that shows a tab (the connect flow shows the
// Organ page) must not send the preset choice of the Upper or Lower tab.
class TTabChoice : public QObject
{
    Q_OBJECT

public:
    explicit TTabChoice(QTabWidget* tabs);

signals:
    void TabChosen(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CurrentChanged(int index);

    QTabWidget* m_tabs;
    bool m_userInput = false;
};
