#pragma once
// The unattended operation: the automatic start of the command line (AUTO,
// WAIT, DMS), one step per tick of TimerAutostart; the pipe server of a
// SERVER... argument; and the automatic restart a pipe client asks for, with
// its watch TimerAutoRestart. It runs the cycle engine itself and asks for
// everything else (opening the link, reading the configuration, ...) through
// its signals, which the program connects to whatever carries them out.
#include "process/PipeMessages.h"
#include "process/TServerThread.h"

#include <QObject>
#include <QTimer>
#include <memory>

class CycleEngine;
class Deklarat;

class AutomationController : public QObject
{
    Q_OBJECT
public:
    AutomationController(Deklarat &d, CycleEngine &cycle, QObject *parent = nullptr);
    ~AutomationController() override;

    QTimer *TimerAutostart;   // one step of the sequence per tick
    QTimer *TimerAutoRestart; // watches the sequence after a restart request

    // What the command line asks for: the pipe server, and the sequence.
    void begin();

    // From step AutostartStep on, one step a second.
    void StartAutostart();
    void TimerAutostartTimer();

    void AutoRestart();
    void TimerAutoRestartTimer();

    // A pipe request: the output bits of every slot, then the control byte.
    void ApplyPipeRequest(const PipeMessage &request);
    PipeMessage CurrentPipeResponse() const;
    TServerThread *pipeServer() const { return pipeServer_.get(); }

signals:
    void OpenLinkWanted();
    void CloseLinkWanted();
    void ReadConfigurationWanted();
    // The 32-bit analog input parameters ("DMS").
    void ReadDmsParametersWanted();
    void StartCycleWanted();
    // " (SERVER...)" for the application title and the main window's caption.
    void CaptionSuffixWanted(const QString &suffix);
    // The pipe set DigOutSlotBytes.
    void OutputBitsSet();

private:
    void startPipeServer();

    Deklarat &d;
    CycleEngine &cycle_;
    bool autostartWaited_ = false;
    // Declared in this order: the server thread stops before its bridge goes.
    PipeBridge pipeBridge_;
    std::unique_ptr<TServerThread> pipeServer_;
};
