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

InfoRequest InfoRequestOf(const QStringList &arguments)
{
    for (const QString &word : arguments) {
        if (word == QLatin1String("--help") || word == QLatin1String("-h"))
            return InfoRequest::Help;
        if (word == QLatin1String("--version"))
            return InfoRequest::Version;
    }
    return InfoRequest::None;
}

QString UsageText()
{
    return QStringLiteral("Usage: vo3112ccc [word1] [word2] [word3] [word4]\n"
                          "Modbus master for commissioning and diagnosing a VO3112 remote-I/O station.\n"
                          "\n"
                          "Words, compared exactly (upper and lower case count):\n"
                          "  AUTO        (word 1, 2 or 3) open the saved link, read the configuration\n"
                          "              and start the process data cycle\n"
                          "  valko       (word 1, 2 or 3) branded module names and data sheets\n"
                          "  SERVER...   (word 1, 2 or 3) serve the pipe named after the whole word,\n"
                          "              e.g. SERVER1; vo3112pipe is a client\n"
                          "  WAIT        (word 4) the automatic start waits 2 s before opening the link\n"
                          "  DMS         (word 4) the automatic start reads the strain-gauge parameters\n"
                          "  --help      print this text and exit\n"
                          "  --version   print the version and exit\n"
                          "\n"
                          "Settings: Modbus.ini beside the program where that folder is writable,\n"
                          "otherwise ~/.config/vo3112ccc/Modbus.ini (seeded from the one beside the\n"
                          "program). Datenverkehr.txt and data_log.csv go to the current folder, or to\n"
                          "the documents folder when the current one is read-only.\n");
}

QString VersionText(const QString &version)
{
    return QStringLiteral("vo3112ccc ") + version + QLatin1Char('\n');
}
