#include "DataFileChecks.h"

#include "app/IniFile.h"
#include "station/ModuleNames.h"
#include "station/StationConfigDecode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <optional>

namespace
{

// What the identifier table, the default-data builder and the register map
// of the I/O editor fix for each module that the files must describe.
struct ModuleFacts {
    int id;
    const char *type; // "AI", "AO", "DI", "DO"; empty: no I/O module
    int channel;      // channels with their own object lists
    int ioChannels;   // channels on the front plate
    int processBytes; // `Bytes` of the module
    int registers;    // objects per parameter record
};

constexpr ModuleFacts Modules[] = {
    {0, "", 0, 0, 0, 0},    {1, "DO", 0, 8, 1, 4},   {2, "DI", 0, 4, 1, 1},   {3, "AI", 4, 4, 8, 4},
    {4, "AI", 4, 4, 8, 4},  {5, "AO", 4, 4, 8, 1},   {6, "DI", 0, 8, 1, 1},   {7, "DO", 0, 4, 1, 4},
    {8, "AI", 4, 4, 8, 6},  {9, "DI", 0, 4, 1, 1},   {10, "AI", 2, 2, 8, 7},  {11, "AI", 4, 4, 8, 4},
    {14, "AI", 2, 2, 4, 6}, {15, "AI", 2, 2, 4, 6},  {68, "AI", 4, 4, 8, 4},  {69, "AO", 4, 4, 8, 1},
    {75, "AI", 4, 4, 8, 4}, {132, "AI", 4, 4, 8, 4}, {133, "AO", 4, 4, 8, 1}, {139, "AI", 4, 4, 8, 4},
    {245, "", 0, 0, 0, 7},
};

const ModuleFacts *factsOf(int id)
{
    for (const ModuleFacts &m : Modules)
        if (m.id == id)
            return &m;
    return nullptr;
}

const QStringList CouplerObjects = {QStringLiteral("0x5500"),  QStringLiteral("0x5501"),  QStringLiteral("0x15502"),
                                    QStringLiteral("0x25502"), QStringLiteral("0x35502"), QStringLiteral("0x45502"),
                                    QStringLiteral("0x55502")};

bool isNumber(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(0[xX][0-9A-Fa-f]{1,16}|[+-]?[0-9]+)$"));
    return pattern.match(text).hasMatch();
}

// Four decimal octets 0..255 separated by dots, as the coupler editor shows addresses.
bool isDottedAddress(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString &p : parts) {
        bool ok = false;
        const int octet = p.toInt(&ok);
        if (!ok || p.isEmpty() || p.size() > 3 || !p.front().isDigit() || octet > 255)
            return false;
    }
    return true;
}

qint64 signExtend(quint64 value, int bytes)
{
    switch (bytes) {
    case 1:
        return static_cast<qint8>(value);
    case 2:
        return static_cast<qint16>(value);
    case 4:
        return static_cast<qint32>(value);
    default:
        return static_cast<qint64>(value);
    }
}

QString moduleSection(int id)
{
    return QStringLiteral("Mod_ID_0x") + QString::number(id, 16).rightJustified(2, QLatin1Char('0')).toUpper();
}

bool isIoType(const QString &type)
{
    return type == QLatin1String("AI") || type == QLatin1String("AO") || type == QLatin1String("DI") ||
           type == QLatin1String("DO");
}

class DescriptionChecker
{
public:
    DescriptionChecker(const QString &cfgPath, const QString &folder, bool branded)
        : ini_(cfgPath), folder_(folder), branded_(branded)
    {
    }

