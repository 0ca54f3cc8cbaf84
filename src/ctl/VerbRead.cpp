#include "app/Conversions.h"
#include "ctl/CtlOptions.h"
#include "ctl/CtlSession.h"
#include "ctl/Verbs.h"
#include "diagnostics/ErrorFrames.h"
#include "link/RegisterRequests.h"

#include <QJsonArray>

VerbResult RunRead(CtlSession &session, const QStringList &arguments)
{
    if (arguments.size() != 2)
        return UsageFailure(QStringLiteral("read needs REGISTER COUNT"));
    const std::optional<int> start = ParseNumber(arguments[0], 0, 0xFFFF);
    if (!start)
        return UsageFailure(QStringLiteral("bad REGISTER %1 (0..65535, decimal or 0x hex)").arg(arguments[0]));
    const std::optional<int> count = ParseDecimal(arguments[1], 1, MaxReadRegisters);
    if (!count)
        return UsageFailure(QStringLiteral("bad COUNT %1 (1..%2)").arg(arguments[1]).arg(MaxReadRegisters));
    Deklarat &d = session.state();
    const quint8 length =
        BuildReadRegisters(d.TxFrame, d.SlaveAddress, static_cast<quint16>(*start), static_cast<quint16>(*count));
    const AskResult ask = session.ask(length, d.ResponseInterval);
    if (ask.outcome != ReplyOutcome::Data)
        return AskFailure(ask);
    const std::vector<quint16> words = ReplyWords(d.RxFrame, d.RxCount, *count);
    VerbResult r;
    QJsonArray list;
    for (size_t i = 0; i < words.size(); ++i) {
        list.append(words[i]);
        r.text += QStringLiteral("0x%1  %2  0x%3\n")
                      .arg(HexText(quint64(*start) + i, 4))
                      .arg(words[i], 5)
                      .arg(HexText(words[i], 4));
    }
    r.json = {{QStringLiteral("register"), *start}, {QStringLiteral("words"), list}};
    return r;
}
