// Names of the unnamed labels: Label1 to Label9 "Slot 1" to "Slot 9" under the
// input groups, Label10 to Label18 "Slot 1" to "Slot 9" under the output groups,
// Label19 "alle" and Label20 "ms" beside ESaveTime.
#include "translation/WordLists.h"

QStringList TContWords()
{
    // clang-format off
    return {
        QStringLiteral("%Form%"), QStringLiteral("Steuerung"), QStringLiteral("Control"),
        QStringLiteral("GroupBox1"), QStringLiteral("digitale Eingänge"), QStringLiteral("digital Inputs"),
        QStringLiteral("Label1"), QStringLiteral("Slot 1"), QStringLiteral("Slot 1"),
        QStringLiteral("Label2"), QStringLiteral("Slot 2"), QStringLiteral("Slot 2"),
        QStringLiteral("Label3"), QStringLiteral("Slot 3"), QStringLiteral("Slot 3"),
        QStringLiteral("Label4"), QStringLiteral("Slot 4"), QStringLiteral("Slot 4"),
        QStringLiteral("Label5"), QStringLiteral("Slot 5"), QStringLiteral("Slot 5"),
        QStringLiteral("Label6"), QStringLiteral("Slot 6"), QStringLiteral("Slot 6"),
        QStringLiteral("Label7"), QStringLiteral("Slot 7"), QStringLiteral("Slot 7"),
        QStringLiteral("Label8"), QStringLiteral("Slot 8"), QStringLiteral("Slot 8"),
        QStringLiteral("Label9"), QStringLiteral("Slot 9"), QStringLiteral("Slot 9"),
        QStringLiteral("GroupBox2"), QStringLiteral("digitale Ausgänge"), QStringLiteral("digital Outputs"),
        QStringLiteral("Label10"), QStringLiteral("Slot 1"), QStringLiteral("Slot 1"),
        QStringLiteral("Label11"), QStringLiteral("Slot 2"), QStringLiteral("Slot 2"),
        QStringLiteral("Label12"), QStringLiteral("Slot 3"), QStringLiteral("Slot 3"),
        QStringLiteral("Label13"), QStringLiteral("Slot 4"), QStringLiteral("Slot 4"),
        QStringLiteral("Label14"), QStringLiteral("Slot 5"), QStringLiteral("Slot 5"),
        QStringLiteral("Label15"), QStringLiteral("Slot 6"), QStringLiteral("Slot 6"),
        QStringLiteral("Label16"), QStringLiteral("Slot 7"), QStringLiteral("Slot 7"),
        QStringLiteral("Label17"), QStringLiteral("Slot 8"), QStringLiteral("Slot 8"),
        QStringLiteral("Label18"), QStringLiteral("Slot 9"), QStringLiteral("Slot 9"),
        QStringLiteral("LAnaInput"), QStringLiteral("Analoge Eingänge"), QStringLiteral("Analog Input"),
        QStringLiteral("LAnaOutput"), QStringLiteral("Analoge Ausgänge"), QStringLiteral("Analog Output"),
        QStringLiteral("BSave"), QStringLiteral("Speichern"), QStringLiteral("Save"),
        QStringLiteral("Label19"), QStringLiteral("alle"), QStringLiteral("all"),
        QStringLiteral("Label20"), QStringLiteral("ms"), QStringLiteral("ms"),
        QStringLiteral("BStart"), QStringLiteral("Start"), QStringLiteral("Start"),
        QStringLiteral("BStop"), QStringLiteral("Stop"), QStringLiteral("Stop"),
        QStringLiteral("BBack"), QStringLiteral("Zurück"), QStringLiteral("Back"),
        QStringLiteral("BTrend"), QStringLiteral("Trend"), QStringLiteral("Trend"),
        QStringLiteral("@idERR_CONF"), QStringLiteral("Keine Konfiguration geladen"), QStringLiteral("No active Configuration"),
        QStringLiteral("@Kanal"), QStringLiteral("Kanal"), QStringLiteral("Channel"),
        QStringLiteral("@ProWert"), QStringLiteral("Prozeßwert"), QStringLiteral("Process Value"),
        QStringLiteral("@AnaIn"), QStringLiteral("Analoge Eingänge"), QStringLiteral("Analog Input"),
        QStringLiteral("@AnaOut"), QStringLiteral("Analoge Ausgänge"), QStringLiteral("Analog Output"),
        QStringLiteral("@idNO_ANSWER"), QStringLiteral("keine Antwort seit"), QStringLiteral("no answer since"),
        QStringLiteral("@idERR_LOG"), QStringLiteral("Aufzeichnung der Prozesswerte beendet"), QStringLiteral("Process value recording stopped"),
    };
    // clang-format on
}
