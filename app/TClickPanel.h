#pragma once

#include <QLabel>

// A bevelled panel that can be clicked, as the ON/OFF editor of the organ grid.
class TClickPanel : public QLabel
{
    Q_OBJECT

public:
    explicit TClickPanel(const QString& name, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
