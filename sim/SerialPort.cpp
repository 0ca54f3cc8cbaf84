#include "SerialPort.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace sim
{

namespace
{

bool speedOf(int baud, speed_t &speed)
{
    static const struct {
        int baud;
        speed_t speed;
    } table[] = {{1200, B1200},     {2400, B2400},     {4800, B4800},    {9600, B9600},
                 {19200, B19200},   {38400, B38400},   {57600, B57600},  {115200, B115200},
                 {230400, B230400}, {460800, B460800}, {921600, B921600}};
    for (const auto &row : table)
        if (row.baud == baud) {
            speed = row.speed;
            return true;
        }
    return false;
}

} // namespace

std::string frameName(int frame)
{
    switch (frame) {
    case 1:
        return "8N2";
    case 2:
        return "8E1";
    case 3:
        return "8O1";
    default:
        return "8N1";
    }
}

int rtuSilenceMs(int baud)
{
    // 3.5 characters of 11 bits; above 19200 baud the standard fixes 1.75 ms.
    const double ms = baud > 19200 ? 1.75 : 3.5 * 11 * 1000.0 / baud;
    const int whole = static_cast<int>(ms + 0.999);
    return whole < 2 ? 2 : whole;
}

int openSerialPort(const SerialSettings &settings, std::string &error)
{
    speed_t speed;
    if (!speedOf(settings.baud, speed)) {
        error = "unsupported baud rate " + std::to_string(settings.baud);
        return -1;
    }
    const int fd = open(settings.device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        error = settings.device + ": " + std::strerror(errno);
        return -1;
    }
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        error = settings.device + ": not a serial device: " + std::strerror(errno);
        close(fd);
        return -1;
    }
    cfmakeraw(&tio);
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    if (settings.frame == 1)
        tio.c_cflag |= CSTOPB;
    if (settings.frame == 2)
        tio.c_cflag |= PARENB;
    if (settings.frame == 3)
        tio.c_cflag |= PARENB | PARODD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
        error = settings.device + ": " + std::strerror(errno);
        close(fd);
        return -1;
    }
    tcflush(fd, TCIOFLUSH);
    return fd;
}

} // namespace sim
