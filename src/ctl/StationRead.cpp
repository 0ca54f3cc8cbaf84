#include "ctl/StationRead.h"

#include "ctl/VerbResult.h"
#include "ctl/Verbs.h"

AskResult ReadStation(CtlSession &session, StationConfiguration &config)
{
    Deklarat &d = session.state();
    config = StationConfiguration{};
    const quint8 length = BuildSlotListRequest(d.TxFrame, d.SlaveAddress);
    const AskResult ask = session.ask(length, ConfigReplyPeriod(d.ResponseInterval), true);
    if (ask.outcome == ReplyOutcome::Data) {
        DecodeSlotList(d.RxFrame, d.RxCount, config);
        config.ConfigValid = 1;
        DeriveAnalogTables(config);
    }
    config.DigOutModuleCount = CountDigitalOutputModules(config);
    return ask;
}

QJsonObject CountsJson(const StationConfiguration &config)
{
    return {{QStringLiteral("AnaInCount"), config.AnaInCount},
            {QStringLiteral("AnaIn32Count"), config.AnaIn32Count},
            {QStringLiteral("AnaOutCount"), config.AnaOutCount},
            {QStringLiteral("DigInCount"), config.DigInCount},
            {QStringLiteral("DigOutCount"), config.DigOutCount}};
}

bool StartWithStation(CtlSession &session, const QStringList &arguments, const char *verb, StationConfiguration &config,
                      VerbResult &refusal)
{
    if (!NoArguments(arguments, verb, refusal))
        return false;
    const AskResult ask = ReadStation(session, config);
    if (ask.outcome == ReplyOutcome::Data)
        return true;
    refusal = AskFailure(ask);
    return false;
}
