#pragma once

#include <QWidget>

#include <array>

class QCheckBox;
class TStringGrid;

// Tab "Organ": the organ table grid and the eight bit boxes that float over
// a "CheckBits" row.
class TOrganPage : public QWidget
{
    Q_OBJECT

public:
    explicit TOrganPage(QWidget* parent = nullptr);

    TStringGrid* StringGrid1() const { return m_grid; }
    // Bit n of the value, n from 0 to 7.
    QCheckBox* CheckBit(int n) const { return m_bits[static_cast<size_t>(n)]; }

private:
    TStringGrid* m_grid;
    std::array<QCheckBox*, 8> m_bits{};
};