    QStringList run()
    {
        if (!QFile::exists(ini_.path())) {
            problems_ << ini_.path() + QStringLiteral(": missing");
            return problems_;
        }
        sectionNames();
        const QImage reference(path(BrandedEmptyPicture));
        if (reference.isNull())
            problems_ << BrandedEmptyPicture + QStringLiteral(": does not load");
        if (QImage(path(NeutralEmptyPicture)).isNull())
            problems_ << NeutralEmptyPicture + QStringLiteral(": does not load");
        else if (QImage(path(NeutralEmptyPicture)).size() != reference.size())
            problems_ << NeutralEmptyPicture + QStringLiteral(": not the size of ") + BrandedEmptyPicture;
        const auto builtIn = BuiltInShortNames(branded_ ? 1 : 0);
        for (int id = 0; id < 256; ++id)
            module(id, builtIn[id], reference.size());
        for (const QString &id : objectsChecked_.keys())
            object(id, objectsChecked_[id]);
        for (const QString &s : ini_.sections())
            if (s.startsWith(QLatin1String("Object_"), Qt::CaseInsensitive) && !objectsChecked_.contains(s.mid(7)))
                problem(s, QStringLiteral("object named by no module"));
        coverage();
        return problems_;
    }

private:
    QString path(const QString &relative) const { return QDir(folder_).filePath(relative); }
    QString read(const QString &s, const QString &k) const { return ini_.readString(s, k); }
    qint64 number(const QString &s, const QString &k) const { return IniFile::descriptionNumber(read(s, k)); }
    void problem(const QString &section, const QString &text)
    {
        problems_ << QStringLiteral("[%1] %2").arg(section, text);
    }

    // Sections the program never reads point at a typing error.
    void sectionNames()
    {
        static const QRegularExpression modulePattern(QStringLiteral("^Mod_ID_0x[0-9A-F]{2}$"));
        for (const QString &s : ini_.sections()) {
            if (s.startsWith(QLatin1String("Mod_ID"), Qt::CaseInsensitive) && !modulePattern.match(s).hasMatch())
                problem(s, QStringLiteral("section name is not Mod_ID_0x and two upper-case hex digits"));
            else if (!s.startsWith(QLatin1String("Mod_ID"), Qt::CaseInsensitive) &&
                     !s.startsWith(QLatin1String("Object_"), Qt::CaseInsensitive))
                problem(s, QStringLiteral("section is read by nothing"));
        }
    }

    void module(int id, const QString &builtInName, QSize pictureSize)
    {
        const QString s = moduleSection(id);
        const QString shortName = read(s, QStringLiteral("ShortName"));
        const ModuleFacts *facts = factsOf(id);
        if (shortName.isEmpty()) {
            if (facts)
                problem(s, QStringLiteral("missing or without ShortName"));
            else if (ini_.sectionExists(s))
                problem(s, QStringLiteral("section without ShortName"));
            return;
        }
        if (!facts) {
            problem(s, QStringLiteral("module id not in the identifier table"));
            return;
        }
        // The neutral file writes the family and the number apart ("NX 624-1").
        QString compact = shortName;
        if (!branded_)
            compact.remove(QLatin1Char(' '));
        if (id != 245 && compact != builtInName)
            problem(s, QStringLiteral("ShortName %1 does not match the built-in name %2").arg(shortName, builtInName));

        const QString type = read(s, QStringLiteral("Type"));
        if (facts->type[0] ? type != QLatin1String(facts->type) : (type.isEmpty() || isIoType(type)))
            problem(s, QStringLiteral("Type \"%1\", expected %2")
                           .arg(type, facts->type[0] ? facts->type : "a kind other than AI, AO, DI, DO"));
        if (read(s, QStringLiteral("AddName")).isEmpty())
            problem(s, QStringLiteral("AddName missing"));
        for (const char *key : {"Bytes", "Channel", "IOChannels"})
            if (!isNumber(read(s, QLatin1String(key))))
                problem(s, QStringLiteral("%1 is not a number").arg(key));
        if (number(s, QStringLiteral("Bytes")) != facts->processBytes)
            problem(s, QStringLiteral("Bytes %1, expected %2")
                           .arg(number(s, QStringLiteral("Bytes")))
                           .arg(facts->processBytes));
        const qint64 channel = number(s, QStringLiteral("Channel"));
        if (channel > 8 || channel != facts->channel)
            problem(s, QStringLiteral("Channel %1, expected %2").arg(channel).arg(facts->channel));
        if (number(s, QStringLiteral("IOChannels")) != facts->ioChannels)
            problem(s, QStringLiteral("IOChannels %1, expected %2")
                           .arg(number(s, QStringLiteral("IOChannels")))
                           .arg(facts->ioChannels));

        picture(s, id, pictureSize);
        dataSheet(s, shortName);

        QList<QStringList> lists;
        for (qint64 n = 0; n <= qBound(qint64(0), channel, qint64(8)); ++n) {
            const QString key = QStringLiteral("ChannelObject%1").arg(n);
            if (!ini_.keyExists(s, key))
                problem(s, key + QStringLiteral(" missing"));
            lists.append(IniFile::splitList(read(s, key)));
            for (const QString &object : lists.last())
                objectReference(s, key, object, id == 245);
        }
        if (id == 245)
            couplerLists(s, lists);
        else if (facts->type[0])
            records(s, *facts, lists);
    }

