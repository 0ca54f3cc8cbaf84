#include "ctl/StationRead.h"
#include "ctl/Verbs.h"
#include "station/ModuleCatalogue.h"
#include "translation/WordLists.h"

#include <QJsonArray>

namespace
{

// The slot's module as the configuration window names it: "Leer"/"empty"
// for an empty slot, "----" for an identifier the description file lacks.
QString ModuleName(CtlSession &session, const ModuleCatalogueTable &catalogue, quint16 id)
{
    if (id == 0)
        return session.word(TDeviceConfigFormWords(), QStringLiteral("@empty"));
    const QString name = catalogue[id & 0xFF].ShortName;
    return name.isEmpty() ? QStringLiteral("----") : name;
}

} // namespace

VerbResult RunConfig(CtlSession &session, const QStringList &arguments)
{
    VerbResult r;
    StationConfiguration config;
    if (!StartWithStation(session, arguments, "config", config, r))
        return r;
    const ModuleCatalogueTable catalogue = LoadModuleCatalogue(session.programFolder(), session.state().BrandMode);
    const QStringList &words = TDeviceConfigFormWords();
    QJsonArray slotList;
    QString slotText;
    for (int slot = 1; slot <= SlotCount; ++slot) {
        const quint16 id = config.SlotModuleIds[size_t(slot)];
        const QString name = ModuleName(session, catalogue, id);
        const QString detail = id == 0 ? QString() : catalogue[id & 0xFF].AddName;
        slotList.append(QJsonObject{{QStringLiteral("slot"), slot},
                                    {QStringLiteral("id"), id},
                                    {QStringLiteral("name"), name},
                                    {QStringLiteral("description"), detail}});
        // Names in a column; no blanks at the end of a line without a description.
        slotText += QStringLiteral("Slot %1  %2  %3  %4").arg(slot).arg(id, 3).arg(name, -10).arg(detail).trimmed() +
                    QLatin1Char('\n');
    }
    r.json = {{QStringLiteral("counts"), CountsJson(config)}, {QStringLiteral("slots"), slotList}};
    const std::array<std::pair<const char *, quint16>, 5> counts = {{{"@AnaIn", config.AnaInCount},
                                                                     {"@AnaIn32Bit", config.AnaIn32Count},
                                                                     {"@AnaOut", config.AnaOutCount},
                                                                     {"@DigIn", config.DigInCount},
                                                                     {"@DigOut", config.DigOutCount}}};
    for (const auto &[id, count] : counts)
        r.text += QStringLiteral("%1: %2\n").arg(session.word(words, QLatin1String(id))).arg(count);
    r.text += slotText;
    return r;
}
