#pragma once
// Runs build/vo3112ctl as a process, as a script would, and takes apart what
// it wrote.
#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

struct CtlRun {
    int exit = -1; // -1: did not end in time
    QByteArray out;
    QByteArray err;
    qint64 ms = 0; // start to exit
    // The one JSON document of --json; empty when stdout is not exactly one.
    QJsonObject json() const;
    QString text() const { return QString::fromUtf8(out); }
};

struct CtlPlace {
    QString program = QStringLiteral(VO_CTL_BINARY); // the binary to run
    QString home;                                    // HOME of the run; empty: a fresh one per run
    bool asNobody = false;                           // run as an unprivileged user (setpriv)
};

CtlRun RunCtl(const QStringList &arguments, const CtlPlace &place = {}, int timeoutMs = 30000);

// The simulator's TCP link as a --tcp value.
QString TcpOf(quint16 port);
