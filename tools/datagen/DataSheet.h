#pragma once
// Data sheets: one PDF per data-sheet file name, covering every module of the
// catalogue that the double click leads to that file.
#include "Catalogue.h"

#include <QList>
#include <QString>

bool writeDataSheet(const QString &path, const Brand &brand, const Catalogue &catalogue,
                    const QList<const ModuleInfo *> &modules, QString &error);
