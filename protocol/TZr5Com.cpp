#include "TZr5Com.h"

#include "Clock.h"
#include "EZr5Error.h"
#include "OperationHost.h"
#include "TDecimal.h"
#include "TLink.h"

#include <QLocale>

#include <cmath>

const QString TZr5Com::NoReply = QStringLiteral("-9999");

namespace {
constexpr char CR = '\r';
} // namespace

TZr5Com::TZr5Com(TLink& link, OperationHost& host) : m_link(link), m_host(host) {}

bool TZr5Com::Connected() const
{
    return m_link.Connected();
}

void TZr5Com::SetError(TErrorKind kind)
{
    m_errorKind = kind;
    ++m_errorCount;
}

void TZr5Com::ResetErrors()
{
    m_errorKind = TErrorKind::noErr;
    m_errorCount = 0;
}

void TZr5Com::WriteRaw(const QByteArray& bytes)
{
    tftdichip* ftdi = m_link.Ftdi();
    if (!ftdi)
        return;
    quint32 written = 0;
    ftdi->write(bytes.constData(), static_cast<quint32>(bytes.size()), written);
}

void TZr5Com::PurgeReceive()
{
    if (tftdichip* ftdi = m_link.Ftdi())
        ftdi->purgeQueue(fReceiveQueue);
}

void TZr5Com::SendByte(quint8 byte)
{
    WriteRaw(QByteArray(1, static_cast<char>(byte)));
}

void TZr5Com::SendBytes(const QByteArray& bytes)
{
    WriteRaw(bytes);
}

quint8 TZr5Com::ReadByte()
{
    tftdichip* ftdi = m_link.Ftdi();
    if (!ftdi)
        return 0;
    Clock& clock = Clock::current();
    const qint64 deadline = clock.nowMs() + 500;
    for (;;) {
        quint32 waiting = 0;
        if (ftdi->getReceiveQueueStatus(waiting) && waiting > 0) {
            char c = 0;
            quint32 got = 0;
            if (ftdi->read(&c, 1, got) && got == 1)
                return static_cast<quint8>(c);
        }
        const qint64 now = clock.nowMs();
        if (now > deadline)
            return 0;
        if (!ftdi->waitForByte(static_cast<quint32>(deadline + 1 - now)))
            clock.sleepMs(deadline + 1 - clock.nowMs());
    }
}

QString TZr5Com::ReadReply(int timeoutMs)
{
    tftdichip* ftdi = m_link.Ftdi();
    if (!ftdi)
        return NoReply;
    Clock& clock = Clock::current();
    const qint64 deadline = clock.nowMs() + timeoutMs;
    QByteArray text;
    for (;;) {
        bool gotByte = false;
        quint32 waiting = 0;
        if (ftdi->getReceiveQueueStatus(waiting) && waiting > 0) {
            char c = 0;
            quint32 got = 0;
            if (ftdi->read(&c, 1, got) && got == 1) {
                gotByte = true;
                text.append(c);
                if (c == CR)
                    break;
            }
        }
        const qint64 now = clock.nowMs();
        if (now > deadline)
            break;
        if (!gotByte && !ftdi->waitForReceive(static_cast<quint32>(deadline + 1 - now))) {
            // A dead device will not answer before the deadline either.
            clock.sleepMs(deadline + 1 - clock.nowMs());
        }
    }
    // A reply whose CR came in just as the deadline passed still counts as none.
    if (clock.nowMs() > deadline)
        return NoReply;
    return QString::fromLatin1(text);
}

void TZr5Com::SendLine(const QString& text)
{
    if (!Connected())
        return;
    WriteRaw(text.toLatin1() + CR);
}

QString TZr5Com::SendCommand(const QString& text, int timeoutMs)
{
    PurgeReceive();
    SendLine(text);
    return ReadReply(timeoutMs);
}

QString TZr5Com::QueryParam(int number)
{
    if (!m_link.Ftdi())
        return NoReply;
    PurgeReceive();
    WriteRaw(QByteArray::number(number) + "?" + CR);
    return ReadReply(500);
}

QString TZr5Com::ValueText(const QString& reply)
{
    // Positions count from 1 as in the board's reply convention: the value is
    // what follows the first "=", up to the first space or, without a space,
    // up to the last character (the CR).
    const int a = static_cast<int>(reply.indexOf(QLatin1Char('='))) + 1;
    int b = static_cast<int>(reply.indexOf(QLatin1Char(' '))) + 1;
    if (b == 0)
        b = static_cast<int>(reply.size());
    b -= 1;
    const int count = b - a;
    if (count <= 0)
        return {};
    return reply.mid(a, count);
}

int TZr5Com::ParseIntReply(const QString& reply)
{
    return TDecimal::orZero(ValueText(reply));
}

double TZr5Com::ParseFloatReply(const QString& reply)
{
    const QString text = ValueText(reply);
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = c.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        throw EZr5Error(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

int TZr5Com::GetParamInt(int number)
{
    return ParseIntReply(QueryParam(number));
}

double TZr5Com::GetParamFloat(int number)
{
    return ParseFloatReply(QueryParam(number));
}

void TZr5Com::SetParam(int number, int value, bool nonVolatile, QString& reply)
{
    if (!Connected())
        return;
    const LineHold hold(*this);
    if (nonVolatile) {
        SendLine(QStringLiteral("wen=1"));
        m_host.WaitMs(20);
    }
    // Also drops the board's answer to the write enable.
    PurgeReceive();
    WriteRaw(QByteArray::number(number) + "=" + QByteArray::number(value) + "!" + CR);
    reply = ReadReply(200);
}

void TZr5Com::SetParam(int number, int value, bool nonVolatile)
{
    QString reply;
    SetParam(number, value, nonVolatile, reply);
}
