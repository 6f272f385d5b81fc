#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;

// "Select USB Device": the attached cables, one row each; the connect flow
// fills it and opens the row the user confirms.
class Tdeviceselectbox : public QDialog
{
    Q_OBJECT

public:
    explicit Tdeviceselectbox(QWidget* parent = nullptr);

    QTreeWidget* ListView1() const { return m_list; }
    QPushButton* OKButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

    void ClearDevices();
    void AddDevice(const QString& caption, const QString& serial, const QString& description);
    void SelectRow(int row);
    // -1 when no row is selected.
    int SelectedRow() const;

    // Confirmed only with a row selected.
    void OKButtonClick();
    void CancelButtonClick();
    void ListView1DblClick();

private:
    QLabel* m_label;
    QTreeWidget* m_list;
    QPushButton* m_okButton;
    QPushButton* m_cancelButton;
};
