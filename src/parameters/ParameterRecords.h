#pragma once
// The station's parameter memory: for each position (the coupler and slots 1
// to 9) its module, its place among the modules of its kind and its parameter
// records, built with the defaults of the module description file after every
// configuration read and edited by the additional I/O editor. Qt Core only.
#include <QString>
#include <QtGlobal>
#include <array>
#include <optional>

constexpr int StationPositionCount = 10; // the coupler, then slots 1..9
constexpr int ObjectEntryCount = 11;
constexpr int ObjectIdLength = 7;
constexpr int MaxRecordChannels = 8;
constexpr quint8 CouplerModuleId = 245;
// The function a record holds until the editor sets one.
constexpr quint8 NoFunction = 255;

// Module kinds of the catalogue.
namespace ModuleKind
{
constexpr quint8 AnalogInput = 1;
constexpr quint8 AnalogOutput = 2;
constexpr quint8 DigitalInput = 4;
constexpr quint8 DigitalOutput = 8;
} // namespace ModuleKind

inline bool IsAnalogKind(quint8 kind)
{
    return kind == ModuleKind::AnalogInput || kind == ModuleKind::AnalogOutput;
}
inline bool IsDigitalKind(quint8 kind)
{
    return kind == ModuleKind::DigitalInput || kind == ModuleKind::DigitalOutput;
}

struct ObjectEntry {
    QString ObjectId; // at most 7 characters; empty: a free entry
    qint64 Value = 0;
    quint8 Valid = 0; // 1 while Value is the description file's default

    bool operator==(const ObjectEntry &) const = default;
};

// One record: a channel's (analog modules) or the module's (digital modules).
// Of its header only the function word means anything: its high byte is the
// function, 255 when the record is built. The channel header's other fields
// (two 32-bit words, seven bytes) and the module header's (nine 16-bit words,
// three bytes) are zero and read by nobody.
struct ParameterRecord {
    enum class Kind : quint8 { Channel, Module };

    Kind RecordKind = Kind::Channel;
    quint16 FunctionWord = 0xFF50;
    std::array<ObjectEntry, ObjectEntryCount> ObjectEntries{};

    static ParameterRecord ForChannel()
    {
        ParameterRecord r;
        r.RecordKind = Kind::Channel;
        r.FunctionWord = 0xFF50;
        return r;
    }
    static ParameterRecord ForModule()
    {
        ParameterRecord r;
        r.RecordKind = Kind::Module;
        r.FunctionWord = 0xFF00;
        return r;
    }

    quint8 Function() const { return static_cast<quint8>(FunctionWord >> 8); }
    void SetFunction(quint8 function)
    {
        FunctionWord = static_cast<quint16>((function << 8) | (FunctionWord & 0x00FF));
    }

    bool operator==(const ParameterRecord &) const = default;
};

struct StationPosition {
    quint8 ModuleId = 0; // 0: empty or not yet known
    // Analog input: analog input channels before it; analog output: analog
    // output channels before it; digital: modules of the same kind before it.
    quint8 FirstIndex = 0;
    quint8 First32Index = 0;                     // analog input: 32-bit channels before it
    std::optional<ParameterRecord> ModuleParams; // digital modules
    // Analog modules: channels 1..8 as elements 1..8; element 0 is unused.
    std::array<std::optional<ParameterRecord>, MaxRecordChannels + 1> ChannelParams{};

    // Drops every record.
    void ReleaseRecords()
    {
        ModuleParams.reset();
        for (auto &channel : ChannelParams)
            channel.reset();
    }
    bool HasRecords() const
    {
        if (ModuleParams)
            return true;
        for (const auto &channel : ChannelParams)
            if (channel)
                return true;
        return false;
    }
};

using StationPositionTable = std::array<StationPosition, StationPositionCount>;
