#pragma once
// Start-up: the shared state and every window, created in their fixed order.
#include "app/Deklarat.h"

#include <QStringList>
#include <QWidget>
#include <memory>
#include <vector>

class AutomationController;
class CycleEngine;
class TCont;
class TDeviceConfigForm;
class TParaAnaIn32Bit;
class TSIOTransfer;
class TTrend;
class TVo3112CCC;

class Station {
public:
    // `arguments` are the command-line arguments after the program name;
    // `programFolder` is where Modbus.ini and the data files are.
    Station(const QStringList &arguments, const QString &programFolder);
    ~Station();

    // Creates the windows in order and shows the main window.
    void start();

    Deklarat d;
    // The process data cycle and the unattended operation, beneath the windows.
    std::unique_ptr<CycleEngine> cycle;
    std::unique_ptr<AutomationController> automation;
    // Windows in creation order; destroyed in reverse before `d`.
    std::vector<std::unique_ptr<QWidget>> windows;

private:
    // Connects the cycle and the automation to the windows that show and
    // carry them out, then starts what the command line asks for.
    void wireCycle(TVo3112CCC &main, TCont &cont, TTrend &trend, TSIOTransfer &link, TDeviceConfigForm &config,
                   TParaAnaIn32Bit &dms);
};
