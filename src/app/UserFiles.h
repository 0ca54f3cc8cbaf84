#pragma once
// Where the program keeps its settings and writes what the user records, when
// it is installed for all users and its own folder is read-only.
#include <QString>
#include <functional>

// Whether a file may be created or replaced at `path`. Files are replaced
// through a temporary file beside them, so the folder must be writable too.
using WritableCheck = std::function<bool(const QString &path)>;
bool CanWriteFile(const QString &path);

// The user's own folders: settings under the configuration folder
// (~/.config/vo3112ccc), recordings in the documents folder.
QString UserSettingsFolder();
QString UserDocumentsFolder();

// The settings file: Modbus.ini beside the program where it can be written
// there; otherwise the user's copy, which is seeded from the one beside the
// program the first time. `programFolder` ends with '/' or is empty.
QString SettingsFileFor(const QString &programFolder, const QString &userFolder,
                        const WritableCheck &canWrite = CanWriteFile);

struct OutputPlace {
    QString path;                   // the file to open
    bool inDocumentsFolder = false; // the current folder could not take it
};

// A file the user records (traffic file, process value log). A name with an
// absolute path stays as it is; a relative one goes to the current folder
// where it can be written there, else to the documents folder.
OutputPlace OutputFileFor(const QString &name, const QString &currentFolder, const QString &documentsFolder,
                          const WritableCheck &canWrite = CanWriteFile);
// The same for the running program, creating the documents folder if needed.
OutputPlace PlaceOutputFile(const QString &name);
