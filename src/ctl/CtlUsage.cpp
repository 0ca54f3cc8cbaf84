#include "ctl/CtlUsage.h"

#include "ctl/Verbs.h"

QString CtlUsageText()
{
    QString text = QStringLiteral(
        "Usage: vo3112ctl [LINK] [--unit N] [--json] [--lang de|en] [--yes] VERB [ARGUMENTS]\n"
        "\n"
        "Link (default: the link saved in Modbus.ini):\n"
        "  --tcp HOST[:PORT]               Modbus/TCP, port 502 when left out\n"
        "  --serial DEVICE[:BAUD[:FRAME]]  Modbus RTU, BAUD 600..38400 (38400), FRAME 1..4 (4):\n"
        "                                  1 no parity 2 stop bits, 2 even, 3 odd, 4 no parity 1 stop bit\n"
        "  --unit N                        unit identifier 1..247 (default [Slave] Adresse, else 8)\n"
        "  --json                          one JSON document on standard output\n"
        "  --lang de|en                    language of texts (German by default)\n"
        "  --yes                           do not ask before writing\n"
        "\n"
        "Verbs:\n");
    for (const Verb &verb : VerbTable()) {
        const QString head = QLatin1String(verb.name) + QLatin1Char(' ') + QLatin1String(verb.synopsis);
        text += QStringLiteral("  %1 %2\n").arg(head, -24).arg(QLatin1String(verb.summary));
    }
    text += QStringLiteral("\nExit status: 0 done, 2 usage error, 3 no link or no reply, 4 exception reply.\n");
    return text;
}