    void picture(const QString &s, int id, QSize size)
    {
        const QString image = read(s, QStringLiteral("Image"));
        if (image.isEmpty()) {
            problem(s, QStringLiteral("Image missing"));
            return;
        }
        if (id == 0 && image != (branded_ ? BrandedEmptyPicture : NeutralEmptyPicture))
            problem(s, QStringLiteral("Image of the empty slot is not the empty-slot picture"));
        const QImage picture(path(image));
        if (!QFile::exists(path(image)))
            problem(s, QStringLiteral("Image %1 does not exist").arg(image));
        else if (picture.isNull())
            problem(s, QStringLiteral("Image %1 does not load").arg(image));
        else if (picture.size() != size)
            problem(s, QStringLiteral("Image %1 is %2 x %3, not the size of the empty-slot picture")
                           .arg(image)
                           .arg(picture.width())
                           .arg(picture.height()));
    }

    void dataSheet(const QString &s, const QString &shortName)
    {
        const QString sheet = DataSheetPath(QString(), branded_ ? 1 : 0, shortName);
        QFile file(path(sheet));
        if (!file.open(QIODevice::ReadOnly))
            problem(s, QStringLiteral("data sheet %1 does not exist").arg(sheet));
        else if (file.read(5) != "%PDF-")
            problem(s, QStringLiteral("data sheet %1 is not a PDF").arg(sheet));
    }

    void objectReference(const QString &s, const QString &key, const QString &object, bool coupler)
    {
        if (object.isEmpty() || object.size() > 7) {
            problem(s, QStringLiteral("%1: object id \"%2\" empty or longer than 7 characters").arg(key, object));
            return;
        }
        if (!ini_.sectionExists(QStringLiteral("Object_") + object)) {
            problem(s, QStringLiteral("%1: no section Object_%2").arg(key, object));
            return;
        }
        if (objectsChecked_.contains(object) && objectsChecked_[object] != coupler)
            problem(s, QStringLiteral("%1: object %2 serves both the coupler and I/O modules").arg(key, object));
        objectsChecked_[object] = coupler;
    }

    void couplerLists(const QString &s, const QList<QStringList> &lists)
    {
        // The coupler editor edits tab k by its position: the order is fixed.
        if (lists.value(0) != CouplerObjects)
            problem(s, QStringLiteral("ChannelObject0: coupler objects must be %1").arg(CouplerObjects.join(',')));
    }

