#include "app/IniFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <limits>
#include <optional>

namespace
{

// Windows-1252 where it differs from Latin-1. The five bytes the code page
// leaves undefined map to the control characters of the same number, as
// Windows itself decodes them.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<quint8>(bytes[i]);
        text[i] = (b >= 0x80 && b < 0xA0) ? QChar(Cp1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

QString foldName(const QString &name)
{
    return name.trimmed().toCaseFolded();
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

// Optional sign and decimal digits, nothing else.
std::optional<qint64> parseDecimal(const QString &text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    // Accumulate negatively so that the most negative value fits too.
    qint64 value = 0;
    constexpr qint64 Min = std::numeric_limits<qint64>::min();
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c - u'0';
        if (value < (Min + digit) / 10)
            return std::nullopt;
        value = value * 10 - digit;
    }
    if (!negative) {
        if (value == Min)
            return std::nullopt;
        value = -value;
    }
    return value;
}

std::optional<int> parseInteger(const QString &text)
{
    const std::optional<qint64> value = parseDecimal(text);
    if (!value || *value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(*value);
}

} // namespace

IniFile::IniFile(const QString &path) : path_(path)
{
    QFile file(path_);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        readable_ = false;
        return;
    }
    parse(decodeText(file.readAll(), &byteOrderMark_));
}

QString IniFile::decodeText(const QByteArray &bytes, bool *hadByteOrderMark)
{
    static constexpr char Bom[] = "\xEF\xBB\xBF";
    const bool bom = bytes.startsWith(Bom);
    if (hadByteOrderMark != nullptr)
        *hadByteOrderMark = bom;
    const QByteArrayView body = QByteArrayView(bytes).sliced(bom ? 3 : 0);
    // A byte order mark settles the question; invalid bytes then become U+FFFD.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(body);
    if (bom || !utf8.hasError())
        return text;
    return decodeWindows1252(body);
}

void IniFile::parse(const QString &text)
{
    crlf_ = text.contains(QLatin1String("\r\n"));
    QStringList rows = text.split(QLatin1Char('\n'));
    if (!rows.isEmpty() && rows.last().isEmpty())
        rows.removeLast(); // the line end of the last line
    lines_.clear();
    lines_.reserve(static_cast<size_t>(rows.size()));
    bool inSection = false;
    for (QString &row : rows) {
        if (row.endsWith(QLatin1Char('\r')))
            row.chop(1);
        Line line;
        line.text = row;
        const QString trimmed = row.trimmed();
        if (trimmed.startsWith(QLatin1Char('['))) {
            const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
            if (close > 0) {
                line.kind = Line::Section;
                line.name = trimmed.mid(1, close - 1).trimmed();
                inSection = true;
            }
        } else if (inSection && !trimmed.startsWith(QLatin1Char(';'))) {
            const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
            if (equals > 0) {
                line.name = trimmed.left(equals).trimmed();
                line.value = trimmed.mid(equals + 1).trimmed();
                if (!line.name.isEmpty())
                    line.kind = Line::Key;
            }
        }
        lines_.push_back(std::move(line));
    }
    rebuildIndex();
}

void IniFile::rebuildIndex()
{
    sections_.clear();
    sectionOrder_.clear();
    SectionIndex *current = nullptr; // null outside a section and in a repeated one
    for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
        const Line &line = lines_[static_cast<size_t>(i)];
        if (line.kind == Line::Section) {
            const QString folded = foldName(line.name);
            if (sections_.contains(folded)) {
                current = nullptr;
                continue;
            }
            current = &sections_[folded];
            current->name = line.name;
            current->header = i;
            sectionOrder_.append(line.name);
        } else if (line.kind == Line::Key && current != nullptr) {
            const QString folded = foldName(line.name);
            current->lastKey = i;
            if (!current->keyLines.contains(folded)) {
                current->keyLines.insert(folded, i);
                current->keyOrder.append(line.name);
            }
        }
    }
}

const IniFile::SectionIndex *IniFile::findSection(const QString &section) const
{
    const auto it = sections_.constFind(foldName(section));
    return it == sections_.constEnd() ? nullptr : &it.value();
}

const IniFile::Line *IniFile::findKey(const QString &section, const QString &key) const
{
    const SectionIndex *index = findSection(section);
    if (index == nullptr)
        return nullptr;
    const auto it = index->keyLines.constFind(foldName(key));
    if (it == index->keyLines.constEnd())
        return nullptr;
    return &lines_[static_cast<size_t>(it.value())];
}

