#include "PtyPair.h"

#include "Wait.h"

#include <QElapsedTimer>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0)
        return;
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        ::close(master_);
        master_ = -1;
        return;
    }
    slavePath_ = QString::fromLocal8Bit(::ptsname(master_));
    // Raw mode on the slave so no byte is translated; keeping one descriptor
    // open stops the master from seeing a hang-up between the tool's opens.
    slaveKeepOpen_ = ::open(::ptsname(master_), O_RDWR | O_NOCTTY);
    if (slaveKeepOpen_ >= 0) {
        termios tio{};
        ::tcgetattr(slaveKeepOpen_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(slaveKeepOpen_, TCSANOW, &tio);
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair()
{
    if (slaveKeepOpen_ >= 0)
        ::close(slaveKeepOpen_);
    if (master_ >= 0)
        ::close(master_);
}

QByteArray PtyPair::read(int expected, int timeoutMs)
{
    QByteArray result;
    QElapsedTimer timer;
    timer.start();
    while (result.size() < expected && timer.elapsed() < timeoutMs) {
        char buffer[512];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) {
            result.append(buffer, static_cast<int>(n));
            continue;
        }
        RunEvents(2);
    }
    return result;
}

void PtyPair::write(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (errno != EAGAIN)
            return;
    }
}
