#pragma once
// Checks of the files delivered beside the program. Each check returns the
// problems it found, one text per problem, naming the section and key; an
// empty list means the file is sound.
#include <QString>
#include <QStringList>

// Empty-slot pictures the program shows by these names.
inline const QString NeutralEmptyPicture = QStringLiteral("ImgNX600.png");
inline const QString BrandedEmptyPicture = QStringLiteral("Img3100.png");

// The folder the tests take as program folder: VO_BUILD_DIR, else the working
// directory.
QString programFolder();

// A module description file: its module sections against the identifier
// table, its object sections against what the parameter editors read, and the
// pictures and data sheets it leads to in `folder`.
QStringList checkDescriptionFile(const QString &cfgPath, const QString &folder, bool branded);

// The function code file of the additional I/O editor.
QStringList checkFuncCodeFile(const QString &path);
