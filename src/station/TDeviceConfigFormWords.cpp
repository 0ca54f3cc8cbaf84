// Names of the unnamed labels: Label1 "Produkt", Label2 "Hersteller",
// Label3 "Software Version", Label4 "ID (hex)".
#include "translation/WordLists.h"

QStringList TDeviceConfigFormWords()
{
    // clang-format off
    return {
        QStringLiteral("%Form%"), QStringLiteral("Konfiguration"), QStringLiteral("Configuration"),
        QStringLiteral("Label1"), QStringLiteral("Produkt"), QStringLiteral("Product"),
        QStringLiteral("Label2"), QStringLiteral("Hersteller"), QStringLiteral("Manufacturer"),
        QStringLiteral("Label3"), QStringLiteral("Software Version"), QStringLiteral("Software Version"),
        QStringLiteral("Label4"), QStringLiteral("ID (hex)"), QStringLiteral("ID (hex)"),
        QStringLiteral("BReadConfig"), QStringLiteral("Konfiguration lesen"), QStringLiteral("Read Configuration"),
        QStringLiteral("BCancel"), QStringLiteral("Zurück"), QStringLiteral("Back"),
        QStringLiteral("@Number"), QStringLiteral("Anzahl"), QStringLiteral("Number"),
        QStringLiteral("@AnaIn"), QStringLiteral("Anzahl Kanäle Analogeingänge 16 Bit"), QStringLiteral("Number of analog Input Channel 16 Bit"),
        QStringLiteral("@AnaIn32Bit"), QStringLiteral("Anzahl Kanäle Analogeingänge 32 Bit"), QStringLiteral("Number of analog Input Channel 32 Bit"),
        QStringLiteral("@AnaOut"), QStringLiteral("Anzahl Kanäle Analogausgänge"), QStringLiteral("Number of analog Output Channel"),
        QStringLiteral("@DigIn"), QStringLiteral("Anzahl der digitalen Eingangskanäle"), QStringLiteral("Number of digital Input Channels"),
        QStringLiteral("@DigOut"), QStringLiteral("Anzahl der digitalen Ausgangskanäle"), QStringLiteral("Number of digital Output Channels"),
        QStringLiteral("@empty"), QStringLiteral("Leer"), QStringLiteral("empty"),
        QStringLiteral("@idFIELD_BAD"), QStringLiteral("Nicht gesendet: %1 hält keinen Wert von %2."), QStringLiteral("Not sent: %1 holds no value of %2."),
    };
    // clang-format on
}
