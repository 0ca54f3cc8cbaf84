#pragma once
// The client side of the pipe interface, for vo3112pipe and for tests.
#include "process/PipeMessages.h"

#include <QString>
#include <QStringList>
#include <optional>

struct PipeClientOptions {
    QString pipeName;
    std::array<quint8, 9> outputs{}; // digital output byte per slot 1..9
    bool restart = false;
    bool machine = false; // key=value lines instead of the readable table
    int timeoutMs = 3000;
    int repeat = 1;
    bool help = false;
    QString error; // set when the arguments cannot be used
};

PipeClientOptions ParsePipeClientArguments(const QStringList &arguments);
QString PipeClientUsage();

// Connects, writes the request, reads the 74-byte response. Retries while the
// pipe is busy or not there yet, until the time-out.
std::optional<PipeMessage> ExchangePipeMessage(const QString &pipeName, const PipeMessage &request, int timeoutMs,
                                               QString *error);

// Names of the flag bits that are set, e.g. "tcp config process-data".
QString PipeFlagNames(quint8 flags);
QString FormatPipeResponse(const PipeResponseFields &fields, bool machine);
