#include "ctl/CtlOutput.h"

#include <QJsonDocument>

#include <cstdio>

namespace
{

void Put(std::FILE *to, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
}

} // namespace

int WriteOutcome(const VerbResult &result, bool json)
{
    if (result.exit != CtlExit::Done && !result.error.isEmpty())
        Put(stderr, QStringLiteral("vo3112ctl: ") + result.error + QLatin1Char('\n'));
    if (json) {
        QJsonObject document = result.json;
        if (result.exit != CtlExit::Done) {
            document = result.detail;
            document.insert(QStringLiteral("error"), result.error);
            document.insert(QStringLiteral("exit"), result.exit);
        }
        Put(stdout, QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Compact)) + QLatin1Char('\n'));
    } else if (result.exit == CtlExit::Done) {
        Put(stdout, result.text);
    }
    std::fflush(stdout);
    return result.exit;
}
