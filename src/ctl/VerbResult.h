#pragma once
// What a verb hands back: the exit status, the JSON document, the text for a
// person, and on failure the reason.
#include "ctl/CtlExit.h"

#include <QJsonObject>
#include <QString>

struct AskResult;

struct VerbResult {
    int exit = CtlExit::Done;
    QJsonObject json;   // the document of a verb that is done
    QString text;       // the same for a person
    QString error;      // set when exit is not Done
    QJsonObject detail; // further keys of the failure document
};

VerbResult UsageFailure(const QString &error);
// A request that did not end in data: no link or no reply (3), exception (4).
VerbResult AskFailure(const AskResult &ask);
