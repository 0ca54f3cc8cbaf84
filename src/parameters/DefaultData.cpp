#include "parameters/DefaultData.h"

#include "app/IniFile.h"

#include <algorithm>

namespace
{

constexpr int AnalogOutputChannels = 4;

// Object list 0 (the module's objects), then the channel's own list; at most
// as many as a record holds.
void FillEntries(ParameterRecord &record, const QStringList &ids, const IniFile &file)
{
    const int n = std::min<int>(static_cast<int>(ids.size()), ObjectEntryCount);
    for (int e = 0; e < n; ++e) {
        ObjectEntry &entry = record.ObjectEntries[static_cast<size_t>(e)];
        if (ids[e].isEmpty())
            continue; // an empty list item names no object: the entry stays free
        entry.ObjectId = ids[e].left(ObjectIdLength);
        entry.Value = ObjectDefaultValue(file, entry.ObjectId);
        entry.Valid = 1;
    }
}

} // namespace

int AnalogInputAdvance(int moduleId)
{
    switch (moduleId) {
    // Module 3 brings four channels like the others; without it every later
    // module would address the parameter block of the channels before it.
    case 3:
    case 4:
    case 8:
    case 11:
    case 68:
    case 75:
    case 132:
    case 139:
        return 4;
    case 10:
    case 14:
    case 15:
        return 2;
    default:
        return 0;
    }
}

int AnalogInput32Advance(int moduleId)
{
    return moduleId == 10 ? 2 : 0;
}

qint64 ObjectDefaultValue(const IniFile &descriptionFile, const QString &objectId)
{
    const QString section = QStringLiteral("Object_") + objectId.left(ObjectIdLength);
    const qint64 number =
        IniFile::descriptionNumber(descriptionFile.readString(section, QStringLiteral("DefaultValue")));
    return static_cast<qint32>(number);
}

void BuildDefaultData(StationPositionTable &positions, const StationConfiguration &config,
                      const ModuleCatalogueTable &catalogue, const IniFile &descriptionFile)
{
    int ai = 0;
    int ai32 = 0;
    int ao = 0;
    int di = 0;
    int dout = 0;
    for (int p = 0; p < StationPositionCount; ++p) {
        StationPosition &position = positions[static_cast<size_t>(p)];
        const int m = p == 0 ? CouplerModuleId : (config.SlotModuleIds[static_cast<size_t>(p)] & 0xFF);
        const CatalogueEntry &entry = catalogue[static_cast<size_t>(m)];
        switch (entry.Kind) {
        case ModuleKind::AnalogInput:
            position.FirstIndex = static_cast<quint8>(ai);
            position.First32Index = static_cast<quint8>(ai32);
            ai += AnalogInputAdvance(m);
            ai32 += AnalogInput32Advance(m);
            break;
        case ModuleKind::AnalogOutput:
            position.FirstIndex = static_cast<quint8>(ao);
            ao += AnalogOutputChannels;
            break;
        case ModuleKind::DigitalInput:
            position.FirstIndex = static_cast<quint8>(di++);
            break;
        case ModuleKind::DigitalOutput:
            position.FirstIndex = static_cast<quint8>(dout++);
            break;
        default:
            break;
        }

        position.ReleaseRecords();
        position.ModuleId = static_cast<quint8>(m);
        if (IsAnalogKind(entry.Kind)) {
            const int channels = std::min<int>(entry.Channel, MaxRecordChannels);
            for (int n = 1; n <= channels; ++n) {
                ParameterRecord record = ParameterRecord::ForChannel();
                FillEntries(record, entry.ObjectLists[0] + entry.ObjectLists[static_cast<size_t>(n)], descriptionFile);
                position.ChannelParams[static_cast<size_t>(n)] = record;
            }
        } else if (IsDigitalKind(entry.Kind)) {
            ParameterRecord record = ParameterRecord::ForModule();
            FillEntries(record, entry.ObjectLists[0], descriptionFile);
            position.ModuleParams = record;
        }
    }
}
