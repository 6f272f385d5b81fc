#pragma once

#include "TErrorKind.h"

#include <QString>

class OperationHost;
class TLink;

// The command/reply line layer: text lines to the board, reply waits with
// their deadlines, parsing of reply values, parameter queries and writes, and
// the counted errors that transfers, connection and production share.
//
// Reply waits deliberately keep the window frozen: two exchanges never
// interleave their bytes. They sleep on the device instead of spinning.
class TZr5Com
{
public:
    // The text that stands for "no complete reply line before the deadline".
    static const QString NoReply;

    TZr5Com(TLink& link, OperationHost& host);

    TLink& link() const { return m_link; }

    bool Connected() const;

    TErrorKind ErrorKind() const { return m_errorKind; }
    int ErrorCount() const { return m_errorCount; }
    void SetError(TErrorKind kind);
    // Sets the kind without counting it.
    void SetErrorKind(TErrorKind kind) { m_errorKind = kind; }
    void ResetErrors();

    void SendByte(quint8 byte);
    void SendBytes(const QByteArray& bytes);
    // One received byte, waiting up to 500 ms; 0 when none came.
    quint8 ReadByte();

    void SendLine(const QString& text);
    QString SendCommand(const QString& text, int timeoutMs);
    QString ReadReply(int timeoutMs);
    QString QueryParam(int number);

    static int ParseIntReply(const QString& reply);
    // Raises EZr5Error when the value is not a decimal number.
    static double ParseFloatReply(const QString& reply);

    int GetParamInt(int number);
    double GetParamFloat(int number);
    // Does nothing, and leaves reply as it was, while not connected.
    void SetParam(int number, int value, bool nonVolatile, QString& reply);
    void SetParam(int number, int value, bool nonVolatile);

    // Empties the driver's receive queue.
    void PurgeReceive();

    // True while an exchange that lets the window handle events is under way,
    // such as the pause between a write enable and its write: a line that an
    // event handler (the timer's MIDI monitor) sent then would break into it,
    // and the board would give the write enable to that line instead.
    bool LineHeld() const { return m_lineHolds > 0; }
    // Holds the line for its lifetime.
    class LineHold
    {
    public:
        explicit LineHold(TZr5Com& com) : m_com(com) { ++m_com.m_lineHolds; }
        ~LineHold() { --m_com.m_lineHolds; }
        LineHold(const LineHold&) = delete;
        LineHold& operator=(const LineHold&) = delete;

    private:
        TZr5Com& m_com;
    };

private:
    static QString ValueText(const QString& reply);
    void WriteRaw(const QByteArray& bytes);

    TLink& m_link;
    OperationHost& m_host;
    TErrorKind m_errorKind = TErrorKind::noErr;
    int m_errorCount = 0;
    int m_lineHolds = 0;
};
