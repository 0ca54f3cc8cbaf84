#pragma once
// A whole started program for window tests: every window, a fresh state, and
// message boxes captured instead of shown.
#include "app/Station.h"

#include <QTemporaryDir>
#include <initializer_list>
#include <vector>

struct TestStation {
    // The parameter windows are laid out for `screen`, the design screen
    // unless a test asks for another.
    explicit TestStation(const QStringList &arguments = {}, QSize screen = QSize(1280, 1024));

    QTemporaryDir folder; // the program folder: Modbus.ini and data go here
    RecordingMessageSink sink;
    Station station;
    ProgramState &d;
};

// A whole reply arriving on the line, as the serial link stores it: `frame`
// (unit identifier first, CRC bytes if wanted) from RxFrame[6] on. It goes to
// the window whose request is outstanding, as a real reply would.
void HandReply(Deklarat &d, const std::vector<quint8> &frame);
void HandReply(Deklarat &d, std::initializer_list<quint8> frame);
