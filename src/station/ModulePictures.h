#pragma once
// Module pictures as the windows draw them, loaded once per file.
#include <QImage>
#include <QString>

// The picture in `file`; a null image for an empty name or a file that does
// not load. A file changed on disk is loaded again.
QImage ModulePicture(const QString &file);
