#pragma once
// Gives a control its name: the translation pass and the tests find it by it.
#include <QObject>
#include <QString>

template <typename T> T *named(T *control, const QString &name)
{
    control->setObjectName(name);
    return control;
}

template <typename T> T *named(T *control, const char *name)
{
    return named(control, QString::fromLatin1(name));
}
