#pragma once
#include <QString>
#include <QStringList>

// What the words of the command line ask for. Arguments are those after the
// program name; words are compared exactly and case-sensitively.
struct CommandLineOptions {
    bool AutoStart = false;         // "AUTO" among arguments 1..3
    bool Valko = false;             // "valko" among arguments 1..3 -> BrandMode 1
    QString ServerName;             // whole argument beginning with "SERVER", empty = no pipe
    bool WaitBeforeOpen = false;    // "WAIT" as argument 4
    bool ReadDmsParameters = false; // "DMS" as argument 4
};

CommandLineOptions ParseCommandLine(const QStringList &arguments);

// "--help" or "--version" as any argument: print and exit before a window
// exists. No word of the command line above can be mistaken for them.
enum class InfoRequest { None, Help, Version };
InfoRequest InfoRequestOf(const QStringList &arguments);
QString UsageText();
QString VersionText(const QString &version);