    void records(const QString &s, const ModuleFacts &facts, const QList<QStringList> &lists)
    {
        const bool analog = facts.type[0] == 'A';
        if (!analog) {
            if (lists.value(0).size() != facts.registers)
                problem(s, QStringLiteral("ChannelObject0 has %1 objects, the register block %2 registers")
                               .arg(lists.value(0).size())
                               .arg(facts.registers));
            return;
        }
        for (int n = 1; n < lists.size(); ++n) {
            const QStringList record = lists[0] + lists[n];
            if (record.size() != facts.registers || record.size() > 11)
                problem(s, QStringLiteral("channel %1 has %2 objects, the register block %3 registers")
                               .arg(n)
                               .arg(record.size())
                               .arg(facts.registers));
            for (int e = 0; e < record.size(); ++e) {
                // The strain gauge's entries 4 to 6 are 32-bit values, all others one register.
                const bool wide = facts.id == 10 && e >= 4;
                const qint64 bytes = number(QStringLiteral("Object_") + record[e], QStringLiteral("Bytes"));
                if (wide ? bytes != 4 : bytes > 2)
                    problem(s, QStringLiteral("channel %1 entry %2 (%3): Bytes %4 does not fit its registers")
                                   .arg(n)
                                   .arg(e)
                                   .arg(record[e])
                                   .arg(bytes));
            }
        }
    }

    void object(const QString &id, bool coupler)
    {
        const QString s = QStringLiteral("Object_") + id;
        if (read(s, QStringLiteral("Name")).isEmpty())
            problem(s, QStringLiteral("Name missing"));
        for (const char *key : {"Typ", "Bytes"})
            if (!isNumber(read(s, QLatin1String(key))))
                problem(s, QStringLiteral("%1 missing or not a number").arg(key));
        const qint64 typ = number(s, QStringLiteral("Typ"));
        const int bytes = static_cast<int>(number(s, QStringLiteral("Bytes")));
        if (coupler) {
            couplerObject(s, id);
            return;
        }
        if (typ != 1 && typ != 2)
            problem(s, QStringLiteral("Typ %1 is neither 1 (digital) nor 2 (mixed)").arg(typ));
        if (bytes != 1 && bytes != 2 && bytes != 4)
            problem(s, QStringLiteral("Bytes %1 is not 1, 2 or 4").arg(bytes));

        const quint64 sizeMask = bytes >= 8 ? ~0ULL : (1ULL << (8 * bytes)) - 1;
        quint64 used = 0; // bits claimed by flags and rows, which must not overlap
        const auto claim = [&](quint64 bits, const QString &what) {
            if (bits & used)
                problem(s, what + QStringLiteral(" overlaps other flags or rows"));
            if (bits & ~sizeMask)
                problem(s, what + QStringLiteral(" lies outside the object's Bytes"));
            used |= bits;
        };

        const QStringList bitNumbers = IniFile::splitList(read(s, QStringLiteral("BitNumber")));
        const QStringList bitTexts = IniFile::splitList(read(s, QStringLiteral("BitText")));
        if (bitNumbers.size() != bitTexts.size())
            problem(s,
                    QStringLiteral("BitNumber has %1 items, BitText %2").arg(bitNumbers.size()).arg(bitTexts.size()));
        if (bitNumbers.size() > (typ == 1 ? 8 : 4))
            problem(s, QStringLiteral("BitNumber has more items than the editor has check boxes"));
        if (typ == 1 && bitNumbers.isEmpty())
            problem(s, QStringLiteral("digital object without BitNumber"));
        quint64 flagBits = 0;
        for (const QString &b : bitNumbers) {
            const qint64 bit = IniFile::descriptionNumber(b);
            if (!isNumber(b) || bit < 0 || bit >= 8 * bytes) {
                problem(s, QStringLiteral("BitNumber: bit %1 not within %2 bytes").arg(b).arg(bytes));
                continue;
            }
            claim(1ULL << bit, QStringLiteral("bit ") + b);
            flagBits |= 1ULL << bit;
        }
        for (const QString &t : bitTexts)
            if (t.isEmpty())
                problem(s, QStringLiteral("BitText with an empty caption"));

        const QString defaultText = read(s, QStringLiteral("DefaultValue"));
        if (!isNumber(defaultText))
            problem(s, QStringLiteral("DefaultValue missing or not a number"));
        // The overview takes the default as a signed 32-bit number.
        const quint64 defaultValue =
            static_cast<quint64>(static_cast<qint64>(static_cast<qint32>(IniFile::descriptionNumber(defaultText))));
        if (typ == 1) {
            if (defaultValue & ~flagBits & sizeMask)
                problem(s, QStringLiteral("DefaultValue sets bits that have no check box"));
            return;
        }

        const bool numberField = !read(s, QStringLiteral("ValueRangeCaption")).isEmpty();
        const QStringList range = IniFile::splitList(read(s, QStringLiteral("ValueRange")));
        const bool isSigned = number(s, QStringLiteral("Signed")) != 0;
        const quint64 mask0 = static_cast<quint64>(number(s, QStringLiteral("ValueMask0")));
        if (numberField) {
            if (mask0 == 0)
                problem(s, QStringLiteral("number field without ValueMask0"));
            claim(mask0, QStringLiteral("ValueMask0"));
            if (ini_.keyExists(s, QStringLiteral("ValueList0")))
                problem(s, QStringLiteral("ValueList0 is never shown next to a number field"));
        }
        if (!range.isEmpty() || numberField) {
            const auto fieldValue = [&](quint64 v) {
                return isSigned ? signExtend(v & mask0, bytes) : static_cast<qint64>(v & mask0);
            };
            std::optional<qint64> low, high;
            if (range.size() < 1 || range.size() > 2)
                problem(s, QStringLiteral("ValueRange needs a minimum and a maximum"));
            for (const QString &item : range)
                if (!isNumber(item))
                    problem(s, QStringLiteral("ValueRange item %1 is not a number").arg(item));
            if (!range.isEmpty()) {
                const auto rangeValue = [&](const QString &t) {
                    const qint64 v = IniFile::descriptionNumber(t);
                    return t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) && isSigned
                               ? signExtend(static_cast<quint64>(v) & mask0, bytes)
                               : v;
                };
                low = rangeValue(range[0]);
                if (range.size() == 2)
                    high = rangeValue(range[1]);
            }
            if (low && high && *low > *high)
                problem(s, QStringLiteral("ValueRange minimum above its maximum"));
            const qint64 shown = numberField ? fieldValue(defaultValue) : static_cast<qint64>(defaultValue);
            if ((low && shown < *low) || (high && shown > *high))
                problem(s, QStringLiteral("DefaultValue %1 outside ValueRange %2").arg(shown).arg(range.join(',')));
            if (numberField && low && high &&
                (fieldValue(static_cast<quint64>(*low)) != *low || fieldValue(static_cast<quint64>(*high)) != *high))
                problem(s, QStringLiteral("ValueRange does not fit in ValueMask0"));
        }

