#pragma once

#include <QObject>
#include <QString>

class QRect;
class QWidget;
class TLiveSend;
class TPageArea;
class TPageModel;
class TStringGrid;

// The value editors that float over the value cell of the selected row on
// the Organ and Rotary pages: the slider ScrollBar1, the ON/OFF panel
// Panel1, the drop-down list ComboBox1 and the Organ tab's eight bit boxes.
// The controls are single ones shared by all rows; which one shows is the
// row's editor kind (organ column 3; the rotary page always uses the
// slider).
//
// Placing an editor only shows the row's value. Each edit step writes the
// selected cell and sends the new value at once.
class TValueEditors : public QObject
{
    Q_OBJECT

public:
    explicit TValueEditors(TPageArea& area);

    void Bind(TPageModel* model, const TLiveSend* send);

    // Placement: shows the editor for the selected row of the page shown and
    // hides the others. Writes no cell and sends nothing.
    void StringGrid1TopLeftChanged();
    // The rotary grid scrolled: the slider follows its cell, position kept.
    void StringGrid2TopLeftChanged();

    // The edit steps.
    void Scrollbar1Change(int position);
    void Panel1Click();
    void ComboBox1Change(int index);
    void CheckBitClick();

    // The menu whose entries ComboBox1 holds; empty until one was shown.
    const QString& LoadedMenuName() const { return m_loadedMenuName; }
    // The ON/OFF state: 0 = OFF, anything else ON.
    int Panel1State() const { return m_panelState; }

private:
    TStringGrid* ShownGrid() const;
    // Moves editor over cell (in grid's viewport) by the given offsets and
    // shows it in front; a cell scrolled out of view shows no editor.
    void PlaceOver(QWidget* editor, const TStringGrid* grid, const QRect& cell, int dx, int dy,
                   int dw, int dh) const;
    void DrawPanel1();
    // Writes value into the selected cell of grid and sends it for its row.
    void WriteSelected(TStringGrid* grid, int value);

    TPageArea& m_area;
    TPageModel* m_model = nullptr;
    const TLiveSend* m_send = nullptr;
    QString m_loadedMenuName;
    int m_panelState = 0;
};
