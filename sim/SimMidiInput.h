#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>

class BoardEngine;

// The simulated board's MIDI input, fed from a control channel of text
// lines, one message a line:
//
//   cc CHANNEL CONTROLLER VALUE      control change
//   note CHANNEL NOTE VELOCITY       note on
//   noteoff CHANNEL NOTE [VELOCITY]  note off (velocity 0 when left out)
//
// Channels count from 1 to 16 as MIDI devices show them; the other numbers
// are 0 to 127. Words are separated by blanks, letter case is ignored, and
// empty lines and lines starting with "#" are skipped. Every message is handed
// to the board as it arrives; a line that is none of the above is refused
// and reported, and the ones after it still count.
class SimMidiInput
{
public:
    struct Message
    {
        quint8 status = 0;
        quint8 data1 = 0;
        quint8 data2 = 0;
    };
    struct Parsed
    {
        enum class Kind
        {
            Nothing, // blank or comment
            Message,
            Error
        };
        Kind kind = Kind::Nothing;
        Message message;
        QString error;
    };
    static Parsed parseLine(QStringView line);

    // Longest line kept; the rest of a longer line is dropped.
    static constexpr qsizetype kMaxLine = 200;

    explicit SimMidiInput(BoardEngine& engine);
    ~SimMidiInput(); // closes the channel; removes a FIFO that open() made

    SimMidiInput(const SimMidiInput&) = delete;
    SimMidiInput& operator=(const SimMidiInput&) = delete;

    // "-" reads standard input. Any other path is a FIFO, made (mode 0600)
    // when nothing is there yet, or an existing file whose lines are taken
    // once. A FIFO is held open for writing too, so writers may come and go
    // ("echo cc 1 7 100 > PATH" as often as one likes).
    bool open(const QString& path, QString* error);
    // What to wait on for input; -1 when the channel is closed or has ended.
    int fd() const { return m_fd; }
    // One read from the channel, after a wait said it is readable; at the end
    // of the input the channel is closed.
    void readAvailable();

    // Bytes from the channel: each complete line is parsed and handed on.
    // A line end is LF, CR or CR LF.
    void feed(const QByteArray& bytes);

    void setOnMessage(std::function<void(const Message&, const QByteArray& line)> handler)
    {
        m_onMessage = std::move(handler);
    }
    void setOnProblem(std::function<void(const QString&)> handler)
    {
        m_onProblem = std::move(handler);
    }

private:
    void lineComplete();
    void close();

    BoardEngine& m_engine;
    int m_fd = -1;
    bool m_ownsFd = false;
    QString m_madeFifo;
    QByteArray m_line;
    bool m_lastWasCr = false;
    std::function<void(const Message&, const QByteArray&)> m_onMessage;
    std::function<void(const QString&)> m_onProblem;
};
