// vo3112ctl: the station from the command line, on the core without windows.
#include "app/Platform.h"
#include "ctl/CtlOptions.h"
#include "ctl/CtlOutput.h"
#include "ctl/CtlSession.h"
#include "ctl/CtlUsage.h"
#include "ctl/Verbs.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    PrepareApplicationEnvironment();
    QCoreApplication app(argc, argv);
    QStringList words = app.arguments();
    words.removeFirst();
    const ParsedOptions parsed = ParseCtlOptions(words);
    const CtlOptions &options = parsed.options;
    if (options.help) {
        std::fputs(CtlUsageText().toLocal8Bit().constData(), stdout);
        return CtlExit::Done;
    }
    if (options.version) {
        std::fputs("vo3112ctl " VO_VERSION "\n", stdout);
        return CtlExit::Done;
    }
    if (!parsed.error.isEmpty())
        return WriteOutcome(UsageFailure(parsed.error), options.json);
    const Verb *verb = FindVerb(options.verb);
    if (!verb)
        return WriteOutcome(UsageFailure(QStringLiteral("unknown verb %1").arg(options.verb)), options.json);
    CtlSession session(options, QDir(QCoreApplication::applicationDirPath()).absolutePath() + QLatin1Char('/'));
    return WriteOutcome(verb->run(session, options.arguments), options.json);
}
