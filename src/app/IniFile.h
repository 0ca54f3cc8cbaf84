#pragma once
// The one reader and writer of INI-style files: Modbus.ini, the module
// description files and FuncCode.cfg.
//
// Profile semantics as on Windows: section and key names ignore case, values
// are trimmed, lines starting with ';' are comments, lines outside a section
// and lines without '=' are not keys, and a missing file, section or key gives
// the caller's default. Of two sections or two keys with the same name the
// first one counts. Values are taken as they stand: quotes are not removed, so
// a list of quoted items keeps its quotes for splitList().
//
// Writing changes the file in memory only and keeps every other line, comments
// included, in its order; save() then replaces the file as a whole.
//
// Files are read as UTF-8 (with or without byte order mark); a file that is not
// valid UTF-8 comes from an older installation and is read as Windows-1252.
// save() writes UTF-8, with a byte order mark if the file had one, and keeps
// the file's line ends (CR LF or LF; LF for a new file).
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

class IniFile
{
public:
    // Reads the file at once; a missing file reads as empty.
    explicit IniFile(const QString &path);

    const QString &path() const { return path_; }
    // False when the file exists but could not be read. save() then refuses,
    // so a passing read error cannot wipe the settings.
    bool readable() const { return readable_; }

    // Missing section or key gives `defaultValue`; a key with an empty value
    // gives an empty text.
    QString readString(const QString &section, const QString &key, const QString &defaultValue = QString()) const;
    // Decimal with optional sign, in the range of int. A missing key, an empty
    // value or anything else (hex, "12abc", "1.5", out of range) gives
    // `defaultValue`, as the platform's profile functions do.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    // An integer as for readInteger: 0 is false, any other number true.
    // Anything that is not an integer gives `defaultValue`.
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;

    bool sectionExists(const QString &section) const;
    bool keyExists(const QString &section, const QString &key) const;
    // Names as spelled in the file, in file order.
    QStringList sections() const;
    QStringList keys(const QString &section) const;

    // Replaces the value of an existing key in place; a new key goes behind the
    // last key of its section, a new section to the end of the file. Line
    // breaks in the value become blanks, since a value cannot span lines.
    // Returns false, changing nothing, for a name that cannot stand in the
    // file: empty, with a line break, a section name with ']', a key name with
    // '=' or starting with ';' or '['.
    bool writeString(const QString &section, const QString &key, const QString &value);
    bool writeInteger(const QString &section, const QString &key, int value);
    bool writeBool(const QString &section, const QString &key, bool value); // 1 or 0

    // Writes the whole file through a temporary file beside it, which then
    // replaces the file, so a crash never leaves half a settings file.
    bool save();

    // Numbers of the description files: "0x" (or "0X") and 1 to 16 hex digits,
    // taken as the 64-bit pattern (so 0xFFFFFFFFFFFFFFFF is -1); otherwise
    // decimal with optional sign in the range of qint64. Anything else is 0.
    static qint64 descriptionNumber(const QString &text);
    // Lists of the description files: items separated by a comma or by blanks;
    // an item holding a comma or blank stands in double quotes ("" inside
    // quotes is one quote). Blanks around a comma belong to the separator.
    // Two commas in a row, or a comma at the start or end, enclose an empty
    // item, so items keep their positions (paired lists such as values and
    // their texts stay aligned). An empty or blank text gives an empty list.
    static QStringList splitList(const QString &text);
    // UTF-8, or Windows-1252 when the bytes are not valid UTF-8.
    static QString decodeText(const QByteArray &bytes, bool *hadByteOrderMark = nullptr);

private:
    struct Line {
        enum Kind { Other, Section, Key };
        QString text; // as in the file, without the line end
        Kind kind = Other;
        QString name;  // section or key name, trimmed
        QString value; // key value, trimmed
    };
    struct SectionIndex {
        QString name;
        int header = 0;
        int lastKey = -1;             // line of the last key, -1 if none
        QHash<QString, int> keyLines; // folded key name -> line of the first key
        QStringList keyOrder;
    };

    void parse(const QString &text);
    void rebuildIndex();
    const SectionIndex *findSection(const QString &section) const;
    const Line *findKey(const QString &section, const QString &key) const;

    QString path_;
    bool readable_ = true;
    bool byteOrderMark_ = false;
    bool crlf_ = false;
    std::vector<Line> lines_;
    QHash<QString, SectionIndex> sections_; // folded name -> first section of that name
    QStringList sectionOrder_;
};
