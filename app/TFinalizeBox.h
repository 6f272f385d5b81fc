#pragma once

#include <QGroupBox>

#include <functional>

class QPushButton;
class TProduction;

// The box at the bottom of the right half with the Finalize button.
class TFinalizeBox : public QGroupBox
{
    Q_OBJECT

public:
    explicit TFinalizeBox(QWidget* parent = nullptr);

    QPushButton* BtnWriteBasics() const { return m_btnWriteBasics; }

    // Runs a handler so that a raised error ends only the handler.
    using Guard = std::function<bool(const std::function<void()>&)>;
    // "Finalize"; until given, the button does nothing.
    void SetProduction(TProduction* production, Guard guard);
    void BtnWriteBasicsClick();

private:
    QPushButton* m_btnWriteBasics;
    TProduction* m_production = nullptr;
    Guard m_guard;
};
