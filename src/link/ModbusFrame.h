#pragma once
// Send-side framing of the requests in TxFrame, the exception texts and the hex
// renderings for the bus monitor. Plain functions over the frame buffer, so the
// transport only has to write the bytes and show the texts.
#include <QByteArray>
#include <QString>
#include <array>

// TxFrame and RxFrame: bytes 0..5 room for the Modbus/TCP header, unit
// identifier from byte 6 on.
using ModbusBuffer = std::array<quint8, 264>;

// Index of the unit identifier in both buffers; the length handed to the
// transport counts the bytes before it.
constexpr int ModbusHeaderSize = 6;

struct OutgoingFrame {
    QByteArray bytes; // what goes on the line in one write; empty: send nothing
    QString hexText;  // to be appended to TxHexText
};

// Modbus/TCP: sets tx[0..4] to the transaction identifier (high byte first)
// and three zero bytes, and returns the six header bytes, whose sixth is the
// payload length, followed by the payload tx[6..length-1]. A length of 6 or
// less sends the bare header with a length of 0. tx[5] is left as it is.
OutgoingFrame BuildTcpFrame(ModbusBuffer &tx, quint8 length, quint16 transactionId);

// Modbus RTU: the request tx[6..length-1] followed by its CRC, which is also
// stored at tx[length] (low-order byte) and tx[length + 1]. A length of 6 or
// less holds no unit identifier: nothing goes on the line, no text is shown and
// tx is not touched.
OutgoingFrame BuildRtuFrame(ModbusBuffer &tx, quint8 length);

// " Fehler " followed by the text of exception codes 1..3, nothing more for
// other codes.
QString ExceptionText(quint8 code);
// The text of the code alone ("Illegal Data Adress"), nothing for other codes.
QString BareExceptionText(quint8 code);

// Two upper-case hex digits and one blank per byte, as the send monitor shows.
QString SendHexText(const quint8 *data, int count);
// Serial receive line: two upper-case hex digits per byte, no separator.
QString SerialReceiveText(const quint8 *data, int count);
// TCP receive line: two upper-case hex digits and two blanks per byte.
QString TcpReceiveText(const quint8 *data, int count);
