#include "app/Conversions.h"
#include "ctl/StationRead.h"
#include "ctl/Verbs.h"
#include "diagnostics/ErrorFrames.h"
#include "diagnostics/ErrorTexts.h"
#include "translation/WordLists.h"

#include <QJsonArray>

namespace
{

const char *StepKey(int step)
{
    switch (step) {
    case ReadSteps::AnaIn:
        return "analog_inputs";
    case ReadSteps::Compensation:
        return "compensation";
    case ReadSteps::AnaOut:
        return "analog_outputs";
    default:
        return "digital_outputs";
    }
}

// Heading of the step's column in the error window.
const char *StepHeadingId(int step)
{
    switch (step) {
    case ReadSteps::AnaIn:
        return "@KennAnaIn";
    case ReadSteps::Compensation:
        return "@KennKomp";
    case ReadSteps::AnaOut:
        return "@KennAnaOut";
    default:
        return "@KennDigOut";
    }
}

// Slot of the n-th (1-based) digital output module, in slot order.
int DigOutModuleSlot(const StationConfiguration &config, int n)
{
    for (int slot = 1; slot <= SlotCount; ++slot) {
        const quint16 id = config.SlotModuleIds[size_t(slot)];
        if ((id == 1 || id == 7) && --n == 0)
            return slot;
    }
    return 0;
}

} // namespace

// The error window's read sequence, after the slot list that sizes it.
VerbResult RunErrors(CtlSession &session, const QStringList &arguments)
{
    VerbResult r;
    StationConfiguration config;
    if (!StartWithStation(session, arguments, "errors", config, r))
        return r;

    Deklarat &d = session.state();
    const QStringList &words = TFehlerWords();
    const MessageLookup lookup = [&](const QString &id) { return session.word(words, id); };
    QJsonObject channels;
    quint16 errorWord = 0;
    QJsonArray coupler;
    for (std::optional<StatusRead> read = NextStatusRead(ReadSteps::ErrorWord, config); read;
         read = read->step == ReadSteps::DigOut ? std::nullopt : NextStatusRead(read->step + 1, config)) {
        const quint8 length = BuildStatusRead(d.TxFrame, d.SlaveAddress, *read);
        const AskResult ask = session.ask(length, d.ResponseInterval);
        if (ask.outcome != ReplyOutcome::Data)
            return AskFailure(ask);
        const std::vector<quint16> status = ReplyWords(d.RxFrame, d.RxCount, read->quantity);
        if (read->step == ReadSteps::ErrorWord) {
            errorWord = status.empty() ? 0 : status[0];
            const QStringList texts = CouplerErrorTexts(errorWord, lookup);
            for (int bit = 0; bit < texts.size(); ++bit) {
                if (texts[bit].isEmpty())
                    continue;
                coupler.append(texts[bit]);
                r.text += QStringLiteral("%1  %2\n").arg(bit + 1, 2).arg(texts[bit]);
            }
            continue;
        }
        QJsonArray list;
        const bool modules = read->step == ReadSteps::DigOut;
        r.text += session.word(words, QLatin1String(StepHeadingId(read->step))) + QStringLiteral(":\n");
        for (size_t i = 0; i < status.size(); ++i) {
            const int n = int(i) + 1;
            // A code without a text leaves the window's cell as it was: empty here.
            const QString text = StatusCellText(read->step, status[i], lookup).value_or(QString());
            QJsonObject entry{{QLatin1String(modules ? "module" : "channel"), n},
                              {QStringLiteral("status"), status[i]},
                              {QStringLiteral("text"), text}};
            if (modules)
                entry.insert(QStringLiteral("slot"), DigOutModuleSlot(config, n));
            list.append(entry);
            r.text += QStringLiteral("  %1  %2\n").arg(n, 2).arg(text);
        }
        channels.insert(QLatin1String(StepKey(read->step)), list);
    }
    r.text.prepend(QStringLiteral("0x") + HexText(errorWord, 4) + QLatin1Char('\n'));
    r.json = {{QStringLiteral("error_word"), errorWord},
              {QStringLiteral("coupler"), coupler},
              {QStringLiteral("channels"), channels}};
    return r;
}
