#pragma once

#include "BoardOptions.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <deque>

// A ZR5 board as the program sees it over the serial line, without widgets,
// threads or I/O of its own. Bytes from the host are fed in with the time they
// were sent; reply bytes come out with the time they reach the host. Time is
// in microseconds on the caller's clock.
class BoardEngine
{
public:
    explicit BoardEngine(BoardOptions options = {});

    BoardOptions& options() { return m_options; }

    // Bytes written by the host at nowUs.
    void feed(const QByteArray& bytes, qint64 nowUs);

    // Reply bytes that have reached the host by nowUs.
    qsizetype available(qint64 nowUs) const;
    QByteArray take(qsizetype max, qint64 nowUs);
    // Drops the bytes that have reached the host by nowUs (the host's receive
    // purge); bytes still on their way arrive later.
    void dropArrived(qint64 nowUs);
    // Time at which the next reply byte reaches the host, -1 when none is due.
    qint64 nextArrivalUs() const;

    // Every line the board took, with the time its CR arrived.
    struct ReceivedLine {
        QByteArray text;
        qint64 atUs;
    };
    const QList<ReceivedLine>& receivedLines() const { return m_received; }
    void clearReceived() { m_received.clear(); }

    // The parameter store: current values, and which of them survive a reset.
    int value(int number) const;
    void setValue(int number, int value, bool nonVolatile);
    bool isNonVolatile(int number) const;
    // Volatile values fall back to their stored (non-volatile) values.
    void reset();

    // Bytes of one wire character at 57 600 bit/s 8N1.
    static constexpr qint64 kByteUs = 174; // 10 bits / 57600 bit/s, rounded

private:
    void lineReceived(const QByteArray& line, qint64 atUs);
    void reply(const QByteArray& text, qint64 atUs);
    void queue(const QByteArray& bytes, qint64 startUs);
    void loadState();
    void saveState() const;

    BoardOptions m_options;
    struct OutByte {
        char byte;
        qint64 atUs;
    };
    std::deque<OutByte> m_out;
    QByteArray m_line;
    qint64 m_inputFreeUs = 0; // when the next host byte can start arriving
    QList<ReceivedLine> m_received;
    QMap<int, int> m_values;   // current
    QMap<int, int> m_stored;   // non-volatile
    bool m_writeEnabled = false;
    int m_readinessPolls = 0;
};
