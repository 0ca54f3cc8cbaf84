#include "app/ActivationGuard.h"

void ActivationGuard::deactivated(QObject *window)
{
    if (boxOpen())
        returning_ = window;
}

bool ActivationGuard::activates(QObject *window)
{
    const bool back = returning_ && returning_ == window;
    returning_ = nullptr;
    return !back;
}

void ActivationGuard::hidden(QObject *window)
{
    if (returning_ == window)
        returning_ = nullptr;
}
