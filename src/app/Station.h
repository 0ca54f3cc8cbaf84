#pragma once
// Start-up: the shared state, the link, the cycle, the unattended operation,
// and every window, created in their fixed order. The only code that knows
// two windows: it wires them.
#include "app/Deklarat.h"
#include "app/DialogMessageSink.h"
#include "app/StationWindows.h"

#include <QStringList>
#include <QWidget>
#include <memory>
#include <vector>

class AutomationController;
class CycleEngine;
class Transport;

class Station
{
public:
    // `arguments` are the command-line arguments after the program name;
    // `programFolder` is where Modbus.ini and the data files are.
    Station(const QStringList &arguments, const QString &programFolder);
    ~Station();

    // Creates the windows in order, wires them and shows the main window.
    void start();

    ProgramState d;
    StationWindows &w = d;
    std::unique_ptr<Transport> link;
    // The process data cycle and the unattended operation, beneath the windows.
    std::unique_ptr<CycleEngine> cycle;
    std::unique_ptr<AutomationController> automation;
    // Windows in creation order; destroyed in reverse before the rest.
    std::vector<std::unique_ptr<QWidget>> windows;

private:
    void wireMenu();
    void wireConfiguration();
    // Connects the cycle and the automation to the windows that show and
    // carry them out, then starts what the command line asks for.
    void wireCycle();
    DialogMessageSink dialogs_;
};
