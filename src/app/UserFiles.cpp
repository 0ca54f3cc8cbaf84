#include "app/UserFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

bool CanWriteFile(const QString &path)
{
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir() || !folder.isWritable())
        return false;
    return !file.exists() || file.isWritable();
}

QString UserSettingsFolder()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return base.isEmpty() ? QString() : base + QStringLiteral("/vo3112ccc");
}

QString UserDocumentsFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return folder;
}

QString SettingsFileFor(const QString &programFolder, const QString &userFolder, const WritableCheck &canWrite)
{
    const QString name = QStringLiteral("Modbus.ini");
    const QString beside = programFolder + name;
    if (canWrite(beside) || userFolder.isEmpty())
        return beside;
    const QString own = QDir(userFolder).filePath(name);
    if (QFileInfo::exists(own))
        return own;
    // Without a folder of the user's own the shared file is still read.
    if (!QDir().mkpath(userFolder))
        return beside;
    if (QFileInfo::exists(beside) && QFile::copy(beside, own)) {
        // The copy takes the shared file's mode, often read-only for the user.
        QFile::setPermissions(own, QFile::permissions(own) | QFile::ReadOwner | QFile::WriteOwner);
    }
    return own;
}

OutputPlace OutputFileFor(const QString &name, const QString &currentFolder, const QString &documentsFolder,
                          const WritableCheck &canWrite)
{
    if (QFileInfo(name).isAbsolute())
        return {name, false};
    if (canWrite(QDir(currentFolder).filePath(name)))
        return {name, false};
    return {QDir::cleanPath(QDir(documentsFolder).filePath(name)), true};
}

OutputPlace PlaceOutputFile(const QString &name)
{
    const OutputPlace place = OutputFileFor(name, QDir::currentPath(), UserDocumentsFolder());
    if (place.inDocumentsFolder)
        QDir().mkpath(QFileInfo(place.path).absolutePath());
    return place;
}
