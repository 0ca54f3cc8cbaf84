#pragma once
// What a frame on the line means: unit, function, registers, values,
// exception. Plain functions over bytes, used for the bus monitor's lines and
// for the hand-made frames of the free communication.
#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

enum class FrameDirection { Request, Reply };
enum class FrameFraming { Tcp, Rtu, Bare };

// Why a frame could not be read as a whole; None when it could.
enum class FrameProblem {
    None,
    TooShort,          // ends before its function's fields
    TooLong,           // bytes behind its function's fields
    ByteCountMismatch, // the byte count does not fit the quantity or the data
    BadCrc,            // RTU: the last two bytes are not the CRC of the others
    LengthMismatch,    // Modbus/TCP: the header's length is not what follows
};

struct DecodedFrame {
    FrameFraming framing = FrameFraming::Bare;
    FrameDirection direction = FrameDirection::Request;
    FrameProblem problem = FrameProblem::None;
    int transactionId = -1; // Modbus/TCP only
    int unit = -1;
    int function = -1; // without the exception bit
    bool exception = false;
    int exceptionCode = -1;
    // Register (or coil) block: the read half of function 23, the block of
    // the other functions, the register of functions 5 and 6.
    int start = -1;
    int quantity = -1;
    // Function 23 request: the write half.
    int writeStart = -1;
    int writeQuantity = -1;
    int byteCount = -1;
    // Registers read (replies of 3, 4, 23) or written (16, the write half of
    // 23, the value of 5 and 6).
    std::vector<quint16> values;
    // Bytes that are no registers: coils and inputs of 1, 2, 15, the fields of
    // 43, the data of functions the tool does not know.
    QByteArray data;
};

// Decodes the frame `pdu` (unit identifier first, no header, no CRC).
DecodedFrame DecodePdu(const quint8 *pdu, int count, FrameDirection direction);

// Decodes what one monitor line carried: one or more Modbus/TCP frames
// (header first) or RTU frames (CRC last), told apart by their own bytes.
// Frames sent faster than the monitor's period share one line. An empty
// result: no bytes.
std::vector<DecodedFrame> DecodeFrames(const QByteArray &bytes, FrameDirection direction);

// The bytes of a monitor line ("TxD (1.5)  08 03 ..."): the hex digits behind
// the time stamp, with or without blanks between the bytes. Empty when the
// line holds no bytes or anything but hex digits.
QByteArray MonitorLineBytes(const QString &line);

// Text of a frame, one field to a line. `lookup` gives the texts of the ids
// "@idDEC_..." in the active language.
QString DecodedFrameText(const DecodedFrame &frame, const std::function<QString(const QString &)> &lookup);

// The texts of a whole monitor line: every frame it holds, at most `maxFrames`
// of them, and a note of how many more there were.
QString DecodedLineText(const QString &line, FrameDirection direction,
                        const std::function<QString(const QString &)> &lookup, int maxFrames = 4);

// German and English texts of the ids above, as a window's word list takes them.
QStringList FrameDecoderWords();
