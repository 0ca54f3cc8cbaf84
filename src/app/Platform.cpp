#include "app/Platform.h"

#include <QByteArray>
#include <QtGlobal>

void PrepareApplicationEnvironment()
{
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", QByteArray("1"));
}
