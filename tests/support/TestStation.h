#pragma once
// A whole started program for window tests: every window, a fresh state, and
// message boxes captured instead of shown.
#include "HandReply.h"
#include "app/Station.h"

#include <QTemporaryDir>

struct TestStation {
    // The parameter windows are laid out for `screen`, the design screen
    // unless a test asks for another.
    explicit TestStation(const QStringList &arguments = {}, QSize screen = QSize(1280, 1024));

    QTemporaryDir folder; // the program folder: Modbus.ini and data go here
    RecordingMessageSink sink;
    Station station;
    ProgramState &d;
};
