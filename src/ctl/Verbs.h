#pragma once
// The verbs of vo3112ctl. A verb is one function in its own file and one line
// of the table in Verbs.cpp.
#include "ctl/VerbResult.h"

#include <QStringList>
#include <vector>

class CtlSession;

using VerbFunction = VerbResult (*)(CtlSession &session, const QStringList &arguments);

struct Verb {
    const char *name;
    const char *synopsis; // arguments after the verb, for the usage text
    const char *summary;
    VerbFunction run;
};

const std::vector<Verb> &VerbTable();
const Verb *FindVerb(const QString &name);

VerbResult RunIdentify(CtlSession &session, const QStringList &arguments);
VerbResult RunConfig(CtlSession &session, const QStringList &arguments);
VerbResult RunErrors(CtlSession &session, const QStringList &arguments);
VerbResult RunRead(CtlSession &session, const QStringList &arguments);

// A verb that takes no arguments refuses any.
bool NoArguments(const QStringList &arguments, const char *verb, VerbResult &refusal);
