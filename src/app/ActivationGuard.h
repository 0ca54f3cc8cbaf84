#pragma once
// A modal box takes the activation from the window that was active and hands
// it back when it closes. That return is no new activation: the window's
// activation steps (configuration check, layout, clearing its log, resetting
// its fields) must not run again because of a box, whichever part of the
// program showed it. One guard serves every window and every box.
#include <QObject>
#include <QPointer>

class ActivationGuard
{
public:
    // Around every box and conversion error dialog (src/app/Messages).
    void boxOpened() { ++openBoxes_; }
    void boxClosed()
    {
        if (openBoxes_ > 0)
            --openBoxes_;
    }
    bool boxOpen() const { return openBoxes_ > 0; }

    // From the window's event handling. A deactivation while a box is open
    // is the box's; the window's next activation is its return.
    void deactivated(QObject *window);
    // True for an activation whose steps are to run; false for the return
    // from a box. Either way the return is settled.
    bool activates(QObject *window);
    // A window hidden while its box was open gets no activation back.
    void hidden(QObject *window);
    // The window waiting for a box's return, or null.
    QObject *returning() const { return returning_; }
    // The return went elsewhere: the waiting window's next activation is a
    // real one again.
    void returnWentElsewhere() { returning_ = nullptr; }

private:
    int openBoxes_ = 0;
    QPointer<QObject> returning_;
};

// Marks a box as open for as long as it lives.
class OpenBox
{
public:
    explicit OpenBox(ActivationGuard &guard) : guard_(guard) { guard_.boxOpened(); }
    ~OpenBox() { guard_.boxClosed(); }
    OpenBox(const OpenBox &) = delete;
    OpenBox &operator=(const OpenBox &) = delete;

private:
    ActivationGuard &guard_;
};
