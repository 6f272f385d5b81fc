#pragma once

#include <QColor>
#include <QGroupBox>

class OperationHost;
class QFrame;
class QProgressBar;
class QPushButton;

// The progress bar, the Cancel button that holds the cancel flag as its tag,
// and the busy lamp.
class TProgressBox : public QGroupBox
{
    Q_OBJECT

public:
    static constexpr int kDefaultMaximum = 128;
    static inline const QColor kLedDesign{0, 64, 0};
    static inline const QColor kLedOn{255, 16, 0};
    static inline const QColor kLedOff{32, 0, 0};

    explicit TProgressBox(QWidget* parent = nullptr);

    // Cancel reports through the window's console.
    void SetHost(OperationHost* host) { m_host = host; }

    QProgressBar* TransferProgress() const { return m_progress; }
    QPushButton* BtnCancel() const { return m_btnCancel; }
    QFrame* LEDbusy() const { return m_ledBusy; }

    // 0 = run, 1 = the user asked to cancel.
    int CancelFlag() const;
    void SetCancelFlag(int flag);

    void SetProgress(int position);
    void SetProgressMax(int maximum);

    void SetBusyLed(bool on);
    QColor BusyLedColor() const;
    int BusyLedCountdown() const { return m_busyLedCountdown; }
    void SetBusyLedCountdown(int ticks) { m_busyLedCountdown = ticks; }

    void BtnCancelClick();

private:
    void SetLedColor(const QColor& colour);

    QProgressBar* m_progress;
    QPushButton* m_btnCancel;
    QFrame* m_ledBusy;
    OperationHost* m_host = nullptr;
    int m_busyLedCountdown = 0;
};
