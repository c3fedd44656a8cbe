#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

// The program's end of the virtual modem, opened with plain POSIX calls so that
// the modem's own tests do not depend on the serial-port class.
class SlaveEnd {
public:
    explicit SlaveEnd(const QString& device)
        : m_fd(::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {
        termios raw{};
        if (m_fd >= 0 && ::tcgetattr(m_fd, &raw) == 0) {
            cfmakeraw(&raw);
            ::tcsetattr(m_fd, TCSANOW, &raw);
        }
    }
    ~SlaveEnd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    SlaveEnd(const SlaveEnd&) = delete;
    SlaveEnd& operator=(const SlaveEnd&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    bool write(const QByteArray& bytes) const {
        return ::write(m_fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    // Reads until count bytes have come, the other end hangs up, or the time is up.
    QByteArray read(qsizetype count, int timeoutMs = 3000) {
        QByteArray got;
        QElapsedTimer timer;
        timer.start();
        while (got.size() < count && timer.elapsed() < timeoutMs) {
            const QByteArray piece = readPiece(int(timeoutMs - timer.elapsed()));
            if (piece.isEmpty())
                break;
            got += piece;
        }
        return got;
    }

    // One read as soon as something is there; empty on time-out or hang-up.
    QByteArray readPiece(int timeoutMs) {
        pollfd pfd{m_fd, POLLIN, 0};
        if (::poll(&pfd, 1, std::max(0, timeoutMs)) <= 0)
            return {};
        if (pfd.revents & POLLHUP)
            m_hungUp = true;
        if (!(pfd.revents & POLLIN))
            return {};
        char buffer[4096];
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n <= 0) {
            m_hungUp = true;
            return {};
        }
        return QByteArray(buffer, n);
    }

    bool hungUp() const { return m_hungUp; }

private:
    int m_fd;
    bool m_hungUp = false;
};
