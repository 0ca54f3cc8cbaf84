#include "app/CommandLine.h"
#include "app/Platform.h"
#include "app/Station.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Answered before the application object exists: no display needed.
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    switch (InfoRequestOf(words)) {
    case InfoRequest::Help:
        std::fputs(UsageText().toLocal8Bit().constData(), stdout);
        return 0;
    case InfoRequest::Version:
        std::fputs(VersionText(QStringLiteral(VO_VERSION)).toLocal8Bit().constData(), stdout);
        return 0;
    case InfoRequest::None:
        break;
    }
    PrepareApplicationEnvironment();
    QApplication app(argc, argv);
    // Hidden windows must not keep the program alive, and closing a secondary
    // window must not end it: only the main window ends the run.
    app.setQuitOnLastWindowClosed(false);
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    Station station(arguments, QCoreApplication::applicationDirPath());
    station.start();
    return app.exec();
}
