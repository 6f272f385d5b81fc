#include "PtyServer.h"

#include "BoardEngine.h"
#include "SimMidiInput.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#ifdef __linux__
#include <sys/inotify.h>
#endif

namespace {
volatile std::sig_atomic_t s_stop = 0;
sigset_t s_waitMask; // the mask in force while run() waits

void onStopSignal(int)
{
    s_stop = 1;
}

bool stopPending()
{
    sigset_t pending;
    if (::sigpending(&pending) != 0)
        return false;
    return sigismember(&pending, SIGTERM) == 1 || sigismember(&pending, SIGINT) == 1 ||
           sigismember(&pending, SIGHUP) == 1;
}

QString systemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

QByteArray printableBytes(const QByteArray& bytes)
{
    QByteArray out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\\')
            out += "\\\\";
        else if (u >= 0x20 && u < 0x7f)
            out += c;
        else
            out += "\\x" + QByteArray::number(u, 16).rightJustified(2, '0');
    }
    return out;
}
} // namespace

PtyServer::PtyServer(BoardEngine& engine) : m_engine(engine)
{
    m_engine.dataFlash().onHangUp = [this] { m_hangUpDue = true; };
}

PtyServer::~PtyServer()
{
    removeLink();
    for (const int fd : {m_notify, m_slave, m_master}) {
        if (fd >= 0)
            ::close(fd);
    }
}

qint64 PtyServer::monotonicUs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1'000'000 + ts.tv_nsec / 1000;
}

bool PtyServer::open(QString* error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0) {
        *error = systemError("posix_openpt");
        return false;
    }
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        *error = systemError("grantpt/unlockpt");
        return false;
    }
    const char* name = ::ptsname(m_master);
    if (!name) {
        *error = systemError("ptsname");
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_slave < 0) {
        *error = systemError("open terminal");
        return false;
    }
    // Raw before any client comes: a line discipline that echoes or turns CR
    // into LF would answer the host itself or swallow its line ends.
    termios tio{};
    if (::tcgetattr(m_slave, &tio) != 0) {
        *error = systemError("tcgetattr");
        return false;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&tio, B57600);
    ::cfsetospeed(&tio, B57600);
    if (::tcsetattr(m_slave, TCSANOW, &tio) != 0) {
        *error = systemError("tcsetattr");
        return false;
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    watchClients();
    return true;
}

void PtyServer::watchClients()
{
#ifdef __linux__
    // Clients take the port exclusively (TIOCEXCL). One that dies without
    // giving it back would lock every later client out, since the held
    // descriptor keeps the terminal from ever being closed for good; so the
    // server hands the port back itself whenever a client closes it.
    m_notify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_notify >= 0 && ::inotify_add_watch(m_notify, m_slavePath.toLocal8Bit().constData(),
                                             IN_CLOSE | IN_OPEN) < 0) {
        ::close(m_notify);
        m_notify = -1;
    }
#endif
}

void PtyServer::clientClosed()
{
    ::ioctl(m_slave, TIOCNXCL);
    if (m_verbose)
        log("port", "closed by a client");
}

bool PtyServer::makeLink(const QString& path, QString* error)
{
    const QByteArray link = path.toLocal8Bit();
    struct stat st
    {
    };
    if (::lstat(link.constData(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            *error = QStringLiteral("%1 exists and is not a symbolic link").arg(path);
            return false;
        }
        if (::unlink(link.constData()) != 0) {
            *error = systemError("remove old link");
            return false;
        }
    }
    if (::symlink(m_slavePath.toLocal8Bit().constData(), link.constData()) != 0) {
        *error = systemError("symlink");
        return false;
    }
    m_linkPath = path;
    return true;
}

void PtyServer::removeLink()
{
    if (m_linkPath.isEmpty())
        return;
    const QByteArray link = m_linkPath.toLocal8Bit();
    m_linkPath.clear();
    // A newer simulator may have taken the name over; its link stays.
    char target[4096];
    const ssize_t n = ::readlink(link.constData(), target, sizeof target - 1);
    if (n >= 0 && QByteArray(target, n) == m_slavePath.toLocal8Bit())
        ::unlink(link.constData());
}

void PtyServer::installStopSignals()
{
    struct sigaction action
    {
    };
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigset_t stops;
    sigemptyset(&stops);
    for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(sig, &action, nullptr);
        sigaddset(&stops, sig);
    }
    std::signal(SIGPIPE, SIG_IGN);
    // Blocked except inside ppoll(), so a signal cannot slip in between the
    // check of the stop flag and the wait.
    ::sigprocmask(SIG_BLOCK, &stops, &s_waitMask);
    for (const int sig : {SIGTERM, SIGINT, SIGHUP})
        sigdelset(&s_waitMask, sig);
}