        int rowsShown = 0;
        for (int r = 0; r < 4; ++r) {
            const QString listKey = QStringLiteral("ValueList%1").arg(r);
            const QStringList values = IniFile::splitList(read(s, listKey));
            const QStringList texts = IniFile::splitList(read(s, QStringLiteral("ValueText%1").arg(r)));
            if (values.size() != texts.size()) {
                problem(s, QStringLiteral("%1 has %2 items, ValueText%3 %4")
                               .arg(listKey)
                               .arg(values.size())
                               .arg(r)
                               .arg(texts.size()));
                continue;
            }
            if (values.isEmpty() || (numberField && r == 0))
                continue;
            ++rowsShown;
            const quint64 mask = static_cast<quint64>(number(s, QStringLiteral("ValueMask%1").arg(r)));
            if (mask == 0)
                problem(s, QStringLiteral("ValueMask%1 missing").arg(r));
            if (read(s, QStringLiteral("ValueCaption%1").arg(r)).isEmpty())
                problem(s, QStringLiteral("ValueCaption%1 missing").arg(r));
            claim(mask, QStringLiteral("ValueMask%1").arg(r));
            QSet<qint64> seen;
            bool defaultFound = false;
            for (int k = 0; k < values.size(); ++k) {
                const qint64 v = IniFile::descriptionNumber(values[k]);
                if (!isNumber(values[k]) || (static_cast<quint64>(v) & ~mask))
                    problem(s, QStringLiteral("%1 item %2 lies outside its mask and can never be selected")
                                   .arg(listKey, values[k]));
                if (seen.contains(v))
                    problem(s, QStringLiteral("%1 item %2 twice").arg(listKey, values[k]));
                seen.insert(v);
                if (texts[k].isEmpty())
                    problem(s, QStringLiteral("ValueText%1 item %2 empty").arg(r).arg(k));
                defaultFound |= static_cast<quint64>(v) == (defaultValue & mask);
            }
            if (!defaultFound)
                problem(s, QStringLiteral("DefaultValue selects no item of %1").arg(listKey));
        }
        if (!numberField && rowsShown == 0 && bitNumbers.isEmpty())
            problem(s, QStringLiteral("mixed object shows nothing"));
        if (defaultValue & ~used & sizeMask)
            problem(s, QStringLiteral("DefaultValue sets bits no flag, row or number field shows"));
    }

    // The I/O modules' objects use every editor a technician has: bit flags,
    // a number field beside value rows, signed numbers of 1, 2 and 4 bytes,
    // and ranges.
    void coverage()
    {
        bool digital = false, numberWithRows = false, range = false;
        QSet<qint64> signedSizes;
        for (auto it = objectsChecked_.constBegin(); it != objectsChecked_.constEnd(); ++it) {
            if (it.value())
                continue; // the coupler's
            const QString s = QStringLiteral("Object_") + it.key();
            const qint64 typ = number(s, QStringLiteral("Typ"));
            const bool field = !read(s, QStringLiteral("ValueRangeCaption")).isEmpty();
            digital |= typ == 1;
            bool rows = false;
            for (int r = 1; r < 4; ++r)
                rows |= !IniFile::splitList(read(s, QStringLiteral("ValueList%1").arg(r))).isEmpty();
            numberWithRows |= typ == 2 && field && rows;
            range |= typ == 2 && field && IniFile::splitList(read(s, QStringLiteral("ValueRange"))).size() == 2;
            if (typ == 2 && field && number(s, QStringLiteral("Signed")) != 0)
                signedSizes.insert(number(s, QStringLiteral("Bytes")));
        }
        const QString file = QFileInfo(ini_.path()).fileName();
        if (!digital)
            problems_ << file + QStringLiteral(": no digital object");
        if (!numberWithRows)
            problems_ << file + QStringLiteral(": no mixed object with a number field and value rows");
        if (!range)
            problems_ << file + QStringLiteral(": no number field with a range");
        for (qint64 bytes : {1, 2, 4})
            if (!signedSizes.contains(bytes))
                problems_ << file + QStringLiteral(": no signed number field of %1 bytes").arg(bytes);
    }

    void couplerObject(const QString &s, const QString &id)
    {
        const bool route = CouplerObjects.indexOf(id) >= 2;
        if (!isNumber(read(s, QStringLiteral("ParaCount")))) {
            problem(s, QStringLiteral("ParaCount missing"));
            return;
        }
        const qint64 paraCount = number(s, QStringLiteral("ParaCount"));
        // Routes show four rows (three addresses and the metric), the own
        // address and mask one row.
        if (route ? paraCount != 4 : (paraCount < 1 || paraCount >= 2))
            problem(s, QStringLiteral("ParaCount %1 does not fit a %2")
                           .arg(paraCount)
                           .arg(route ? "route" : "single address"));
        const qint64 captions = paraCount == 4 ? 3 : paraCount;
        for (qint64 n = 0; n < captions; ++n) {
            if (read(s, QStringLiteral("StringCaption%1").arg(n)).isEmpty())
                problem(s, QStringLiteral("StringCaption%1 missing").arg(n));
            const QString def = read(s, QStringLiteral("StringDefault%1").arg(n));
            if (!def.isEmpty() && !isDottedAddress(def))
                problem(s, QStringLiteral("StringDefault%1 %2 is not an address").arg(n).arg(def));
        }
        if (paraCount == 4) {
            if (read(s, QStringLiteral("ValueCaption0")).isEmpty())
                problem(s, QStringLiteral("ValueCaption0 missing"));
            const QStringList range = IniFile::splitList(read(s, QStringLiteral("ValueRange")));
            const qint64 def = number(s, QStringLiteral("DefaultValue"));
            if (range.size() == 2 &&
                (def < IniFile::descriptionNumber(range[0]) || def > IniFile::descriptionNumber(range[1])))
                problem(s, QStringLiteral("DefaultValue outside ValueRange"));
            if (range.size() == 2 && IniFile::descriptionNumber(range[1]) > 0xFFFF)
                problem(s, QStringLiteral("ValueRange beyond a 16-bit metric"));
        }
    }

    IniFile ini_;
    QString folder_;
    bool branded_;
    QMap<QString, bool> objectsChecked_; // object id -> named by the coupler
    QStringList problems_;
};

} // namespace

