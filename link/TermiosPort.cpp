#include "TermiosPort.h"

#include "Clock.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

using namespace d2xx;

namespace {
// A read of more bytes than have arrived waits at most this long, so that a
// pulled cable cannot hang the program.
constexpr int kReadTimeoutMs = 5000;
// How long a first received byte waits for the rest of its burst.
constexpr long kCoalesceUs = 1000;

speed_t speedFor(quint32 baud, bool* ok)
{
    *ok = true;
    switch (baud) {
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    default: *ok = false; return B0;
    }
}
} // namespace

std::unique_ptr<TermiosPort> TermiosPort::open(const QString& path, Status* status)
{
    const QByteArray name = path.toLocal8Bit();
    const int fd = ::open(name.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *status = errno == ENOENT ? DeviceNotFound : DeviceNotOpened;
        return nullptr;
    }
    // The lock refuses a second opener in this or another program; TIOCEXCL
    // adds the kernel's own refusal for unprivileged openers.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        *status = DeviceNotOpened;
        return nullptr;
    }
    ::ioctl(fd, TIOCEXCL);
    std::unique_ptr<TermiosPort> port(new TermiosPort(fd));
    const Status raw = port->applyRawMode();
    if (raw != Ok) {
        *status = raw;
        return nullptr;
    }
    *status = Ok;
    return port;
}

TermiosPort::TermiosPort(int fd) : m_fd(fd) {}

TermiosPort::~TermiosPort()
{
    if (m_fd >= 0) {
        ::ioctl(m_fd, TIOCNXCL);
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
    }
}

Status TermiosPort::applyRawMode()
{
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0)
        return IoError;
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return ::tcsetattr(m_fd, TCSANOW, &tio) == 0 ? Ok : IoError;
}

Status TermiosPort::reset()
{
    if (::tcflush(m_fd, TCIOFLUSH) != 0)
        return IoError;
    return applyRawMode();
}

Status TermiosPort::setBaudRate(quint32 baud)
{
    bool ok = false;
    const speed_t speed = speedFor(baud, &ok);
    if (!ok)
        return InvalidBaudRate;
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0)
        return IoError;
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    return ::tcsetattr(m_fd, TCSANOW, &tio) == 0 ? Ok : IoError;
}

Status TermiosPort::setDataCharacteristics(quint8 wordLength, quint8 stopBits, quint8 parity)
{
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0)
        return IoError;
    const Status status = applyDataCharacteristics(tio, wordLength, stopBits, parity);
    if (status != Ok)
        return status;
    return ::tcsetattr(m_fd, TCSANOW, &tio) == 0 ? Ok : IoError;
}

Status TermiosPort::applyDataCharacteristics(termios& tio, quint8 wordLength, quint8 stopBits,
                                             quint8 parity)
{
    tio.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CMSPAR);
    switch (wordLength) {
    case Bits8: tio.c_cflag |= CS8; break;
    case Bits7: tio.c_cflag |= CS7; break;
    default: return InvalidParameter;
    }
    switch (stopBits) {
    case StopBits1: break;
    case StopBits2: tio.c_cflag |= CSTOPB; break;
    default: return InvalidParameter;
    }
    switch (parity) {
    case ParityNone: break;
    case ParityOdd: tio.c_cflag |= PARENB | PARODD; break;
    case ParityEven: tio.c_cflag |= PARENB; break;
    case ParityMark: tio.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case ParitySpace: tio.c_cflag |= PARENB | CMSPAR; break;
    default: return InvalidParameter;
    }
    return Ok;
}

Status TermiosPort::setFlowControl(quint16 mode, quint8 xon, quint8 xoff)
{
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0)
        return IoError;
    tio.c_cflag &= ~CRTSCTS;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    switch (mode) {
    case FlowNone: break;
    case FlowRtsCts: tio.c_cflag |= CRTSCTS; break;
    case FlowDtrDsr: break; // termios has no DTR/DSR handshake; the line runs without one
    case FlowXonXoff:
        tio.c_iflag |= IXON | IXOFF;
        tio.c_cc[VSTART] = xon;
        tio.c_cc[VSTOP] = xoff;
        break;
    default: return InvalidParameter;
    }
    return ::tcsetattr(m_fd, TCSANOW, &tio) == 0 ? Ok : IoError;
}

