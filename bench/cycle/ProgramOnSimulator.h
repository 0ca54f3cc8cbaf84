#pragma once
// The whole program in-process (every window, boxes recorded), connected to
// the simulator over loopback TCP through the interface window and with the
// station configuration read through the configuration window, as a user
// would do before starting the cycle.
#include "app/Messages.h"
#include "app/Station.h"

#include <QTemporaryDir>
#include <functional>
#include <memory>

class ProgramOnSimulator
{
public:
    explicit ProgramOnSimulator(quint16 port);
    ~ProgramOnSimulator();

    QString error() const { return error_; } // empty: connected, configuration read
    ProgramState &d() { return station_->d; }
    RecordingMessageSink &sink() { return sink_; }

    // As typed into the main window's fields.
    void setDataTimeout(int ms);
    void setParaTimeout(int ms);

private:
    QTemporaryDir folder_;
    RecordingMessageSink sink_;
    std::unique_ptr<Station> station_;
    QString error_;
};

// Runs the event loop (no sleeps) until `done` holds or `timeoutMs` passed;
// returns done().
bool RunUntil(const std::function<bool()> &done, int timeoutMs);
