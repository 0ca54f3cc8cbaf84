// Besides the caption and its messages, the vocabulary of the channel grid,
// which takes these texts by their keys through LookupMessage: Label1 to
// Label16 "Kanal 1" to "Kanal 16", Label17 "Typ" and Label18 "Reaktion" for
// the column headings. ComboBox1 and ComboBox2 list type and reaction words
// the grid does not take: its choices come from the module description file.
// No widget of the window carries these names, so the translation pass passes
// them over. The button captions stay as built and are not listed.
#include "translation/WordLists.h"

QStringList TParaAnaOutWords()
{
    // clang-format off
    return {
        QStringLiteral("%Form%"), QStringLiteral("Parameter analoge Ausgaenge"), QStringLiteral("analog Output Parameter"),
        QStringLiteral("Label1"), QStringLiteral("Kanal 1"), QStringLiteral("Chan. 1"),
        QStringLiteral("Label2"), QStringLiteral("Kanal 2"), QStringLiteral("Chan. 2"),
        QStringLiteral("Label3"), QStringLiteral("Kanal 3"), QStringLiteral("Chan. 3"),
        QStringLiteral("Label4"), QStringLiteral("Kanal 4"), QStringLiteral("Chan. 4"),
        QStringLiteral("Label5"), QStringLiteral("Kanal 5"), QStringLiteral("Chan. 5"),
        QStringLiteral("Label6"), QStringLiteral("Kanal 6"), QStringLiteral("Chan. 6"),
        QStringLiteral("Label7"), QStringLiteral("Kanal 7"), QStringLiteral("Chan. 7"),
        QStringLiteral("Label8"), QStringLiteral("Kanal 8"), QStringLiteral("Chan. 8"),
        QStringLiteral("Label9"), QStringLiteral("Kanal 9"), QStringLiteral("Chan. 9"),
        QStringLiteral("Label10"), QStringLiteral("Kanal 10"), QStringLiteral("Chan. 10"),
        QStringLiteral("Label11"), QStringLiteral("Kanal 11"), QStringLiteral("Chan. 11"),
        QStringLiteral("Label12"), QStringLiteral("Kanal 12"), QStringLiteral("Chan. 12"),
        QStringLiteral("Label13"), QStringLiteral("Kanal 13"), QStringLiteral("Chan. 13"),
        QStringLiteral("Label14"), QStringLiteral("Kanal 14"), QStringLiteral("Chan. 14"),
        QStringLiteral("Label15"), QStringLiteral("Kanal 15"), QStringLiteral("Chan. 15"),
        QStringLiteral("Label16"), QStringLiteral("Kanal 16"), QStringLiteral("Chan. 16"),
        QStringLiteral("Label17"), QStringLiteral("Typ"), QStringLiteral("Type"),
        QStringLiteral("ComboBox1"), QStringLiteral("0 ... 10 V"), QStringLiteral("0 ... 10 V"),
        QStringLiteral("\""), QStringLiteral("-10 ... 10 V"), QStringLiteral("-10 ... 10 V"),
        QStringLiteral("\""), QStringLiteral("0 ... 20 mA"), QStringLiteral("0 ... 20 mA"),
        QStringLiteral("\""), QStringLiteral("4 ... 20 mA"), QStringLiteral("4 ... 20 mA"),
        QStringLiteral("\""), QStringLiteral("???"), QStringLiteral("???"),
        QStringLiteral("Label18"), QStringLiteral("Reaktion"), QStringLiteral("Reaction"),
        QStringLiteral("ComboBox2"), QStringLiteral("letzter Wert"), QStringLiteral("Last Value"),
        QStringLiteral("@idERR_CONF"), QStringLiteral("Keine Konfiguration geladen"), QStringLiteral("No active Configuration"),
        QStringLiteral("@idWORT"), QStringLiteral("Wort (hex)"), QStringLiteral("Word (hex)"),
        QStringLiteral("@idKANAL_MAX"), QStringLiteral("Die Station hat mehr als 16 Kanäle; bearbeitet werden die ersten 16."), QStringLiteral("The station has more than 16 channels; the first 16 are handled."),
    };
    // clang-format on
}
