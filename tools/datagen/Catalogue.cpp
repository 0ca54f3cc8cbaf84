#include "Catalogue.h"

#include "app/IniFile.h"

#include <QFileInfo>

Brand neutralBrand()
{
    return {false, QStringLiteral("NX600"), QColor(0, 92, 150), QStringLiteral("ImgNX600.png"),
            QStringLiteral("Pdf/NUV")};
}

Brand brandedBrand()
{
    return {true, QStringLiteral("3100"), QColor(214, 110, 0), QStringLiteral("Img3100.png"),
            QStringLiteral("Pdf/VALKO")};
}

const ObjectInfo *Catalogue::object(const QString &id) const
{
    for (const ObjectInfo &o : objects)
        if (o.id.compare(id, Qt::CaseInsensitive) == 0)
            return &o;
    return nullptr;
}

namespace
{

int number(const IniFile &ini, const QString &section, const QString &key)
{
    return static_cast<int>(IniFile::descriptionNumber(ini.readString(section, key)));
}

ObjectInfo readObject(const IniFile &ini, const QString &id)
{
    const QString s = QStringLiteral("Object_") + id;
    ObjectInfo o;
    o.id = id;
    o.name = ini.readString(s, QStringLiteral("Name"));
    o.typ = number(ini, s, QStringLiteral("Typ"));
    o.bytes = number(ini, s, QStringLiteral("Bytes"));
    o.isSigned = number(ini, s, QStringLiteral("Signed")) != 0;
    o.bitNumbers = IniFile::splitList(ini.readString(s, QStringLiteral("BitNumber")));
    o.bitTexts = IniFile::splitList(ini.readString(s, QStringLiteral("BitText")));
    o.rangeCaption = ini.readString(s, QStringLiteral("ValueRangeCaption"));
    o.range = IniFile::splitList(ini.readString(s, QStringLiteral("ValueRange")));
    for (int r = 0; r < 4; ++r) {
        ValueRow row;
        row.caption = ini.readString(s, QStringLiteral("ValueCaption%1").arg(r));
        row.values = IniFile::splitList(ini.readString(s, QStringLiteral("ValueList%1").arg(r)));
        row.texts = IniFile::splitList(ini.readString(s, QStringLiteral("ValueText%1").arg(r)));
        if (!row.values.isEmpty())
            o.rows.append(row);
    }
    o.defaultValue = ini.readString(s, QStringLiteral("DefaultValue"));
    const int paraCount = number(ini, s, QStringLiteral("ParaCount"));
    const int captions = paraCount == 4 ? 3 : paraCount;
    for (int n = 0; n < captions; ++n) {
        o.stringCaptions.append(ini.readString(s, QStringLiteral("StringCaption%1").arg(n)));
        o.stringDefaults.append(ini.readString(s, QStringLiteral("StringDefault%1").arg(n)));
    }
    if (paraCount == 4) {
        o.stringCaptions.append(ini.readString(s, QStringLiteral("ValueCaption0")));
        o.stringDefaults.append(ini.readString(s, QStringLiteral("DefaultValue")));
    }
    return o;
}

} // namespace

bool readCatalogue(const QString &path, Catalogue &catalogue, QString &error)
{
    if (!QFileInfo(path).isFile()) {
        error = QStringLiteral("no such file: ") + path;
        return false;
    }
    const IniFile ini(path);
    catalogue = {};
    for (int id = 0; id < 256; ++id) {
        const QString s =
            QStringLiteral("Mod_ID_0x") + QString::number(id, 16).rightJustified(2, QLatin1Char('0')).toUpper();
        ModuleInfo m;
        m.shortName = ini.readString(s, QStringLiteral("ShortName"));
        if (m.shortName.isEmpty())
            continue;
        m.id = id;
        m.type = ini.readString(s, QStringLiteral("Type"));
        m.addName = ini.readString(s, QStringLiteral("AddName"));
        m.image = ini.readString(s, QStringLiteral("Image"));
        m.bytes = number(ini, s, QStringLiteral("Bytes"));
        m.channel = number(ini, s, QStringLiteral("Channel"));
        m.ioChannels = number(ini, s, QStringLiteral("IOChannels"));
        for (int n = 0; n <= qMin(m.channel, 8); ++n) {
            const QStringList ids = IniFile::splitList(ini.readString(s, QStringLiteral("ChannelObject%1").arg(n)));
            m.objectLists.append(ids);
            for (const QString &id : ids)
                if (!catalogue.object(id))
                    catalogue.objects.append(readObject(ini, id));
        }
        catalogue.modules.append(m);
    }
    if (catalogue.modules.isEmpty()) {
        error = QStringLiteral("no module described in ") + path;
        return false;
    }
    return true;
}

QString dataSheetName(const QString &shortName, bool branded)
{
    QString stem = shortName.left(6);
    if (!branded) {
        const QString eight = shortName.left(8);
        if (eight == QLatin1String("NX 624-0") || eight == QLatin1String("NX 624-1") ||
            eight == QLatin1String("NX 624-2"))
            stem = eight;
    }
    return stem + QStringLiteral("FB.pdf");
}
