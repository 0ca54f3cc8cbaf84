#include "app/Platform.h"
#include "app/Station.h"

#include <QApplication>

int main(int argc, char *argv[])
{
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