bool TermiosPort::fetch()
{
    if (m_readPos < m_received.size())
        return true; // serve the burst already taken before asking again
    m_received.clear();
    m_readPos = 0;
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(m_fd, chunk, sizeof chunk);
        if (n > 0) {
            m_received.append(chunk, n);
            if (n < ssize_t(sizeof chunk))
                return true;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        // A raw tty with nothing to read answers 0 or EAGAIN, also after the
        // other end hung up (cable pulled, simulator gone); poll tells.
        pollfd p{m_fd, POLLIN, 0};
        return !(::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)));
    }
}

Status TermiosPort::read(void* buffer, quint32 bytesToRead, quint32* bytesRead)
{
    auto* out = static_cast<char*>(buffer);
    quint32 got = 0;
    const qint64 deadline = Clock::current().nowMs() + kReadTimeoutMs;
    for (;;) {
        const qsizetype buffered = m_received.size() - m_readPos;
        const quint32 n = static_cast<quint32>(qMin<qsizetype>(buffered, bytesToRead - got));
        if (n > 0) {
            std::memcpy(out + got, m_received.constData() + m_readPos, n);
            m_readPos += n;
            got += n;
        }
        if (got == bytesToRead)
            break;
        if (!fetch()) {
            *bytesRead = got;
            return IoError;
        }
        if (m_received.size() > m_readPos)
            continue;
        const qint64 left = deadline - Clock::current().nowMs();
        if (left <= 0)
            break;
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) < 0 && errno != EINTR) {
            *bytesRead = got;
            return IoError;
        }
    }
    *bytesRead = got;
    return Ok;
}

Status TermiosPort::write(const void* buffer, quint32 bytesToWrite, quint32* bytesWritten)
{
    const auto* in = static_cast<const char*>(buffer);
    quint32 done = 0;
    while (done < bytesToWrite) {
        const ssize_t n = ::write(m_fd, in + done, bytesToWrite - done);
        if (n > 0) {
            done += static_cast<quint32>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            *bytesWritten = done;
            return IoError;
        }
        pollfd p{m_fd, POLLOUT, 0};
        if (::poll(&p, 1, kReadTimeoutMs) <= 0 || (p.revents & (POLLERR | POLLHUP | POLLNVAL))) {
            *bytesWritten = done;
            return IoError;
        }
    }
    *bytesWritten = done;
    return Ok;
}

Status TermiosPort::queueStatus(quint32* bytesWaiting)
{
    const bool alive = fetch();
    const qsizetype buffered = m_received.size() - m_readPos;
    *bytesWaiting = static_cast<quint32>(buffered);
    // Bytes that arrived before a hang-up can still be read.
    return alive || buffered > 0 ? Ok : IoError;
}

Status TermiosPort::purge(quint32 mask)
{
    int which = 0;
    const bool rx = mask & PurgeRx;
    const bool tx = mask & PurgeTx;
    if (rx && tx)
        which = TCIOFLUSH;
    else if (rx)
        which = TCIFLUSH;
    else if (tx)
        which = TCOFLUSH;
    else
        return InvalidParameter;
    if (rx) {
        m_received.clear();
        m_readPos = 0;
    }
    return ::tcflush(m_fd, which) == 0 ? Ok : IoError;
}

Status TermiosPort::waitForReceive(quint32 ms)
{
    return waitForInput(ms, true);
}

Status TermiosPort::waitForByte(quint32 ms)
{
    // A lone answer byte gains nothing by waiting for more; each block of a
    // transfer would lose the pause.
    return waitForInput(ms, false);
}

Status TermiosPort::waitForInput(quint32 ms, bool gather)
{
    if (m_received.size() > m_readPos)
        return Ok;
    pollfd p{m_fd, POLLIN, 0};
    const int r = ::poll(&p, 1, static_cast<int>(ms));
    if (r < 0 && errno != EINTR)
        return IoError;
    if (r > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) {
        int waiting = 0;
        if (::ioctl(m_fd, FIONREAD, &waiting) == 0 && waiting > 0)
            return Ok;
        // A hang-up makes poll return at once; sleep out the wait so callers
        // waiting for a deadline do not spin on a dead line.
        Clock::current().sleepMs(ms);
        return IoError;
    }
    if (gather && r > 0 && ms > 2 * kCoalesceUs / 1000) {
        // At 57 600 bit/s a byte comes every 174 us; waking for each one
        // costs more than the byte. Like the converter's own latency timer,
        // let a short burst gather before the caller reads it. The wait is
        // well inside the caller's deadline.
        timespec pause{0, kCoalesceUs * 1000};
        ::nanosleep(&pause, nullptr);
    }
    return Ok;
}
