#include "TestStation.h"

TestStation::TestStation(const QStringList &arguments, QSize screen) : station(arguments, folder.path()), d(station.d)
{
    d.ForcedScreenSize = screen;
    d.setMessageSink(&sink);
    station.start();
}
