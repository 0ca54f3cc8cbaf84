#include "ctl/CtlSession.h"
#include "ctl/Verbs.h"
#include "station/StationConfigDecode.h"

VerbResult RunIdentify(CtlSession &session, const QStringList &arguments)
{
    VerbResult r;
    if (!NoArguments(arguments, "identify", r))
        return r;
    Deklarat &d = session.state();
    const quint8 length = BuildIdentityRequest(d.TxFrame, d.SlaveAddress);
    const AskResult ask = session.ask(length, ConfigReplyPeriod(d.ResponseInterval), true);
    if (ask.outcome != ReplyOutcome::Data)
        return AskFailure(ask);
    const DeviceIdentity identity = DecodeIdentity(d.RxFrame, d.RxCount);
    r.json = {{QStringLiteral("manufacturer"), identity.Manufacturer},
              {QStringLiteral("product"), identity.Product},
              {QStringLiteral("version"), identity.Version}};
    const bool en = session.language() == 1;
    r.text = QStringLiteral("%1: %2\n%3: %4\nSoftware Version: %5\n")
                 .arg(en ? QStringLiteral("Manufacturer") : QStringLiteral("Hersteller"), identity.Manufacturer,
                      en ? QStringLiteral("Product") : QStringLiteral("Produkt"), identity.Product, identity.Version);
    return r;
}
