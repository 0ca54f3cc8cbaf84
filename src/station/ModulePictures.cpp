#include "station/ModulePictures.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>

namespace
{

struct CachedPicture {
    QDateTime modified;
    qint64 size = -1;
    QImage image;
};

} // namespace

QImage ModulePicture(const QString &file)
{
    if (file.isEmpty())
        return QImage();
    // Grids repaint often; a picture is read from disk only when it changed.
    static QHash<QString, CachedPicture> cache;
    const QFileInfo info(file);
    CachedPicture &entry = cache[file];
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    const qint64 size = info.exists() ? info.size() : -1;
    if (entry.size != size || entry.modified != modified) {
        entry.image = size >= 0 ? QImage(file) : QImage();
        entry.modified = modified;
        entry.size = size;
    }
    return entry.image;
}
