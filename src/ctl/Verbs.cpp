#include "ctl/Verbs.h"

const std::vector<Verb> &VerbTable()
{
    static const std::vector<Verb> table = {
        {"identify", "", "manufacturer, product and version (function 43/14)", RunIdentify},
        {"config", "", "channel counts and the module of each slot (function 4, 0x1000 x 14)", RunConfig},
        {"errors", "", "the coupler's error word and the status of channels and modules", RunErrors},
        {"read", "REGISTER COUNT", "COUNT (1..125) input registers from REGISTER (decimal or 0x hex)", RunRead},
    };
    return table;
}

const Verb *FindVerb(const QString &name)
{
    for (const Verb &verb : VerbTable())
        if (name == QLatin1String(verb.name))
            return &verb;
    return nullptr;
}

bool NoArguments(const QStringList &arguments, const char *verb, VerbResult &refusal)
{
    if (arguments.isEmpty())
        return true;
    refusal = UsageFailure(QStringLiteral("%1 takes no arguments: %2").arg(QLatin1String(verb), arguments.join(' ')));
    return false;
}
