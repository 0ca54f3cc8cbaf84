#pragma once
// A whole started program for window tests: every window, a fresh state, and
// message boxes captured instead of shown.
#include "app/Station.h"

#include <QTemporaryDir>

struct TestStation {
    explicit TestStation(const QStringList &arguments = {});

    QTemporaryDir folder; // the program folder: Modbus.ini and data go here
    RecordingMessageSink sink;
    Station station;
    Deklarat &d;
};
