#include "diagnostics/ErrorFrames.h"

#include "link/FrameWords.h"
#include "link/RegisterRequests.h"

#include <algorithm>

namespace
{

constexpr int DataOffset = 9;

quint16 startOf(int step)
{
    switch (step) {
    case ReadSteps::ErrorWord:
        return ErrorWordRegister;
    case ReadSteps::AnaIn:
        return AnaInStatusRegister;
    case ReadSteps::Compensation:
        return CompStatusRegister;
    case ReadSteps::AnaOut:
        return AnaOutStatusRegister;
    case ReadSteps::DigOut:
        return DigOutStatusRegister;
    default:
        return 0;
    }
}

} // namespace

int StepRegisterCount(int step, const StationConfiguration &config)
{
    switch (step) {
    case ReadSteps::ErrorWord:
        return 1;
    case ReadSteps::AnaIn:
        return config.AnaInCount + config.AnaIn32Count;
    case ReadSteps::Compensation:
        return config.TempChannelCount;
    case ReadSteps::AnaOut:
        return config.AnaOutCount;
    case ReadSteps::DigOut:
        return config.DigOutModuleCount;
    default:
        return 0;
    }
}

std::optional<StatusRead> NextStatusRead(int step, const StationConfiguration &config)
{
    for (int s = std::max(step, static_cast<int>(ReadSteps::ErrorWord)); s <= ReadSteps::DigOut; ++s) {
        const int count = StepRegisterCount(s, config);
        if (count > 0)
            return StatusRead{s, startOf(s), static_cast<quint16>(std::min(count, MaxReadRegisters))};
    }
    return std::nullopt;
}

quint8 BuildStatusRead(ModbusBuffer &tx, quint8 unit, const StatusRead &read)
{
    return BuildReadRegisters(tx, unit, read.start, read.quantity);
}

quint8 BuildErrorReset(ModbusBuffer &tx, quint8 unit)
{
    return BuildWriteSingleRegister(tx, unit, ErrorWordRegister, ResetAllErrors);
}

quint8 BuildAlarmMaskRead(ModbusBuffer &tx, quint8 unit)
{
    return BuildReadRegisters(tx, unit, AlarmMaskRegister, 1);
}

quint8 BuildAlarmMaskWrite(ModbusBuffer &tx, quint8 unit, quint16 mask)
{
    return BuildWriteSingleRegister(tx, unit, AlarmMaskRegister, mask);
}

std::vector<quint16> ReplyWords(const ModbusBuffer &rx, int rxCount, int quantity)
{
    const int received = std::min(rxCount, static_cast<int>(rx.size())) - DataOffset;
    const int bytes = std::max(0, std::min<int>(received, rx[8]));
    const int n = std::clamp(bytes / 2, 0, std::max(quantity, 0));
    std::vector<quint16> words(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        words[static_cast<size_t>(i)] = Word16At(rx, DataOffset + 2 * i);
    return words;
}

int ModuleGridRows(const StationConfiguration &config)
{
    const int rows = std::max({config.AnaInCount + config.AnaIn32Count, static_cast<int>(config.DigOutCount),
                               static_cast<int>(config.AnaOutCount)});
    return std::min(rows, MaxReadRegisters);
}

quint16 MergeAlarmMask(quint16 previous, quint16 boxes)
{
    return static_cast<quint16>((previous & ReservedMaskBits) | (boxes & ~ReservedMaskBits));
}
