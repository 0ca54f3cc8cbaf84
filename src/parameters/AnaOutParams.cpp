#include "parameters/AnaOutParams.h"

#include "app/Conversions.h"
#include "app/IniFile.h"
#include "link/FrameWords.h"
#include "link/RegisterRequests.h"
#include "parameters/AnaIn32Frames.h"
#include "parameters/ObjectItems.h"
#include "parameters/ParameterRecords.h"

#include <algorithm>

namespace
{

constexpr int DataOffset = 9;
constexpr int ChannelsPerModule = 4;

// A register as the coupler holds it.
quint16 registerOf(qint32 word)
{
    return static_cast<quint16>(word);
}

} // namespace

int AnaOutChannelsHandled(int count)
{
    return std::clamp(count, 0, AnaOutChannels);
}

quint8 BuildAnaOutReadRequest(ModbusBuffer &tx, quint8 unit, int n)
{
    return BuildReadRegisters(tx, unit, AnaOutStartRegister, static_cast<quint16>(AnaOutChannelsHandled(n)));
}

quint8 BuildAnaOutWriteRequest(ModbusBuffer &tx, quint8 unit, int n, const AnaOutBlock &block)
{
    std::vector<quint16> words;
    for (int i = 0; i < AnaOutChannelsHandled(n); ++i)
        words.push_back(registerOf(block[static_cast<size_t>(i)]));
    return BuildWriteRegisters(tx, unit, AnaOutStartRegister, words);
}

bool DecodeAnaOutReply(const ModbusBuffer &rx, quint16 rxCount, int n, AnaOutBlock &block)
{
    n = AnaOutChannelsHandled(n);
    if (ReplyDataBytes(rx, rxCount) < 2 * n)
        return false;
    for (int i = 0; i < n; ++i)
        block[static_cast<size_t>(i)] = static_cast<qint16>(Word16At(rx, DataOffset + 2 * i));
    return true;
}

QString AnaOutWordText(qint32 word)
{
    return HexText(registerOf(word), 4);
}

int AnaOutChoice::indexOf(qint32 word) const
{
    const qint64 bits = registerOf(word) & mask;
    for (size_t i = 0; i < values.size(); ++i)
        if (values[i] == bits)
            return static_cast<int>(i);
    return -1;
}

QString AnaOutChoice::textOf(qint32 word) const
{
    const int index = indexOf(word);
    return index < 0 ? QStringLiteral("???") : texts.value(index);
}

qint32 AnaOutChoice::applied(qint32 word, int index) const
{
    if (index < 0 || index >= static_cast<int>(values.size()))
        return word;
    const qint64 value = (registerOf(word) & ~mask) | (values[static_cast<size_t>(index)] & mask);
    return static_cast<qint16>(static_cast<quint16>(value));
}

AnaOutObject LoadAnaOutObject(const IniFile &file, const QString &objectId)
{
    AnaOutObject object;
    object.id = objectId.left(ObjectIdLength);
    if (object.id.isEmpty())
        return object;
    const tObjItems items = LoadObjectItems(file, object.id);
    object.name = items.Name;
    if (items.Typ != MixedObjectTyp)
        return object;
    for (int r = items.FirstValueRow(); r < ObjectValueRows; ++r) {
        const ObjectValueRow &row = items.Rows[static_cast<size_t>(r)];
        if (!row.Usable())
            continue;
        AnaOutChoice choice;
        choice.caption = row.Caption;
        choice.mask = row.Mask;
        choice.values = row.Values;
        choice.texts = row.Texts;
        object.choices.push_back(std::move(choice));
    }
    return object;
}

std::array<QString, AnaOutChannels> AnaOutChannelObjects(const StationConfiguration &config,
                                                         const ModuleCatalogueTable &catalogue)
{
    std::array<QString, AnaOutChannels> objects;
    int first = 0;
    for (int slot = 1; slot <= SlotCount && first < AnaOutChannels; ++slot) {
        const CatalogueEntry &entry = catalogue[config.SlotModuleIds[static_cast<size_t>(slot)] & 0xFF];
        if (entry.Kind != 2)
            continue;
        for (int c = 0; c < ChannelsPerModule && first + c < AnaOutChannels; ++c) {
            if (c >= entry.Channel)
                break;
            const QStringList list = entry.ObjectLists[0] + entry.ObjectLists[static_cast<size_t>(c + 1)];
            if (!list.isEmpty())
                objects[static_cast<size_t>(first + c)] = list.first().left(ObjectIdLength);
        }
        first += ChannelsPerModule;
    }
    return objects;
}
