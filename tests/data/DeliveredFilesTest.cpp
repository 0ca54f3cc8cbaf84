// The description files, FuncCode.cfg, the pictures and the data sheets as
// the build puts them beside the program, and the checks on broken copies of
// them, so that a check that lets a fault through fails here.
#include "DataFileChecks.h"

#include "app/IniFile.h"
#include "station/ModuleCatalogue.h"
#include "station/ModulePictures.h"
#include "station/StationConfigDecode.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace
{

using Change = std::function<void(const QString &path)>;

// Sets a key in the file at `path`.
Change edit(const char *section, const char *key, const char *value)
{
    return [=](const QString &path) {
        IniFile ini(path);
        ASSERT_TRUE(ini.sectionExists(QLatin1String(section))) << section;
        ASSERT_TRUE(ini.writeString(QLatin1String(section), QLatin1String(key), QString::fromUtf8(value)));
        ASSERT_TRUE(ini.save());
    };
}

// Sets one key in several sections.
Change editEach(std::vector<const char *> sections, const char *key, const char *value)
{
    return [=](const QString &path) {
        for (const char *section : sections)
            edit(section, key, value)(path);
    };
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void overwrite(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
}

// Replaces text that occurs exactly once in the file.
Change replace(const char *from, const char *to)
{
    return [=](const QString &path) {
        QByteArray text = contents(path);
        ASSERT_EQ(text.count(from), 1) << from;
        overwrite(path, text.replace(from, to));
    };
}

Change append(const char *lines)
{
    return [=](const QString &path) { overwrite(path, contents(path) + "\n" + lines); };
}

Change both(Change first, Change second)
{
    return [=](const QString &path) {
        first(path);
        second(path);
    };
}

Change removeFile(const char *relative)
{
    return [=](const QString &folder) {
        ASSERT_TRUE(QFile::remove(QDir(folder).filePath(QLatin1String(relative)))) << relative;
    };
}

Change replaceFile(const char *relative, const QByteArray &bytes)
{
    return [=](const QString &folder) {
        ASSERT_TRUE(QFile::exists(QDir(folder).filePath(QLatin1String(relative)))) << relative;
        overwrite(QDir(folder).filePath(QLatin1String(relative)), bytes);
    };
}

Change resizePicture(const char *relative, int width, int height)
{
    return [=](const QString &folder) {
        const QString path = QDir(folder).filePath(QLatin1String(relative));
        ASSERT_FALSE(QImage(path).isNull()) << relative;
        ASSERT_TRUE(QImage(path).scaled(width, height).save(path));
    };
}

// Plain copy; QFile::copy syncs every file to disk, which makes the many
// copies of the tables slow on a busy machine.
bool copyFile(const QString &from, const QString &to)
{
    QFile source(from);
    QFile target(to);
    return source.open(QIODevice::ReadOnly) && target.open(QIODevice::WriteOnly) &&
           target.write(source.readAll()) == source.size();
}

// A copy of the delivered files in a folder of its own, to break.
struct FolderCopy {
    QTemporaryDir dir;
    bool ok = true;

    FolderCopy()
    {
        const QDir from(programFolder());
        for (const char *name : {"ModIO_NX.cfg", "ModIO_QA.cfg", "FuncCode.cfg", "ImgNX600.png", "Img3100.png"})
            ok &= copyFile(from.filePath(QLatin1String(name)), dir.filePath(QLatin1String(name)));
        for (const char *sub : {"Bilder", "Pdf"}) {
            QDirIterator it(from.filePath(QLatin1String(sub)), QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString source = it.next();
                const QString target = dir.filePath(from.relativeFilePath(source));
                ok &= QDir().mkpath(QFileInfo(target).path()) && copyFile(source, target);
            }
        }
    }
    QString path() const { return dir.path(); }
    QString file(const char *name) const { return dir.filePath(QLatin1String(name)); }
};

bool anyContains(const QStringList &problems, const char *fragment)
{
    for (const QString &p : problems)
        if (p.contains(QString::fromUtf8(fragment)))
            return true;
    return false;
}

struct DescriptionFile {
    const char *name;
    bool branded;
};

constexpr DescriptionFile Neutral{"ModIO_NX.cfg", false};
constexpr DescriptionFile Branded{"ModIO_QA.cfg", true};

TEST(DeliveredFiles, DescriptionFilesAreSound)
{
    for (const DescriptionFile &f : {Neutral, Branded}) {
        const QString path = QDir(programFolder()).filePath(QLatin1String(f.name));
        ASSERT_TRUE(QFile::exists(path)) << path.toStdString();
        EXPECT_EQ(checkDescriptionFile(path, programFolder(), f.branded), QStringList()) << f.name;
    }
}

TEST(DeliveredFiles, FuncCodeFileIsSound)
{
    const QString path = QDir(programFolder()).filePath(QStringLiteral("FuncCode.cfg"));
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(checkFuncCodeFile(path), QStringList());
}

// The program's own catalogue loader on the delivered files: every module of
// the identifier table is there with its kind and a picture as large as the
// empty-slot picture, and its parameter objects are listed where the editors
// look for them.
TEST(DeliveredFiles, ProgramLoadsTheDeliveredCatalogue)
{
    struct Row {
        int id;
        quint8 kind;
    };
    const Row rows[] = {{0, 0},  {1, 8},  {2, 4},  {3, 1},   {4, 1},   {5, 2},   {6, 4},
                        {7, 8},  {8, 1},  {9, 4},  {10, 1},  {11, 1},  {14, 1},  {15, 1},
                        {68, 1}, {69, 2}, {75, 1}, {132, 1}, {133, 2}, {139, 1}, {245, 0}};
    const QString folder = programFolder() + QLatin1Char('/');
    for (const quint8 brand : {quint8(0), quint8(1)}) {
        SCOPED_TRACE(brand == 1 ? "branded" : "neutral");
        const QImage empty = ModulePicture(EmptySlotPictureFile(folder, brand));
        ASSERT_FALSE(empty.isNull());
        const QImage branded = ModulePicture(EmptySlotPictureFile(folder, 1));
        EXPECT_EQ(empty.width(), branded.width());
        EXPECT_EQ(empty.height(), branded.height());
        const ModuleCatalogueTable table = LoadModuleCatalogue(folder, brand);
        QList<int> described;
        for (int id = 0; id < 256; ++id)
            if (!table[id].ShortName.isEmpty())
                described.append(id);
        QList<int> expected;
        for (const Row &r : rows)
            expected.append(r.id);
        EXPECT_EQ(described, expected);
        for (const Row &r : rows) {
            const CatalogueEntry &e = table[r.id];
            SCOPED_TRACE(r.id);
            EXPECT_EQ(e.Kind, r.kind);
            const QImage picture = ModulePicture(e.PictureFile);
            EXPECT_FALSE(picture.isNull());
            EXPECT_EQ(picture.width(), empty.width());
            EXPECT_EQ(picture.height(), empty.height());
            const bool analog = r.kind == 1 || r.kind == 2;
            const bool digital = r.kind == 4 || r.kind == 8;
            EXPECT_EQ(e.ObjectLists[0].isEmpty(), !digital && r.id != 245);
            for (int n = 1; n <= 8; ++n)
                EXPECT_EQ(e.ObjectLists[n].isEmpty(), !analog || n > e.Channel) << "list " << n;
            EXPECT_TRUE(QFile::exists(DataSheetPath(folder, brand, e.ShortName))) << e.ShortName.toStdString();
        }
    }
}

struct Breakage {
    const char *what;
    DescriptionFile file;
    Change changeFile;    // on the copied description file
    Change changeFolder;  // on the copied program folder
    const char *expected; // part of one of the problems
};

TEST(DeliveredFiles, BrokenDescriptionFilesAreCaught)
{
    const Breakage rows[] = {
        {"kind in lower case", Neutral, edit("Mod_ID_0x01", "Type", "do"), nullptr, "[Mod_ID_0x01] Type \"do\""},
        {"coupler as an I/O module", Branded, edit("Mod_ID_0xF5", "Type", "AI"), nullptr, "[Mod_ID_0xF5] Type \"AI\""},
        {"more than eight channels", Neutral, edit("Mod_ID_0x03", "Channel", "9"), nullptr, "[Mod_ID_0x03] Channel 9"},
        {"process bytes of another module", Neutral, edit("Mod_ID_0x0E", "Bytes", "8"), nullptr,
         "[Mod_ID_0x0E] Bytes 8"},
        {"object without section", Neutral, edit("Mod_ID_0x04", "ChannelObject2", "0x7000,0x7001,0x7002,0x7999"),
         nullptr, "ChannelObject2: no section Object_0x7999"},
        {"object id of eight characters", Neutral,
         edit("Mod_ID_0x04", "ChannelObject1", "0x700000,0x7001,0x7002,0x7003"), nullptr, "longer than 7"},
        {"object without Name", Branded, edit("Object_0x7000", "Name", ""), nullptr, "[Object_0x7000] Name missing"},
        {"object without Typ", Branded, edit("Object_0x7001", "Typ", ""), nullptr, "[Object_0x7001] Typ missing"},
        {"object without Bytes", Neutral, edit("Object_0x7002", "Bytes", ""), nullptr, "[Object_0x7002] Bytes missing"},
        {"value texts one short", Neutral,
         edit("Object_0x7000", "ValueText0", "\"Kanal aus\",\"0..20 mA\",\"4..20 mA\""), nullptr,
         "[Object_0x7000] ValueList0 has 4 items, ValueText0 3"},
        {"bit texts one short", Neutral,
         edit("Object_0x6000", "BitText",
              "\"Kanal 1\",\"Kanal 2\",\"Kanal 3\",\"Kanal 4\",\"Kanal 5\",\"Kanal 6\",\"Kanal 7\""),
         nullptr, "[Object_0x6000] BitNumber has 8 items, BitText 7"},
        {"bit beyond the object's bytes", Neutral, edit("Object_0x6002", "Bytes", "1"), nullptr,
         "[Object_0x6002] BitNumber: bit 8 not within 1 bytes"},
        {"default above the range", Neutral, edit("Object_0x7104", "DefaultValue", "9000"), nullptr,
         "[Object_0x7104] DefaultValue 9000 outside ValueRange"},
        {"signed default below the range", Branded, edit("Object_0x7405", "DefaultValue", "-200000"), nullptr,
         "[Object_0x7405] DefaultValue -200000 outside ValueRange"},
        {"default that selects no item", Neutral, edit("Object_0x7001", "DefaultValue", "0x0013"), nullptr,
         "[Object_0x7001] DefaultValue selects no item of ValueList0"},
        {"list value outside its mask", Neutral, edit("Object_0x6003", "ValueList1", "0x0000,0x0200"), nullptr,
         "ValueList1 item 0x0200 lies outside its mask"},
        {"flag inside a row's mask", Neutral, edit("Object_0x7030", "BitNumber", "3"), nullptr,
         "[Object_0x7030] ValueMask0 overlaps"},
        {"number field with a hidden list", Neutral, edit("Object_0x6003", "ValueList0", "0"), nullptr,
         "ValueList0 is never shown"},
        {"digital default with a bit without box", Neutral, edit("Object_0x6010", "DefaultValue", "0x001F"), nullptr,
         "[Object_0x6010] DefaultValue sets bits that have no check box"},
        {"mixed default with a stray bit", Neutral, edit("Object_0x6100", "DefaultValue", "0x0402"), nullptr,
         "[Object_0x6100] DefaultValue sets bits no flag"},
        {"digital record one object short", Neutral, edit("Mod_ID_0x07", "ChannelObject0", "0x6010,0x6011,0x6012"),
         nullptr, "[Mod_ID_0x07] ChannelObject0 has 3 objects, the register block 4"},
        {"32-bit value in a one-register entry", Branded,
         edit("Mod_ID_0x0A", "ChannelObject2", "0x7400,0x7401,0x7402,0x7404,0x7403,0x7405,0x7406"), nullptr,
         "channel 2 entry 3 (0x7404): Bytes 4"},
        {"no signed one-byte number", Neutral, edit("Object_0x7021", "Bytes", "2"), nullptr,
         "ModIO_NX.cfg: no signed number field of 1 bytes"},
        {"no signed four-byte number", Branded,
         both(edit("Object_0x7405", "Signed", "0"), edit("Object_0x7406", "Signed", "0")), nullptr,
         "ModIO_QA.cfg: no signed number field of 4 bytes"},
        {"no digital object", Neutral,
         editEach({"Object_0x6000", "Object_0x6001", "Object_0x6010", "Object_0x6011", "Object_0x7002", "Object_0x7103",
                   "Object_0x7402"},
                  "Typ", "2"),
         nullptr, "ModIO_NX.cfg: no digital object"},
        {"coupler objects in another order", Neutral,
         edit("Mod_ID_0xF5", "ChannelObject0", "0x5501,0x5500,0x15502,0x25502,0x35502,0x45502,0x55502"), nullptr,
         "coupler objects must be"},
        {"route without ParaCount", Branded, edit("Object_0x15502", "ParaCount", ""), nullptr,
         "[Object_0x15502] ParaCount missing"},
        {"route without its third caption", Branded, edit("Object_0x35502", "StringCaption2", ""), nullptr,
         "[Object_0x35502] StringCaption2 missing"},
        {"address with four parameters", Neutral, edit("Object_0x5500", "ParaCount", "4"), nullptr,
         "[Object_0x5500] StringCaption1 missing"},
        {"route default that is no address", Neutral, edit("Object_0x25502", "StringDefault1", "255.255.0"), nullptr,
         "StringDefault1 255.255.0 is not an address"},
        {"short name apart from the built-in one", Neutral, edit("Mod_ID_0x02", "ShortName", "NX 644"), nullptr,
         "does not match the built-in name NX641"},
        {"short name that misses its data sheet", Neutral, edit("Mod_ID_0x0E", "ShortName", "NX624-0"), nullptr,
         "[Mod_ID_0x0E] data sheet Pdf/NUV/NX624-FB.pdf does not exist"},
        {"module 12 described", Neutral, append("[Mod_ID_0x0C]\nShortName=NX 699\n"), nullptr,
         "[Mod_ID_0x0C] module id not in the identifier table"},
        {"lower-case hex in a section name", Neutral, replace("[Mod_ID_0x0A]", "[Mod_ID_0x0a]"), nullptr,
         "[Mod_ID_0x0a] section name is not"},
        {"module section missing", Neutral, replace("[Mod_ID_0x45]", "[Mod_ID_0x46]"), nullptr,
         "[Mod_ID_0x45] missing"},
        {"object section named by nothing", Branded, append("[Object_0x7FFF]\nName=Rest\n"), nullptr,
         "[Object_0x7FFF] object named by no module"},
        {"picture missing", Neutral, nullptr, removeFile("Bilder/NX_05.png"),
         "[Mod_ID_0x05] Image Bilder/NX_05.png does not exist"},
        {"picture that does not load", Branded, nullptr, replaceFile("Bilder/QA_07.png", "not a picture"),
         "[Mod_ID_0x07] Image Bilder/QA_07.png does not load"},
        {"picture of another size", Neutral, nullptr, resizePicture("Bilder/NX_0A.png", 61, 160),
         "[Mod_ID_0x0A] Image Bilder/NX_0A.png is 61 x 160"},
        {"branded empty-slot picture missing", Neutral, nullptr, removeFile("Img3100.png"),
         "Img3100.png: does not load"},
        {"data sheet that is not a PDF", Branded, nullptr, replaceFile("Pdf/VALKO/QA3130FB.pdf", "<html></html>"),
         "[Mod_ID_0x04] data sheet Pdf/VALKO/QA3130FB.pdf is not a PDF"},
        {"data sheet missing", Neutral, nullptr, removeFile("Pdf/NUV/NX 631FB.pdf"),
         "[Mod_ID_0x05] data sheet Pdf/NUV/NX 631FB.pdf does not exist"},
    };
    for (const Breakage &row : rows) {
        SCOPED_TRACE(row.what);
        FolderCopy copy;
        ASSERT_TRUE(copy.ok);
        const QString cfg = copy.file(row.file.name);
        ASSERT_TRUE(checkDescriptionFile(cfg, copy.path(), row.file.branded).isEmpty()) << "copy already broken";
        if (row.changeFile)
            row.changeFile(cfg);
        if (row.changeFolder)
            row.changeFolder(copy.path());
        const QStringList problems = checkDescriptionFile(cfg, copy.path(), row.file.branded);
        EXPECT_TRUE(anyContains(problems, row.expected))
            << "expected: " << row.expected << "\nfound: " << problems.join('\n').toStdString();
    }
}

TEST(DeliveredFiles, BrokenFuncCodeFilesAreCaught)
{
    const struct {
        const char *what;
        Change change;
        const char *expected;
    } rows[] = {
        {"function 0 not for analog inputs", edit("Function_0x00", "Type", "0x0E"),
         "analog input, language 0: function 0 must come first"},
        {"function 0 without English name", edit("Function_0x00", "Text1", ""), "[Function_0x00] Text1 missing"},
        {"function 0 without English name, per kind", edit("Function_0x00", "Text1", ""),
         "digital output, language 1: function 0 must come first"},
        {"function 255 delivered", append("[Function_0xFF]\nText0=Aus\nText1=Off\nType=0x01\n"),
         "[Function_0xFF] function 255 hides the object editor"},
        {"kind mask without 0x", edit("Function_0x05", "Type", "01"), "[Function_0x05] Type 01 is not 0x"},
        {"kind mask of no kind", edit("Function_0x05", "Type", "0x00"),
         "[Function_0x05] Type 0x00 names no module kind"},
        {"section name with one digit", replace("[Function_0x09]", "[Function_0x9]"),
         "[Function_0x9] section name is not"},
        {"analog outputs left with two functions",
         both(edit("Function_0x08", "Type", "0x01"), edit("Function_0x09", "Type", "0x08")),
         "analog output, language 0: fewer than three"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        FolderCopy copy;
        ASSERT_TRUE(copy.ok);
        const QString path = copy.file("FuncCode.cfg");
        ASSERT_TRUE(checkFuncCodeFile(path).isEmpty()) << "copy already broken";
        row.change(path);
        const QStringList problems = checkFuncCodeFile(path);
        EXPECT_TRUE(anyContains(problems, row.expected))
            << "expected: " << row.expected << "\nfound: " << problems.join('\n').toStdString();
    }
}

} // namespace
