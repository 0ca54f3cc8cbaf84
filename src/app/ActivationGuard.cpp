#include "app/ActivationGuard.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>
#include <QWindow>

void ActivationGuard::deactivated(QWidget *window)
{
    if (boxOpen())
        returning_ = window;
}

bool ActivationGuard::activates(QWidget *window)
{
    const bool back = returning_ && returning_ == window;
    returning_ = nullptr;
    return !back;
}

void ActivationGuard::hidden(QWidget *window)
{
    if (returning_ == window)
        returning_ = nullptr;
}

void ActivationGuard::focusMoved(QWindow *window)
{
    if (!window || !returning_ || returning_->windowHandle() == window)
        return;
    if (qobject_cast<QMessageBox *>(QApplication::activeWindow()))
        return; // a box, perhaps one on top of the first
    returning_ = nullptr;
}
