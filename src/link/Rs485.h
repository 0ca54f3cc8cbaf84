#pragma once
// RS-485 transmitter control through the serial driver: the transmitter is on
// only while sending (RTS asserted during the send).
#include <QString>

// Returns false with a reason when the driver refuses it (many USB adapters and
// every pty do); the port stays usable in RS-232 mode then.
bool SetRs485Mode(int fileDescriptor, bool on, QString *reason = nullptr);
