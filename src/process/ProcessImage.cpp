#include "process/ProcessImage.h"

#include "app/Conversions.h"

#include <algorithm>

namespace
{

int digitalRegisters(quint16 channels)
{
    return (channels + 15) >> 4;
}

// Where a checked reply's data end.
int replyDataEnd(const ModbusBuffer &rx)
{
    return 9 + rx[8];
}

} // namespace

int DigitalInputChannels(quint16 moduleId)
{
    switch (moduleId) {
    case 6:
        return 8;
    case 2:
    case 9:
        return 4;
    default:
        return 0;
    }
}

int DigitalOutputChannels(quint16 moduleId)
{
    switch (moduleId) {
    case 1:
        return 8;
    case 7:
        return 4;
    default:
        return 0;
    }
}

quint16 ProcessReadQuantity(const StationConfiguration &config)
{
    return static_cast<quint16>(config.AnaInCount + 2 * config.AnaIn32Count + digitalRegisters(config.DigInCount));
}

quint16 ProcessWriteQuantity(const StationConfiguration &config)
{
    return static_cast<quint16>(config.AnaOutCount + digitalRegisters(config.DigOutCount));
}

int DigitalInputReplyStart(const StationConfiguration &config)
{
    return 9 + 2 * config.AnaInCount + 4 * config.AnaIn32Count;
}

int AnalogInputChannels(const StationConfiguration &config)
{
    return std::min(config.AnaInCount + config.AnaIn32Count, MaxAnalogChannels);
}

void PackDigitalOutputs(const SlotIdTable &slotIds, const SlotByteTable &slotBytes, DigitalImage &image)
{
    int p = 0;
    for (int slot = 1; slot <= SlotCount; ++slot) {
        const int channels = DigitalOutputChannels(slotIds[static_cast<size_t>(slot)]);
        if (channels == 0)
            continue;
        const quint8 bits = slotBytes[static_cast<size_t>(slot)];
        const auto byte = static_cast<size_t>(p / 8);
        if (p % 8 == 0) {
            image[byte] = bits;
        } else {
            image[byte] = static_cast<quint8>((image[byte] & 0x0F) | (bits << 4));
            if (channels == 8)
                image[byte + 1] = static_cast<quint8>(bits >> 4);
        }
        p += channels;
    }
}

quint8 BuildProcessDataRequest(const StationConfiguration &config, quint8 slaveAddress, const AnalogOutTable &anaOut,
                               const DigitalImage &digOut, ModbusBuffer &tx)
{
    const quint16 qr = ProcessReadQuantity(config);
    const quint16 qw = ProcessWriteQuantity(config);
    tx[6] = slaveAddress;
    tx[7] = ProcessDataFunction;
    tx[8] = static_cast<quint8>(ProcessReadStart >> 8);
    tx[9] = static_cast<quint8>(ProcessReadStart);
    tx[10] = static_cast<quint8>(qr >> 8);
    tx[11] = static_cast<quint8>(qr);
    tx[12] = static_cast<quint8>(ProcessWriteStart >> 8);
    tx[13] = static_cast<quint8>(ProcessWriteStart);
    tx[14] = static_cast<quint8>(qw >> 8);
    tx[15] = static_cast<quint8>(qw);
    tx[16] = static_cast<quint8>(2 * qw);

    // A coupler reporting absurd counts must not make us write past the buffer.
    const size_t limit = tx.size();
    size_t pos = 17;
    for (int i = 0; i < config.AnaOutCount && pos + 1 < limit; ++i, pos += 2) {
        const quint16 value = i < static_cast<int>(anaOut.size()) ? anaOut[static_cast<size_t>(i)] : 0;
        tx[pos] = static_cast<quint8>(value >> 8);
        tx[pos + 1] = static_cast<quint8>(value);
    }
    const int digitalBytes = 2 * digitalRegisters(config.DigOutCount);
    for (int j = 0; j < digitalBytes && pos < limit; ++j, ++pos)
        tx[pos] = j < static_cast<int>(digOut.size()) ? digOut[static_cast<size_t>(j)] : 0;
    return static_cast<quint8>(17 + 2 * qw);
}

bool IsProcessDataReply(const ModbusBuffer &rx, quint16 rxCount, const StationConfiguration &config, bool tcp)
{
    if (rx[7] != ProcessDataFunction)
        return false;
    const int byteCount = 2 * ProcessReadQuantity(config);
    if (byteCount > 0xFF || rx[8] != byteCount)
        return false;
    const int crcBytes = tcp ? 0 : 2;
    return rxCount == 9 + byteCount + crcBytes;
}

int DecodeAnalogInputs(const ModbusBuffer &rx, const StationConfiguration &config, AnalogInTable &values)
{
    const int channels = AnalogInputChannels(config);
    const int end = replyDataEnd(rx);
    size_t pos = 9;
    int decoded = 0;
    for (; decoded < channels; ++decoded) {
        const bool word = config.AnaInFormat[static_cast<size_t>(decoded)] == 1;
        const size_t width = word ? 2 : 4;
        if (static_cast<int>(pos + width) > end)
            break;
        if (word) {
            values[static_cast<size_t>(decoded)] = static_cast<qint16>(rx[pos] << 8 | rx[pos + 1]);
        } else {
            const quint32 raw = static_cast<quint32>(rx[pos]) << 24 | static_cast<quint32>(rx[pos + 1]) << 16 |
                                static_cast<quint32>(rx[pos + 2]) << 8 | rx[pos + 3];
            values[static_cast<size_t>(decoded)] = static_cast<qint32>(raw);
        }
        pos += width;
    }
    return decoded;
}

int DecodeDigitalInputs(const ModbusBuffer &rx, const StationConfiguration &config, DigitalImage &image)
{
    if (config.DigInCount == 0)
        return 0;
    const int count = std::min((config.DigInCount + 7) / 8, static_cast<int>(image.size()));
    const int start = DigitalInputReplyStart(config);
    const int end = replyDataEnd(rx);
    int taken = 0;
    for (; taken < count && start + taken < end; ++taken)
        image[static_cast<size_t>(taken)] = rx[static_cast<size_t>(start + taken)];
    return taken;
}

DigitalInputLayout LayOutDigitalInputs(const SlotIdTable &slotIds)
{
    DigitalInputLayout layout;
    int p = 0;
    for (int slot = 1; slot <= SlotCount; ++slot) {
        const int channels = DigitalInputChannels(slotIds[static_cast<size_t>(slot)]);
        layout.firstBit[static_cast<size_t>(slot)] = p;
        layout.channels[static_cast<size_t>(slot)] = channels;
        p += channels;
    }
    return layout;
}

bool ImageBit(const DigitalImage &image, int q)
{
    if (q < 0 || q / 8 >= static_cast<int>(image.size()))
        return false;
    return (image[static_cast<size_t>(q / 8)] >> (q % 8)) & 1;
}

std::optional<quint16> AnalogOutputWord(const QString &text)
{
    const IntegerReading reading = ReadIntegerText(text, AnalogOutputMin, AnalogOutputMax);
    if (reading.kind != IntegerTextKind::Value)
        return std::nullopt;
    return static_cast<quint16>(reading.value & 0xFFFF);
}
