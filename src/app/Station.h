#pragma once
// Start-up: the shared state, the link, and every window, created in their
// fixed order. The only code that knows two windows: it wires them.
#include "app/DialogMessageSink.h"
#include "app/Deklarat.h"
#include "app/StationWindows.h"

#include <QStringList>
#include <QWidget>
#include <memory>
#include <vector>

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
    // Windows in creation order; destroyed in reverse before the link and `d`.
    std::vector<std::unique_ptr<QWidget>> windows;

private:
    void wireMenu();
    void wireConfiguration();
    void wireAutostart();
    void wireCycle();
    DialogMessageSink dialogs_;
};
