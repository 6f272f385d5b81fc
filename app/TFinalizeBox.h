#pragma once

#include <QGroupBox>

class QPushButton;

// The box at the bottom of the right half with the Finalize button.
class TFinalizeBox : public QGroupBox
{
    Q_OBJECT

public:
    explicit TFinalizeBox(QWidget* parent = nullptr);

    QPushButton* BtnWriteBasics() const { return m_btnWriteBasics; }

private:
    QPushButton* m_btnWriteBasics;
};
