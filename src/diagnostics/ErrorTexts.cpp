#include "diagnostics/ErrorTexts.h"

#include "diagnostics/ErrorFrames.h"

namespace
{

const char *const CouplerErrorIds[16] = {
    "@digInErr", "@digOutErr", "@anaInErr", "@anaOutErr", "@EEPrdErr",   "@IPErr",  "@Reserviert", "@KopErr",
    "@LinErr",   "@EEPnewErr", "@EEPwrErr", "@EEPrdErr",  "@Reserviert", "@AppErr", "@SlotErr",    "@ModConfErr",
};

// Codes 2..9 of the channel status.
const char *const AnaInCodeIds[8] = {
    "@Ok",         "@modERR_Ueberlauf", "@Reserviert", "@modERR_Unterlauf",
    "@Reserviert", "@Reserviert",       "@Reserviert", "@modERR_Kalib",
};
const char *const AnaOutCodeIds[8] = {
    "@Ok",         "@modERR_Kalib", "@Reserviert", "@Reserviert",
    "@Reserviert", "@Reserviert",   "@Reserviert", "@modERR_Uebertragung",
};

std::optional<QString> channelCodeId(quint16 code, const char *const (&ids)[8])
{
    if (code == 0)
        return QStringLiteral("@Ok");
    if (code >= 2 && code <= 9)
        return QString::fromLatin1(ids[code - 2]);
    return std::nullopt;
}

// " 1/2" per set bit of `bits` (bit i: channels 2i + 1 and 2i + 2), "," between.
QString channelPairs(unsigned bits)
{
    QString text;
    bool first = true;
    for (int i = 0; i < 4; ++i) {
        if (!(bits & (1u << i)))
            continue;
        if (!first)
            text += QLatin1Char(',');
        text += QStringLiteral(" %1/%2").arg(2 * i + 1).arg(2 * i + 2);
        first = false;
    }
    return text;
}

} // namespace

QString CouplerErrorId(int bit)
{
    return bit >= 0 && bit < 16 ? QString::fromLatin1(CouplerErrorIds[bit]) : QString();
}

QStringList CouplerErrorTexts(quint16 word, const MessageLookup &lookup)
{
    QStringList texts;
    for (int bit = 0; bit < 16; ++bit)
        texts << ((word & (1u << bit)) ? lookup(CouplerErrorId(bit)) : QString());
    return texts;
}

std::optional<QString> AnaInStatusId(quint16 code)
{
    return channelCodeId(code, AnaInCodeIds);
}

std::optional<QString> AnaOutStatusId(quint16 code)
{
    return channelCodeId(code, AnaOutCodeIds);
}

QString CompensationStatusId(quint16 word)
{
    return word == 0 ? QStringLiteral("@Ok") : QStringLiteral("@modERR_Uebertragung");
}

QString DigOutModuleText(quint16 word, const MessageLookup &lookup)
{
    if (word == 0)
        return lookup(QStringLiteral("@Ok"));
    const QString channel = lookup(QStringLiteral("@digOutCHANNEL"));
    QString text;
    const unsigned open = (word >> 4) & 0x0F;
    const unsigned shorted = word & 0x0F;
    if (open)
        text += lookup(QStringLiteral("@digOutBREAK")) + QLatin1Char(' ') + channel + channelPairs(open);
    if (shorted) {
        if (!text.isEmpty())
            text += QStringLiteral(";  ");
        text += lookup(QStringLiteral("@digOutSHORTCUT")) + QLatin1Char(' ') + channel + channelPairs(shorted);
    }
    return text;
}

std::optional<QString> StatusCellText(int step, quint16 word, const MessageLookup &lookup)
{
    std::optional<QString> id;
    switch (step) {
    case ReadSteps::AnaIn:
        id = AnaInStatusId(word);
        break;
    case ReadSteps::Compensation:
        id = CompensationStatusId(word);
        break;
    case ReadSteps::AnaOut:
        id = AnaOutStatusId(word);
        break;
    case ReadSteps::DigOut:
        return DigOutModuleText(word, lookup);
    default:
        return std::nullopt;
    }
    if (!id)
        return std::nullopt;
    return lookup(*id);
}
