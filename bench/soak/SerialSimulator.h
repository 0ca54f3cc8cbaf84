#pragma once
// vo3112sim on one end of a socat pty pair; the program opens the other end.
// Both processes are ended on destruction.
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

class SerialSimulator
{
public:
    explicit SerialSimulator(const QStringList &options);
    ~SerialSimulator();
    QString error() const { return error_; } // empty: both run
    QString masterSide() const { return dir_.filePath(QStringLiteral("master")); }

private:
    QTemporaryDir dir_;
    QProcess socat_;
    QProcess sim_;
    QString error_;
};
