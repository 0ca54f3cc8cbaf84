#pragma once
// A message box shown from a window's activation takes the activation away
// and hands it back when it closes. That return is no new activation: without
// this the box would come back for ever.
class ActivationGuard
{
public:
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
