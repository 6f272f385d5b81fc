#pragma once

#include <QWidget>

class TStringGrid;

// Tab "Rotary": the rotary table grid.
class TRotaryPage : public QWidget
{
    Q_OBJECT

public:
    explicit TRotaryPage(QWidget* parent = nullptr);

    TStringGrid* StringGrid2() const { return m_grid; }

private:
    TStringGrid* m_grid;
};
