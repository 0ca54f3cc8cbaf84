#include "ctl/VerbResult.h"

#include "ctl/CtlSession.h"

VerbResult UsageFailure(const QString &error)
{
    VerbResult r;
    r.exit = CtlExit::Usage;
    r.error = error;
    return r;
}

VerbResult AskFailure(const AskResult &ask)
{
    VerbResult r;
    r.error = ask.failure;
    if (ask.outcome == ReplyOutcome::Exception) {
        r.exit = CtlExit::Exception;
        r.detail.insert(QStringLiteral("exception"), ask.exceptionCode);
    } else {
        r.exit = CtlExit::NoLink;
    }
    return r;
}
