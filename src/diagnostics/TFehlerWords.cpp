#include "translation/WordLists.h"

QStringList TFehlerWords()
{
    // clang-format off
    return {
        QStringLiteral("%Form%"), QStringLiteral("Fehler"), QStringLiteral("Error"),
        QStringLiteral("BReadError"), QStringLiteral("Fehler lesen"), QStringLiteral("Read Error Register"),
        QStringLiteral("BResetError"), QStringLiteral("Fehler zurücksetzen"), QStringLiteral("Reset Error"),
        QStringLiteral("Cancel"), QStringLiteral("Zurück"), QStringLiteral("Back"),
        QStringLiteral("BSetzeAlarmMask"), QStringLiteral("Setze Alarmmaske"), QStringLiteral("Set Alarm Mask"),
        QStringLiteral("BReadAlarmMask"), QStringLiteral("Lese Alarmmaske"), QStringLiteral("Read Alarm Mask"),
        QStringLiteral("BSendAlarmMask"), QStringLiteral("Sende Alarmmaske"), QStringLiteral("Send Alarm Mask"),
        QStringLiteral("@idERR_CONF"), QStringLiteral("Keine Konfiguration geladen"), QStringLiteral("No active Configuration"),
        QStringLiteral("@digInErr"), QStringLiteral("Fehler digitale Eingänge"), QStringLiteral("digital Input Error"),
        QStringLiteral("@digOutErr"), QStringLiteral("Fehler digitale Ausgänge"), QStringLiteral("digital Output Error"),
        QStringLiteral("@anaInErr"), QStringLiteral("Fehler analoge Eingänge"), QStringLiteral("analog Input Error"),
        QStringLiteral("@anaOutErr"), QStringLiteral("Fehler analoge Ausgänge"), QStringLiteral("analog Output Error"),
        QStringLiteral("@EEPrdErr"), QStringLiteral("EEPROM Lesefehler"), QStringLiteral("EEPROM read Error"),
        QStringLiteral("@IPErr"), QStringLiteral("falsche IP-Adresse"), QStringLiteral("wrong IP-Address"),
        QStringLiteral("@Reserviert"), QStringLiteral("Reserviert"), QStringLiteral("Reserved"),
        QStringLiteral("@KopErr"), QStringLiteral("unbekannter Kopplertyp"), QStringLiteral("unknown Coupler"),
        QStringLiteral("@LinErr"), QStringLiteral("Linearisierungsfehler"), QStringLiteral("Linearized Error"),
        QStringLiteral("@EEPnewErr"), QStringLiteral("EEPROM neu oder fehlerhaft"), QStringLiteral("EEPROM new or fault"),
        QStringLiteral("@EEPwrErr"), QStringLiteral("EEPROM Schreibfehler"), QStringLiteral("EEPROM write Error"),
        QStringLiteral("@AppErr"), QStringLiteral("Applikationsfehler"), QStringLiteral("Application Error"),
        QStringLiteral("@SlotErr"), QStringLiteral("Slot IDs unbestimmt"), QStringLiteral("Slot IDs undeterminate"),
        QStringLiteral("@ModConfErr"), QStringLiteral("neue Modulkonfiguration"), QStringLiteral("new Modul Configuration"),
        QStringLiteral("@Ok"), QStringLiteral("Ok"), QStringLiteral("Ok"),
        QStringLiteral("@modERR_Ueberlauf"), QStringLiteral("Wert Überlauf"), QStringLiteral("Overflow Value"),
        QStringLiteral("@modERR_Unterlauf"), QStringLiteral("Wert Unterlauf"), QStringLiteral("Underflow Value"),
        QStringLiteral("@modERR_Kalib"), QStringLiteral("Kalibrationsfehler"), QStringLiteral("Calibration Error"),
        QStringLiteral("@modERR_Uebertragung"), QStringLiteral("Übertragungsfehler"), QStringLiteral("Transmission Error"),
        QStringLiteral("@KennNum"), QStringLiteral("Nummer"), QStringLiteral("Number"),
        QStringLiteral("@KennGrund"), QStringLiteral("Fehler"), QStringLiteral("Error"),
        QStringLiteral("@Reset"), QStringLiteral("Reset"), QStringLiteral("Reset"),
        QStringLiteral("@KennModul"), QStringLiteral("Modul / Kanal"), QStringLiteral("Modul / Channel"),
        QStringLiteral("@KennAnaIn"), QStringLiteral("analoger Eingang"), QStringLiteral("analog Input"),
        QStringLiteral("@KennKomp"), QStringLiteral("Kompensation"), QStringLiteral("Compensation"),
        QStringLiteral("@KennAnaOut"), QStringLiteral("analoger Ausgang"), QStringLiteral("analog Output"),
        QStringLiteral("@KennDigOut"), QStringLiteral("digitaler Ausgang"), QStringLiteral("digital Output"),
        QStringLiteral("@digOutBREAK"), QStringLiteral("Leerlauf"), QStringLiteral("Break"),
        QStringLiteral("@digOutCHANNEL"), QStringLiteral("Kanal"), QStringLiteral("Channel"),
        QStringLiteral("@digOutSHORTCUT"), QStringLiteral("Kurzschluß"), QStringLiteral("Shortcut"),
    };
    // clang-format on
}
