#pragma once

#include <QObject>

class QSocketNotifier;

// Turns the stop signals of a terminal (interrupt, terminate, hang-up) into
// an orderly end of the event loop, so that shut-down still closes the
// device and stops a simulator started with the program. One instance only.
class TStopSignals : public QObject
{
    Q_OBJECT

public:
    explicit TStopSignals(QObject* parent = nullptr);
    ~TStopSignals() override;

signals:
    void StopRequested();

private:
    void SignalArrived();

    QSocketNotifier* m_notifier = nullptr;
};
