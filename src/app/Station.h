#pragma once
// Start-up: the shared state and every window, created in their fixed order.
#include "app/Deklarat.h"

#include <QStringList>
#include <QWidget>
#include <memory>
#include <vector>

class Station {
public:
    // `arguments` are the command-line arguments after the program name;
    // `programFolder` is where Modbus.ini and the data files are.
    Station(const QStringList &arguments, const QString &programFolder);
    ~Station();

    // Creates the windows in order and shows the main window.
    void start();

    Deklarat d;
    // Windows in creation order; destroyed in reverse before `d`.
    std::vector<std::unique_ptr<QWidget>> windows;
};
