#pragma once

#include <QWidget>

#include <array>

class OperationHost;
class QCheckBox;
class TLiveSend;
class TPageModel;
class TStringGrid;

// Tab "Organ": the organ table grid and the eight bit boxes that float over
// a "CheckBits" row. The grid's own events live here; the editors that float
// over it are placed by the page area's value editors when asked.
class TOrganPage : public QWidget
{
    Q_OBJECT

public:
    explicit TOrganPage(QWidget* parent = nullptr);

    TStringGrid* StringGrid1() const { return m_grid; }
    // Bit n of the value, n from 0 to 7.
    QCheckBox* CheckBit(int n) const { return m_bits[static_cast<size_t>(n)]; }

    // Shows the model's organ table; typed values go out through send.
    void Bind(TPageModel* model, const TLiveSend* send);

    // Writes value into the organ row that carries parameter number. That row
    // is selected first, which places the editors while the cell still holds
    // its old value; a caller that wants the editor to show the new value
    // places them again. Returns the row, or -1 (then nothing changes, not
    // even the selection).
    int SetOrganValueOf(int number, int value, OperationHost* host = nullptr);

    // A click on a cell (also the selected one) or a keyboard move.
    void StringGrid1Click();
    void StringGrid1KeyPress(QChar key);
    // Every change of the text typed into a cell, and the final text when
    // the cell's editor closes: a "None" row sends its value as it is typed,
    // any other row only changes the cell.
    void StringGrid1SetEditText(int col, int row, const QString& text);

signals:
    void EditorsNeedPlacing();

private:
    TStringGrid* m_grid;
    std::array<QCheckBox*, 8> m_bits{};
    TPageModel* m_model = nullptr;
    const TLiveSend* m_send = nullptr;
};
