#pragma once

#include <QWidget>

class TPageModel;
class TStringGrid;

// Tab "Rotary": the rotary table grid. Every row is edited with the slider
// of the page area's value editors.
class TRotaryPage : public QWidget
{
    Q_OBJECT

public:
    explicit TRotaryPage(QWidget* parent = nullptr);

    TStringGrid* StringGrid2() const { return m_grid; }

    void Bind(TPageModel* model);

    // A click on a cell (also the selected one) or a keyboard move.
    void StringGrid2Click();

signals:
    void EditorsNeedPlacing();
    // The grid scrolled: the slider follows its cell.
    void Scrolled();

private:
    TStringGrid* m_grid;
};