int PtyServer::run()
{
    m_startUs = monotonicUs();
    while (!s_stop) {
        deliver(monotonicUs());

        timespec wait{};
        timespec* timeout = nullptr;
        const qint64 next = m_engine.nextArrivalUs();
        if (next >= 0) {
            const qint64 us = std::max<qint64>(0, next - monotonicUs());
            wait.tv_sec = static_cast<time_t>(us / 1'000'000);
            wait.tv_nsec = static_cast<long>(us % 1'000'000) * 1000;
            timeout = &wait;
        }
        // A negative descriptor (no inotify, no MIDI channel) is passed over.
        const int midi = m_midiInput ? m_midiInput->fd() : -1;
        pollfd fds[3] = {{m_master, POLLIN, 0}, {m_notify, POLLIN, 0}, {midi, POLLIN, 0}};
        const nfds_t count = 3;
        const int r = ::ppoll(fds, count, timeout, &s_waitMask);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            std::fprintf(stderr, "zr5-board-sim: %s\n", qPrintable(systemError("ppoll")));
            return 1;
        }
        // ppoll() delivers a signal only when it returns for it; one that
        // comes while input keeps arriving would wait in the pending set.
        if (stopPending())
            break;
        if (fds[0].revents & POLLIN) {
            readHost();
            if (m_hangUpDue) {
                hangUp();
                return 0;
            }
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            // Not expected while the held descriptor lives; do not spin on it.
            const timespec pause{0, 10'000'000};
            ::nanosleep(&pause, nullptr);
        }
        if (midi >= 0 && (fds[2].revents & (POLLIN | POLLHUP | POLLERR)))
            m_midiInput->readAvailable();
        if (m_notify >= 0 && (fds[1].revents & POLLIN)) {
#ifdef __linux__
            alignas(inotify_event) char buffer[4096];
            ssize_t n = 0;
            bool closed = false;
            bool opened = false;
            while ((n = ::read(m_notify, buffer, sizeof buffer)) > 0) {
                for (ssize_t at = 0; at < n;) {
                    const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                    closed = closed || (event->mask & IN_CLOSE);
                    opened = opened || (event->mask & IN_OPEN);
                    at += ssize_t(sizeof(inotify_event)) + event->len;
                }
            }
            if (closed)
                clientClosed();
            if (opened && m_engine.options().resetOnOpen) {
                m_engine.pressReset(monotonicUs());
                if (m_verbose)
                    log("port", "opened by a client: board reset");
            }
#endif
        }
    }
    removeLink();
    return 0;
}

void PtyServer::hangUp()
{
    std::fprintf(stderr, "zr5-board-sim: line cut after packet %d (--hang-up-after-packet)\n",
                 m_engine.dataFlash().packetsReceived());
    // Both sides: the client's next read or write fails as on a lost cable.
    for (int* fd : {&m_slave, &m_master}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    removeLink();
}

void PtyServer::readHost()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        m_engine.feed(QByteArray(buffer, n), monotonicUs());
    }
    logLines();
}

void PtyServer::deliver(qint64 nowUs)
{
    const qsizetype due = m_engine.available(nowUs);
    if (due <= 0)
        return;
    const QByteArray bytes = m_engine.take(due, nowUs);
    if (m_verbose)
        log("board", bytes);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(m_master, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // The terminal's input queue is full: nobody reads the port, and a
        // board's output into an unread line is lost as well.
        break;
    }
}

void PtyServer::logLines()
{
    if (m_verbose) {
        for (const BoardEngine::ReceivedLine& line : m_engine.receivedLines())
            log("host", line.text + '\r');
    }
    // The program may run for days; the engine's record of lines must not grow.
    m_engine.clearReceived();
}

void PtyServer::log(const char* who, const QByteArray& bytes) const
{
    const double seconds = double(monotonicUs() - m_startUs) / 1e6;
    std::fprintf(stderr, "[%10.3f] %-5s %s\n", seconds, who, printableBytes(bytes).constData());
}
