#pragma once

#include <QWidget>

class QToolButton;

// An up/down button pair without a value of its own; its owner decides what
// a step changes.
class TSpinButton : public QWidget
{
    Q_OBJECT

public:
    explicit TSpinButton(const QString& name, QWidget* parent = nullptr);

    QToolButton* UpButton() const { return m_up; }
    QToolButton* DownButton() const { return m_down; }

signals:
    void UpClick();
    void DownClick();

private:
    QToolButton* m_up;
    QToolButton* m_down;
};
