#pragma once
// A message box shown from a window's activation takes the activation away
// and hands it back when it closes. That return is no new activation: without
// this the box would come back for ever.
#include <QEvent>

class ActivationGuard
{
public:
    // From the window's event(): true for an activation the window is to
    // handle; a deactivation is noted.
    bool activates(const QEvent *event)
    {
        if (event->type() == QEvent::WindowActivate)
            return takeActivation();
        if (event->type() == QEvent::WindowDeactivate)
            deactivated();
        return false;
    }
    // On the window's activation: false when it is the return from its own box.
    bool takeActivation()
    {
        const bool fresh = !boxReturn_;
        boxReturn_ = false;
        return fresh;
    }
    // On the window's deactivation.
    void deactivated()
    {
        if (inBox_)
            boxReturn_ = true;
    }
    // Shows a box from the activation handler.
    template <typename Show> void report(Show show)
    {
        inBox_ = true;
        show();
        inBox_ = false;
    }

private:
    bool inBox_ = false;
    bool boxReturn_ = false;
};
