#include "app/CommandLine.h"

CommandLineOptions ParseCommandLine(const QStringList &arguments)
{
    CommandLineOptions options;
    for (int i = 0; i < 3 && i < arguments.size(); ++i) {
        const QString &word = arguments.at(i);
        if (word == QLatin1String("AUTO"))
            options.AutoStart = true;
        if (word == QLatin1String("valko"))
            options.Valko = true;
        if (word.left(6) == QLatin1String("SERVER") && options.ServerName.isEmpty())
            options.ServerName = word;
    }
    if (arguments.size() >= 4) {
        options.WaitBeforeOpen = arguments.at(3) == QLatin1String("WAIT");
        options.ReadDmsParameters = arguments.at(3) == QLatin1String("DMS");
    }
    return options;
}
