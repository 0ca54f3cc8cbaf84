#pragma once
// What the picture and data-sheet generator needs of a module description
// file, read with the program's own INI reader so that both see the same.
#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

struct Brand {
    bool branded = false;
    QString family;     // printed on the empty-slot cover and the data sheets
    QColor colour;      // colour band of every front plate
    QString emptyImage; // empty-slot picture, relative to the program folder
    QString pdfFolder;  // data-sheet folder, relative to the program folder
};

Brand neutralBrand();
Brand brandedBrand();

struct ValueRow {
    QString caption;
    QStringList values;
    QStringList texts;
};

struct ObjectInfo {
    QString id;
    QString name;
    int typ = 0;
    int bytes = 0;
    bool isSigned = false;
    QStringList bitNumbers;
    QStringList bitTexts;
    QString rangeCaption;
    QStringList range;
    QList<ValueRow> rows; // rows with a caption or a value list, in row order
    QString defaultValue;
    QStringList stringCaptions; // coupler objects
    QStringList stringDefaults;
};

struct ModuleInfo {
    int id = 0;
    QString shortName;
    QString type;
    QString addName;
    QString image;
    int bytes = 0;
    int channel = 0;
    int ioChannels = 0;
    QList<QStringList> objectLists; // list 0 .. Channel
};

struct Catalogue {
    QList<ModuleInfo> modules; // described identifiers, ascending
    QList<ObjectInfo> objects; // every object named by a module's lists, by id
    const ObjectInfo *object(const QString &id) const;
};

// False with `error` set when the file is missing or describes nothing.
bool readCatalogue(const QString &path, Catalogue &catalogue, QString &error);

// File name the configuration window opens on a double click on the module.
QString dataSheetName(const QString &shortName, bool branded);
