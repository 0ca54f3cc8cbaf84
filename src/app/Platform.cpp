#include "app/Platform.h"

#include <QByteArray>
#include <QtGlobal>

void PrepareApplicationEnvironment()
{
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", QByteArray("1"));
    // The system's zone, named, so that the C library stops looking at
    // /etc/localtime again at every local time conversion (Qt converts file
    // times of its style images with every repaint of a group box).
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", QByteArray(":/etc/localtime"));
}
