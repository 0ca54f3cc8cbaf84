#pragma once
// Figure 1: round trips of one read request (input registers 0x1000, 14 of
// them, unit 8) against the simulator on loopback TCP, by the tool's transport,
// by a bare QTcpSocket on the same event loop, and by libmodbus.
#include "Figures.h"

#include <QString>

struct RoundTripFigures {
    Latency transport;
    Latency bareQt;
    Latency libmodbus;
    int reads = 0;
    int failures = 0; // wrong or missing replies
    QString error;    // the run could not be made
};

RoundTripFigures MeasureRoundTrips(quint16 port, int reads);
