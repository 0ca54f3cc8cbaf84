#pragma once
// Requests and replies of the coupler's error registers: the error word and
// its reset, the status blocks of channels and modules, and the alarm mask.
#include "app/StationTypes.h"
#include "link/ModbusFrame.h"

#include <optional>
#include <vector>

constexpr quint16 ErrorWordRegister = 0x1500;
constexpr quint16 AlarmMaskRegister = 0x1501;
constexpr quint16 AnaInStatusRegister = 0x1510;
constexpr quint16 CompStatusRegister = 0x1530;
constexpr quint16 AnaOutStatusRegister = 0x1550;
constexpr quint16 DigOutStatusRegister = 0x1570;
// Written to the error word, it clears every error of the coupler.
constexpr quint16 ResetAllErrors = 0xFFFF;

// ReadStep of the error window: 1..5 the read sequence, 6 the alarm mask read.
namespace ReadSteps
{
constexpr int Idle = 0;
constexpr int ErrorWord = 1;
constexpr int AnaIn = 2;
constexpr int Compensation = 3;
constexpr int AnaOut = 4;
constexpr int DigOut = 5;
constexpr int AlarmMask = 6;
} // namespace ReadSteps

struct StatusRead {
    int step = ReadSteps::Idle;
    quint16 start = 0;
    quint16 quantity = 0;
    bool operator==(const StatusRead &) const = default;
};

// Registers of a sequence step as the configuration counts them (step 1: the
// error word); 0 for any other step.
int StepRegisterCount(int step, const StationConfiguration &config);

// The request of `step`, or of the first later step up to 5 that has
// registers; nothing when none is left. A count beyond what one read may ask
// for is cut to MaxReadRegisters.
std::optional<StatusRead> NextStatusRead(int step, const StationConfiguration &config);

// Function 4 for the read; returns the frame length 12.
quint8 BuildStatusRead(ModbusBuffer &tx, quint8 unit, const StatusRead &read);
// Function 6, 0xFFFF to the error word.
quint8 BuildErrorReset(ModbusBuffer &tx, quint8 unit);
// Function 4, one register at the alarm mask.
quint8 BuildAlarmMaskRead(ModbusBuffer &tx, quint8 unit);
// Function 6, the mask to its register.
quint8 BuildAlarmMaskWrite(ModbusBuffer &tx, quint8 unit, quint16 mask);

// The registers of a read reply from rx[9] on, high byte first: at most
// `quantity`, and only those the reply's byte count and the bytes received
// (rxCount as the transport leaves it) hold whole.
std::vector<quint16> ReplyWords(const ModbusBuffer &rx, int rxCount, int quantity);

// Channel and module rows of the module grid (the heading row not counted):
// the largest of the analog input channels, digital output channels and
// analog output channels, but no more than one read can fill.
int ModuleGridRows(const StationConfiguration &config);

// Alarm mask bits without a check box (6, 12, 13): sent back as last read.
constexpr quint16 ReservedMaskBits = 0x3040;
// The mask to send: the reserved bits of `previous`, all others from `boxes`.
quint16 MergeAlarmMask(quint16 previous, quint16 boxes);
