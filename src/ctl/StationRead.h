#pragma once
// Reads of the station that several verbs share.
#include "app/StationTypes.h"
#include "ctl/CtlSession.h"
#include "station/StationConfigDecode.h"

#include <QJsonObject>

// The slot list as the configuration window reads it, decoded into `config`
// with the derived tables; an empty station unless the outcome is Data.
AskResult ReadStation(CtlSession &session, StationConfiguration &config);

struct VerbResult;

// The start of a verb that takes no arguments and needs the slot list first:
// false, with `refusal` the verb's result, when either fails.
bool StartWithStation(CtlSession &session, const QStringList &arguments, const char *verb, StationConfiguration &config,
                      VerbResult &refusal);

// {"AnaInCount": n, ...} of the five channel counts.
QJsonObject CountsJson(const StationConfiguration &config);
