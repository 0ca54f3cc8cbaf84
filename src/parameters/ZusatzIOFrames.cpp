#include "parameters/ZusatzIOFrames.h"

#include "link/FrameWords.h"
#include "link/RegisterRequests.h"
#include "parameters/AnaIn32Frames.h"

namespace
{

constexpr quint16 AnalogInputBlock = 0x2000;
constexpr quint16 StrainGaugeBlock = 0x2200;
constexpr quint16 AnalogOutputBlock = 0x2400;
constexpr quint16 DigitalOutputBlock = 0x2600;
constexpr quint16 DigitalInputBlock = 0x2800;
constexpr int AnalogInputStride = 6;
constexpr int StrainGaugeStride = 7;
constexpr int DigitalOutputStride = 4;
constexpr int WideEntries = 4;
constexpr int DataOffset = 9;

quint16 registerAt(int base, int offset)
{
    return static_cast<quint16>(base + offset);
}

int analogInputRegisters(quint8 moduleId)
{
    switch (moduleId) {
    case 8:
    case 14:
    case 15:
        return 6;
    case StrainGaugeModuleId:
        return 3;
    default:
        return 4;
    }
}

// Entry e's place in the wide block: its first register and its width.
struct WideSlot {
    int entry;
    int firstRegister;
    int registers;
};
constexpr WideSlot WideLayout[WideEntries] = {{3, 0, 1}, {4, 1, 2}, {5, 3, 2}, {6, 5, 2}};

} // namespace

std::optional<ParameterBlock> ParameterBlockOf(quint8 kind, quint8 moduleId, int t, int t32, int c, bool second)
{
    if (second) {
        if (kind != ModuleKind::AnalogInput || moduleId != StrainGaugeModuleId)
            return std::nullopt;
        return ParameterBlock{registerAt(StrainGaugeBlock, StrainGaugeStride * (t32 + c)), StrainGaugeStride, true};
    }
    switch (kind) {
    case ModuleKind::AnalogInput:
        return ParameterBlock{registerAt(AnalogInputBlock, AnalogInputStride * (t + c)), analogInputRegisters(moduleId),
                              false};
    case ModuleKind::AnalogOutput:
        return ParameterBlock{registerAt(AnalogOutputBlock, t + c), 1, false};
    case ModuleKind::DigitalInput:
        return ParameterBlock{registerAt(DigitalInputBlock, t), 1, false};
    case ModuleKind::DigitalOutput:
        return ParameterBlock{registerAt(DigitalOutputBlock, DigitalOutputStride * t), 4, false};
    default:
        return std::nullopt;
    }
}

std::vector<quint16> ParameterBlockWords(const ParameterBlock &block, const ParameterRecord &record)
{
    std::vector<quint16> words;
    if (!block.Wide) {
        for (int k = 0; k < block.Registers && k < ObjectEntryCount; ++k)
            words.push_back(static_cast<quint16>(record.ObjectEntries[static_cast<size_t>(k)].Value));
        return words;
    }
    for (const WideSlot &slot : WideLayout) {
        const quint32 value = static_cast<quint32>(record.ObjectEntries[static_cast<size_t>(slot.entry)].Value);
        if (slot.registers == 2)
            words.push_back(static_cast<quint16>(value >> 16));
        words.push_back(static_cast<quint16>(value));
    }
    return words;
}

quint8 BuildParameterReadRequest(ModbusBuffer &tx, quint8 unit, const ParameterBlock &block)
{
    return BuildReadRegisters(tx, unit, block.Start, static_cast<quint16>(block.Registers));
}

quint8 BuildParameterWriteRequest(ModbusBuffer &tx, quint8 unit, const ParameterBlock &block,
                                  const ParameterRecord &record)
{
    return BuildWriteRegisters(tx, unit, block.Start, ParameterBlockWords(block, record));
}

bool DecodeParameterReply(const ModbusBuffer &rx, quint16 rxCount, const ParameterBlock &block, ParameterRecord &record)
{
    if (ReplyDataBytes(rx, rxCount) < 2 * block.Registers)
        return false;
    if (!block.Wide) {
        for (int k = 0; k < block.Registers && k < ObjectEntryCount; ++k) {
            ObjectEntry &entry = record.ObjectEntries[static_cast<size_t>(k)];
            entry.Value = Word16At(rx, DataOffset + 2 * k);
            entry.Valid = 0;
        }
        return true;
    }
    for (const WideSlot &slot : WideLayout) {
        ObjectEntry &entry = record.ObjectEntries[static_cast<size_t>(slot.entry)];
        const int at = DataOffset + 2 * slot.firstRegister;
        entry.Value = slot.registers == 2 ? static_cast<qint64>(Word32At(rx, at)) : Word16At(rx, at);
        entry.Valid = 0;
    }
    return true;
}