QString IniFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const Line *line = findKey(section, key);
    return line == nullptr ? defaultValue : line->value;
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    const Line *line = findKey(section, key);
    if (line == nullptr)
        return defaultValue;
    return parseInteger(line->value).value_or(defaultValue);
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::sectionExists(const QString &section) const
{
    return findSection(section) != nullptr;
}

bool IniFile::keyExists(const QString &section, const QString &key) const
{
    return findKey(section, key) != nullptr;
}

QStringList IniFile::sections() const
{
    return sectionOrder_;
}

QStringList IniFile::keys(const QString &section) const
{
    const SectionIndex *index = findSection(section);
    return index == nullptr ? QStringList() : index->keyOrder;
}

bool IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    if (sectionName.isEmpty() || keyName.isEmpty() || hasLineBreak(sectionName) || hasLineBreak(keyName) ||
        sectionName.contains(QLatin1Char(']')) || keyName.contains(QLatin1Char('=')) ||
        keyName.startsWith(QLatin1Char(';')) || keyName.startsWith(QLatin1Char('[')))
        return false;
    QString flat = value;
    flat.replace(QLatin1String("\r\n"), QLatin1String(" "));
    flat.replace(QLatin1Char('\r'), QLatin1Char(' '));
    flat.replace(QLatin1Char('\n'), QLatin1Char(' '));

    const auto makeKeyLine = [&flat](const QString &name) {
        Line line;
        line.kind = Line::Key;
        line.name = name;
        line.value = flat.trimmed();
        line.text = name + QLatin1Char('=') + flat;
        return line;
    };

    const SectionIndex *index = findSection(sectionName);
    if (index != nullptr) {
        const auto it = index->keyLines.constFind(foldName(keyName));
        if (it != index->keyLines.constEnd()) {
            Line &line = lines_[static_cast<size_t>(it.value())];
            line = makeKeyLine(line.name); // keep the spelling of the file
            return true;
        }
        const int at = (index->lastKey >= 0 ? index->lastKey : index->header) + 1;
        lines_.insert(lines_.begin() + at, makeKeyLine(keyName));
    } else {
        if (!lines_.empty() && !lines_.back().text.trimmed().isEmpty())
            lines_.push_back(Line{});
        Line header;
        header.kind = Line::Section;
        header.name = sectionName;
        header.text = QLatin1Char('[') + sectionName + QLatin1Char(']');
        lines_.push_back(header);
        lines_.push_back(makeKeyLine(keyName));
    }
    rebuildIndex();
    return true;
}

bool IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::save()
{
    if (!readable_)
        return false;
    const QLatin1String lineEnd(crlf_ ? "\r\n" : "\n");
    QString text;
    for (const Line &line : lines_) {
        text += line.text;
        text += lineEnd;
    }
    QByteArray bytes = text.toUtf8();
    if (byteOrderMark_)
        bytes.prepend("\xEF\xBB\xBF");

    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

qint64 IniFile::descriptionNumber(const QString &text)
{
    const QString s = text.trimmed();
    if (s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const QString digits = s.mid(2);
        if (digits.isEmpty() || digits.size() > 16)
            return 0;
        quint64 value = 0;
        for (const QChar c : digits) {
            const int digit = hexDigit(c);
            if (digit < 0)
                return 0;
            value = value << 4 | static_cast<quint64>(digit);
        }
        return static_cast<qint64>(value);
    }
    return parseDecimal(s).value_or(0);
}

QStringList IniFile::splitList(const QString &text)
{
    QStringList items;
    const qsizetype n = text.size();
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < n && isBlank(text[i]))
            ++i;
    };
    skipBlanks();
    if (i == n)
        return items;
    while (true) {
        QString item;
        if (text[i] == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                if (text[i] == QLatin1Char('"')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                        item += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        }
        // Unquoted item, or what stands right behind a closing quote.
        while (i < n && text[i] != QLatin1Char(',') && !isBlank(text[i]))
            item += text[i++];
        items.append(item);
        skipBlanks();
        if (i == n)
            break;
        if (text[i] == QLatin1Char(',')) {
            ++i;
            skipBlanks();
            if (i == n) {
                items.append(QString());
                break;
            }
        }
    }
    return items;
}
