#include "translation/WordLists.h"

QStringList TAlarmMaskeWords()
{
    // clang-format off
    return {
        QStringLiteral("%Form%"), QStringLiteral("Alarm Maske"), QStringLiteral("Error"),
        QStringLiteral("CBErrDigIn"), QStringLiteral("Fehler in den digtalen Eingangskanälen"), QStringLiteral("Error digital inputs"),
        QStringLiteral("CBErrDigOut"), QStringLiteral("Fehler in den digtalen Ausgangskanälen"), QStringLiteral("Error digital outputs"),
        QStringLiteral("CBErrAnaIn"), QStringLiteral("Fehler in den analogen Eingangskanälen"), QStringLiteral("Error analog Inputs"),
        QStringLiteral("CBErrAnaOut"), QStringLiteral("Fehler in den analogen Ausgangskanälen"), QStringLiteral("Error analog outputs"),
        QStringLiteral("CBErrModEep"), QStringLiteral("Fehler beim Lesen des Modul-EEPROM"), QStringLiteral("Modul - EEPROM read error"),
        QStringLiteral("CBErrWrongIp"), QStringLiteral("Ungültige IP-Adresse"), QStringLiteral("Undefined IP address"),
        QStringLiteral("CBErrRes1"), QStringLiteral("Reserviert"), QStringLiteral("Reserved"),
        QStringLiteral("CBErrCoupler"), QStringLiteral("Unbekannter Kopplertyp"), QStringLiteral("Unknown coupler"),
        QStringLiteral("CBErrLin"), QStringLiteral("Fehlerhafte Linearisierungstabelle im Koppler-EEPROM"), QStringLiteral("Wrong list of thermal linearisation in Coupler"),
        QStringLiteral("CBErrEepNew"), QStringLiteral("EEPROM neu oder defekt"), QStringLiteral("Defect or new EEPROM"),
        QStringLiteral("CBErrWriteEep"), QStringLiteral("EEPROM kann nicht feherfrei beschrieben werden"), QStringLiteral("Write EEPROM impossible"),
        QStringLiteral("CBErrReadEep"), QStringLiteral("EEPROM kann nicht feherfrei ausgelesen werden"), QStringLiteral("Read EEPROM impossible"),
        QStringLiteral("CBErrRes2"), QStringLiteral("Reserviert"), QStringLiteral("Reserved"),
        QStringLiteral("CBErrRes3"), QStringLiteral("Reserviert"), QStringLiteral("Reserved"),
        QStringLiteral("CBErrId"), QStringLiteral("Kennung der Modulle konnte nicht ausgelesen werden"), QStringLiteral("Impossible to read modul ID"),
        QStringLiteral("CBErrNewConfig"), QStringLiteral("Es wurde eine neue Konfiguration erkannt"), QStringLiteral("New configuration"),
    };
    // clang-format on
}
