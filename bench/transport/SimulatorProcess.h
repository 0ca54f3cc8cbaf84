#pragma once
// vo3112sim on a free loopback port, its standard input held open (it ends
// with its input) and closed again on destruction.
#include <QProcess>
#include <QStringList>

class SimulatorProcess
{
public:
    // `options` go after the link, e.g. {"--slots", "2,6,7,1"}.
    explicit SimulatorProcess(const QStringList &options = {});
    ~SimulatorProcess();
    quint16 port() const { return port_; } // 0: it did not start
    QString error() const { return error_; }

private:
    QProcess process_;
    quint16 port_ = 0;
    QString error_;
};
