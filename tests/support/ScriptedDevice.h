#pragma once

#include <QByteArray>

#include <QList>

#include <deque>
#include <functional>

// A device whose incoming bytes a test schedules on the program clock and
// whose outgoing bytes are recorded with the time they were written. Any
// driver call can be made to fail, to check how callers take failures.
class ScriptedDevice
{
public:
    struct Written {
        QByteArray bytes;
        qint64 atMs;
    };
    enum Call { Reset, Baud, Data, Flow, Read, Write, Queue, Purge, Open, List };

    // Bytes that reach the receive queue at atMs.
    void schedule(const QByteArray& bytes, qint64 atMs);
    // Bytes the program wrote and that the "board" has not taken yet.
    QByteArray sendQueue;
    QList<Written> written;
    QList<quint32> purges;
    quint32 baud = 0;
    quint8 wordLength = 0, stopBits = 0, parity = 0;
    quint16 flow = 0xffff;
    bool failing[List + 1] = {};
    // Runs after every write with the bytes written: lets a test answer
    // commands as a board would.
    std::function<void(const QByteArray&)> onWrite;

    QByteArray allWritten() const;
    qsizetype arrived(qint64 nowMs) const;
    QByteArray take(qsizetype max, qint64 nowMs);
    void dropArrived(qint64 nowMs);
    qint64 nextArrival() const;

private:
    struct Pending {
        char byte;
        qint64 atMs;
    };
    std::deque<Pending> m_incoming;
};
