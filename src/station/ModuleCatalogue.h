#pragma once
// What the module description file beside the program says about each module
// identifier: names, kind, picture and parameter object lists.
#include <QString>
#include <QStringList>
#include <array>

struct CatalogueEntry {
    QString ShortName; // empty: the identifier is not described
    QString AddName;
    quint8 Kind = 0; // 1 AI, 2 AO, 4 DI, 8 DO, 0 other
    quint8 Bytes = 0;
    quint8 Channel = 0;
    std::array<QStringList, 9> ObjectLists; // 0: the module, n: channel n
    QString PictureFile;                    // empty: no picture
};

using ModuleCatalogueTable = std::array<CatalogueEntry, 256>;

// "ModIO_NX.cfg" (neutral) or "ModIO_QA.cfg" (branded).
QString DescriptionFileName(quint8 brandMode);
// "Mod_ID_0x" + two upper-case hex digits.
QString ModuleSectionName(int id);
quint8 ModuleKindOf(const QString &type);

// Reads the description file of the brand from `programFolder` (with trailing
// separator). A missing file gives an empty catalogue; pictures that do not
// load are left out silently when a window draws them.
ModuleCatalogueTable LoadModuleCatalogue(const QString &programFolder, quint8 brandMode);

// The empty-slot picture file of a brand ("ImgNX600" neutral, "Img3100"
// branded); empty when there is none.
QString EmptySlotPictureFile(const QString &programFolder, quint8 brandMode);
