#include "SimMidiInput.h"

#include "BoardEngine.h"

#include <QRegularExpression>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
struct Kind
{
    const char* word;
    quint8 statusHigh;
    bool lastOptional;
};

const Kind kKinds[] = {
    {"cc", 0xB0, false},
    {"note", 0x90, false},
    {"noteoff", 0x80, true},
};

QString systemError(const QString& what)
{
    return QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno)));
}

bool number(const QString& text, int low, int high, int* out)
{
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (!ok || v < low || v > high)
        return false;
    *out = v;
    return true;
}
} // namespace

SimMidiInput::Parsed SimMidiInput::parseLine(QStringView line)
{
    Parsed parsed;
    const QString text = line.trimmed().toString();
    if (text.isEmpty() || text.startsWith(QLatin1Char('#')))
        return parsed;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList parts = text.split(blanks, Qt::SkipEmptyParts);
    const auto fail = [&parsed](const QString& why) {
        parsed.kind = Parsed::Kind::Error;
        parsed.error = why;
        return parsed;
    };

    const QString command = parts.constFirst().toLower();
    const Kind* kind = nullptr;
    for (const Kind& k : kKinds) {
        if (command == QLatin1String(k.word))
            kind = &k;
    }
    if (!kind)
        return fail(QStringLiteral("'%1' is none of cc, note, noteoff").arg(parts.constFirst()));
    const qsizetype given = parts.size() - 1;
    if (given > 3 || given < (kind->lastOptional ? 2 : 3))
        return fail(QStringLiteral("%1 takes %2 numbers")
                        .arg(command, kind->lastOptional ? QStringLiteral("two or three")
                                                         : QStringLiteral("three")));

    int channel = 0;
    if (!number(parts[1], 1, 16, &channel))
        return fail(QStringLiteral("channel '%1' is not 1 to 16").arg(parts[1]));
    int data[2] = {0, 0};
    const char* names[2] = {command == QLatin1String("cc") ? "controller" : "note",
                            command == QLatin1String("cc") ? "value" : "velocity"};
    for (int i = 0; i < 2 && i + 2 < parts.size(); ++i) {
        if (!number(parts[i + 2], 0, 127, &data[i]))
            return fail(QStringLiteral("%1 '%2' is not 0 to 127")
                            .arg(QLatin1String(names[i]), parts[i + 2]));
    }
    parsed.kind = Parsed::Kind::Message;
    parsed.message = Message{static_cast<quint8>(kind->statusHigh | (channel - 1)),
                             static_cast<quint8>(data[0]), static_cast<quint8>(data[1])};
    return parsed;
}

SimMidiInput::SimMidiInput(BoardEngine& engine) : m_engine(engine) {}

SimMidiInput::~SimMidiInput()
{
    close();
    if (!m_madeFifo.isEmpty())
        ::unlink(m_madeFifo.toLocal8Bit().constData());
}

bool SimMidiInput::open(const QString& path, QString* error)
{
    close();
    if (path == QLatin1String("-")) {
        // Left blocking: standard input may be a terminal shared with the
        // shell. One read after each wait never blocks.
        m_fd = STDIN_FILENO;
        m_ownsFd = false;
        return true;
    }
    const QByteArray name = path.toLocal8Bit();
    struct stat st
    {
    };
    if (::stat(name.constData(), &st) != 0) {
        if (errno != ENOENT || ::mkfifo(name.constData(), 0600) != 0) {
            *error = systemError(QStringLiteral("MIDI input %1").arg(path));
            return false;
        }
        m_madeFifo = path;
        if (::stat(name.constData(), &st) != 0) {
            *error = systemError(QStringLiteral("MIDI input %1").arg(path));
            return false;
        }
    }
    if (S_ISDIR(st.st_mode)) {
        *error = QStringLiteral("MIDI input %1: is a folder").arg(path);
        return false;
    }
    // A FIFO opened for reading only would report its end each time the
    // last writer goes; held open for writing as well, it never ends.
    const int flags = (S_ISFIFO(st.st_mode) ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_CLOEXEC;
    m_fd = ::open(name.constData(), flags);
    if (m_fd < 0) {
        *error = systemError(QStringLiteral("MIDI input %1").arg(path));
        return false;
    }
    m_ownsFd = true;
    return true;
}

void SimMidiInput::close()
{
    if (m_fd >= 0 && m_ownsFd)
        ::close(m_fd);
    m_fd = -1;
    m_ownsFd = false;
}

void SimMidiInput::readAvailable()
{
    if (m_fd < 0)
        return;
    char buffer[1024];
    const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
    if (n > 0) {
        feed(QByteArray(buffer, n));
        return;
    }
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    // The end of a file or of standard input; a last line without its
    // line end still counts.
    if (!m_line.isEmpty())
        lineComplete();
    close();
}

void SimMidiInput::feed(const QByteArray& bytes)
{
    for (const char c : bytes) {
        const bool lf = c == '\n';
        if (lf && m_lastWasCr) {
            m_lastWasCr = false;
            continue;
        }
        m_lastWasCr = c == '\r';
        if (lf || c == '\r') {
            lineComplete();
        } else if (m_line.size() < kMaxLine) {
            m_line.append(c);
        }
    }
}

void SimMidiInput::lineComplete()
{
    const QByteArray line = m_line;
    m_line.clear();
    const Parsed parsed = parseLine(QString::fromLocal8Bit(line));
    switch (parsed.kind) {
    case Parsed::Kind::Nothing:
        return;
    case Parsed::Kind::Error:
        if (m_onProblem)
            m_onProblem(QStringLiteral("MIDI input refused \"%1\": %2")
                            .arg(QString::fromLocal8Bit(line), parsed.error));
        return;
    case Parsed::Kind::Message:
        m_engine.injectMidi(parsed.message.status, parsed.message.data1, parsed.message.data2);
        if (m_onMessage)
            m_onMessage(parsed.message, line);
        return;
    }
}
