#include "station/ModuleCatalogue.h"

#include "app/Conversions.h"
#include "app/IniFile.h"

#include <QFileInfo>

QString DescriptionFileName(quint8 brandMode)
{
    return brandMode == 1 ? QStringLiteral("ModIO_QA.cfg") : QStringLiteral("ModIO_NX.cfg");
}

QString ModuleSectionName(int id)
{
    return QStringLiteral("Mod_ID_0x") + HexText(static_cast<quint64>(id & 0xFF), 2);
}

quint8 ModuleKindOf(const QString &type)
{
    if (type == QLatin1String("AI"))
        return 1;
    if (type == QLatin1String("AO"))
        return 2;
    if (type == QLatin1String("DI"))
        return 4;
    if (type == QLatin1String("DO"))
        return 8;
    return 0;
}

ModuleCatalogueTable LoadModuleCatalogue(const QString &programFolder, quint8 brandMode, CataloguePictures pictures)
{
    ModuleCatalogueTable table;
    const IniFile ini(programFolder + DescriptionFileName(brandMode));
    for (int id = 0; id < 256; ++id) {
        const QString section = ModuleSectionName(id);
        CatalogueEntry &entry = table[static_cast<size_t>(id)];
        entry.ShortName = ini.readString(section, QStringLiteral("ShortName"));
        if (entry.ShortName.isEmpty())
            continue;
        entry.Kind = ModuleKindOf(ini.readString(section, QStringLiteral("Type")));
        entry.AddName = ini.readString(section, QStringLiteral("AddName"));
        entry.Bytes = static_cast<quint8>(IniFile::descriptionNumber(ini.readString(section, QStringLiteral("Bytes"))));
        entry.Channel =
            static_cast<quint8>(IniFile::descriptionNumber(ini.readString(section, QStringLiteral("Channel"))));
        const int lists = std::min<int>(entry.Channel, 8);
        for (int n = 0; n <= lists; ++n) {
            const QString value = ini.readString(section, QStringLiteral("ChannelObject%1").arg(n));
            if (!value.isEmpty())
                entry.ObjectLists[static_cast<size_t>(n)] = IniFile::splitList(value);
        }
        if (pictures == CataloguePictures::Load && ini.keyExists(section, QStringLiteral("Image")))
            entry.Picture = QImage(programFolder + ini.readString(section, QStringLiteral("Image")));
    }
    return table;
}

QImage EmptySlotPicture(const QString &programFolder, quint8 brandMode)
{
    const QString base = programFolder + (brandMode == 1 ? QStringLiteral("Img3100") : QStringLiteral("ImgNX600"));
    for (const char *suffix : {".png", ".bmp"}) {
        const QString path = base + QLatin1String(suffix);
        if (QFileInfo::exists(path))
            return QImage(path);
    }
    return QImage();
}