QString programFolder()
{
    const QString dir = qEnvironmentVariable("VO_BUILD_DIR");
    return dir.isEmpty() ? QDir::currentPath() : dir;
}

QStringList checkDescriptionFile(const QString &cfgPath, const QString &folder, bool branded)
{
    return DescriptionChecker(cfgPath, folder, branded).run();
}

QStringList checkFuncCodeFile(const QString &path)
{
    QStringList problems;
    if (!QFile::exists(path))
        return {path + QStringLiteral(": missing")};
    const IniFile ini(path);
    static const QRegularExpression sectionPattern(QStringLiteral("^Function_0x[0-9A-F]{2}$"));
    static const QRegularExpression typePattern(QStringLiteral("^0x[0-9A-Fa-f]{2}$"));
    for (const QString &s : ini.sections())
        if (!sectionPattern.match(s).hasMatch())
            problems << QStringLiteral("[%1] section name is not Function_0x and two upper-case hex digits").arg(s);

    // offered[language][kind bit]: function numbers in ascending order, as the editor lists them.
    QList<int> offered[2][4];
    for (int n = 0; n < 256; ++n) {
        const QString s =
            QStringLiteral("Function_0x") + QString::number(n, 16).rightJustified(2, QLatin1Char('0')).toUpper();
        if (!ini.sectionExists(s))
            continue;
        const QString type = ini.readString(s, QStringLiteral("Type"), QStringLiteral("0x00"));
        if (!typePattern.match(type).hasMatch())
            problems << QStringLiteral("[%1] Type %2 is not 0x and two hex digits").arg(s, type);
        bool ok = false;
        const int kinds = type.mid(2, 2).toInt(&ok, 16);
        if (!ok || kinds == 0 || (kinds & ~0x0F))
            problems << QStringLiteral("[%1] Type %2 names no module kind or an unknown one").arg(s, type);
        for (int language = 0; language < 2; ++language) {
            if (ini.readString(s, QStringLiteral("Text%1").arg(language)).isEmpty()) {
                problems << QStringLiteral("[%1] Text%2 missing").arg(s).arg(language);
                continue;
            }
            for (int k = 0; k < 4; ++k)
                if (ok && (kinds & (1 << k)))
                    offered[language][k].append(n);
        }
    }
    // 255 hides the parameter objects of every channel and module it is
    // given to; it belongs in test fixtures, not beside the program.
    if (ini.sectionExists(QStringLiteral("Function_0xFF")))
        problems << QStringLiteral("[Function_0xFF] function 255 hides the object editor and must not be delivered");
    static const char *const KindNames[4] = {"analog input", "analog output", "digital input", "digital output"};
    for (int language = 0; language < 2; ++language) {
        for (int k = 0; k < 4; ++k) {
            const QList<int> &f = offered[language][k];
            const QString who = QStringLiteral("%1, language %2").arg(KindNames[k]).arg(language);
            // The first function is the one every record gets; it must show
            // the objects, and a digital module shows them only for 0.
            if (f.isEmpty() || f.first() != 0)
                problems << who + QStringLiteral(": function 0 must come first");
            if (f.size() < 3)
                problems << who + QStringLiteral(": fewer than three functions");
        }
    }
    return problems;
}
