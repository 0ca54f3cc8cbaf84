#include "translation/WordLists.h"

QStringList TAllgeParaWords()
{
    // clang-format off
    return {
        QStringLiteral("%Form%"), QStringLiteral("Allgemeine Parameter"), QStringLiteral("Normal Parameter"),
        QStringLiteral("Label1"), QStringLiteral("Sekunden"), QStringLiteral("Seconds"),
        QStringLiteral("Label2"), QStringLiteral("Faktor"), QStringLiteral("Factor"),
        QStringLiteral("Edit1"), QStringLiteral("Edit1"), QStringLiteral("Edit1"),
        QStringLiteral("Write"), QStringLiteral("Schreiben"), QStringLiteral("Write"),
        QStringLiteral("Back"), QStringLiteral("Zurück"), QStringLiteral("Back"),
        QStringLiteral("Read"), QStringLiteral("Lesen"), QStringLiteral("Read"),
        QStringLiteral("@idERR_CONF"), QStringLiteral("Keine Konfiguration geladen"), QStringLiteral("No active Configuration"),
        QStringLiteral("@idERR_TOO"), QStringLiteral("Wert zu groß "), QStringLiteral("Too large value"),
        QStringLiteral("@idERR_NEG"), QStringLiteral("Wert darf nicht negativ sein"), QStringLiteral("Value must not be negative"),
        QStringLiteral("@idERR_ETH"), QStringLiteral("Kommunikation zurücksetzen nur über Ethernet"), QStringLiteral("Communication defaults only over Ethernet"),
        QStringLiteral("GBoSeriell"), QStringLiteral("Parameter"), QStringLiteral("Parameter"),
        QStringLiteral("GBoEthernet"), QStringLiteral("Parameter"), QStringLiteral("Parameter"),
        QStringLiteral("Label3"), QStringLiteral("lokale IP-Adresse"), QStringLiteral("local IP"),
        QStringLiteral("Label4"), QStringLiteral("lokale IP-Mask"), QStringLiteral("local IP-Mask"),
        QStringLiteral("Label5"), QStringLiteral("Zieladresse"), QStringLiteral("Destination"),
        QStringLiteral("Label6"), QStringLiteral("IP-Netzmask"), QStringLiteral("IP-Netmask"),
        QStringLiteral("Label7"), QStringLiteral("Gateway Adresse"), QStringLiteral("Gateway Address"),
        QStringLiteral("Label8"), QStringLiteral("Metrik"), QStringLiteral("Metric"),
        QStringLiteral("Label9"), QStringLiteral("Nummer"), QStringLiteral("Number"),
        QStringLiteral("Label10"), QStringLiteral("1"), QStringLiteral("1"),
        QStringLiteral("Label11"), QStringLiteral("2"), QStringLiteral("2"),
        QStringLiteral("Label12"), QStringLiteral("3"), QStringLiteral("3"),
        QStringLiteral("Label13"), QStringLiteral("4"), QStringLiteral("4"),
        QStringLiteral("Label14"), QStringLiteral("5"), QStringLiteral("5"),
        QStringLiteral("Label15"), QStringLiteral("Routingtabelle"), QStringLiteral("Routing Table"),
        QStringLiteral("Label16"), QStringLiteral("Adresseinstellungen"), QStringLiteral("Addressing"),
        QStringLiteral("BSetComDefault"), QStringLiteral("Kommunikation zurücksetzen"), QStringLiteral("Set Communication Defaults"),
    };
    // clang-format on
}
