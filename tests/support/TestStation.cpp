#include "TestStation.h"

TestStation::TestStation(const QStringList &arguments)
    : station(arguments, folder.path()), d(station.d)
{
    d.setMessageSink(&sink);
    station.start();
}
