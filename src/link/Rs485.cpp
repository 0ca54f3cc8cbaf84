#include "link/Rs485.h"

#include <cerrno>
#include <cstring>
#include <linux/serial.h>
#include <sys/ioctl.h>

bool SetRs485Mode(int fileDescriptor, bool on, QString *reason)
{
    serial_rs485 config;
    std::memset(&config, 0, sizeof config);
    if (on)
        config.flags = SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND;
    if (::ioctl(fileDescriptor, TIOCSRS485, &config) == 0)
        return true;
    if (reason)
        *reason = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}
