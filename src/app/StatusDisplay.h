#pragma once
// What other parts of the program show on the main window: its status bar
// panels, the caption's suffix and the traffic sum. The main window
// implements it; without one (vo3112ctl, tests of pure code) nothing shows.
#include <QString>

class StatusDisplay
{
public:
    virtual ~StatusDisplay() = default;
    virtual void setStatusPanel(int panel, const QString &text) = 0;
    // " (SERVER1)" behind the caption, kept across language switches.
    virtual void setCaptionSuffix(const QString &suffix) = 0;
    virtual void setTrafficSummary(const QString &summary) = 0;
    // " Slaveadress: " and the address as two hex digits.
    virtual void ShowSlaveAddress() = 0;
};
