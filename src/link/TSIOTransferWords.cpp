// Names of the unnamed elements: GroupBox1 the serial group "Schnittstelle",
// Label1 "Übertragungsformat", Label2 "Übertragungsrate", Label3 "Port:".
#include "app/CoreTexts.h"
#include "translation/WordLists.h"

QStringList TSIOTransferWords()
{
    // clang-format off
    return QStringList{
        QStringLiteral("%Form%"), QStringLiteral("Schnittstelle"), QStringLiteral("Interface"),
        QStringLiteral("CBoEthernet"), QStringLiteral("Ethernet"), QStringLiteral("Ethernet"),
        QStringLiteral("GroupBox1"), QStringLiteral("Schnittstelle"), QStringLiteral("Interface"),
        QStringLiteral("CoBoCom"), QStringLiteral("COM 1"), QStringLiteral("COM 1"),
        QStringLiteral("\""), QStringLiteral("COM 2"), QStringLiteral("COM 2"),
        QStringLiteral("\""), QStringLiteral("COM 3"), QStringLiteral("COM 3"),
        QStringLiteral("\""), QStringLiteral("COM 4"), QStringLiteral("COM 4"),
        QStringLiteral("Label1"), QStringLiteral("Übertragungsformat"), QStringLiteral("Format"),
        QStringLiteral("CoBoFrame"), QStringLiteral("No Parity 2 Stopbit"), QStringLiteral("No Parity 2 Stopbit"),
        QStringLiteral("\""), QStringLiteral("Even Parity 1 Stopbit"), QStringLiteral("Even Parity 1 Stopbit"),
        QStringLiteral("\""), QStringLiteral("Odd Parity 1 Stopbit"), QStringLiteral("Odd Parity 1 Stopbit"),
        QStringLiteral("\""), QStringLiteral("No Parity 1 Stopbit"), QStringLiteral("No Parity 1 Stopbit"),
        QStringLiteral("Label2"), QStringLiteral("Übertragungsrate"), QStringLiteral("Baudrate"),
        QStringLiteral("CoBoBaud"), QStringLiteral("600"), QStringLiteral("600"),
        QStringLiteral("\""), QStringLiteral("1200"), QStringLiteral("1200"),
        QStringLiteral("\""), QStringLiteral("2400"), QStringLiteral("2400"),
        QStringLiteral("\""), QStringLiteral("4800"), QStringLiteral("4800"),
        QStringLiteral("\""), QStringLiteral("9600"), QStringLiteral("9600"),
        QStringLiteral("\""), QStringLiteral("19200"), QStringLiteral("19200"),
        QStringLiteral("\""), QStringLiteral("38400"), QStringLiteral("38400"),
        QStringLiteral("RS485Enable"), QStringLiteral("RS485 Freigabe"), QStringLiteral("RS485 Enable"),
        QStringLiteral("RTS"), QStringLiteral("RTS"), QStringLiteral("RTS"),
        QStringLiteral("DTR"), QStringLiteral("DTR"), QStringLiteral("DTR"),
        QStringLiteral("GBEthernet"), QStringLiteral("Ethernet"), QStringLiteral("Ethernet"),
        QStringLiteral("Label3"), QStringLiteral("Port:"), QStringLiteral("Port:"),
        QStringLiteral("CBoShowMessage"), QStringLiteral("Verbindungs-Meldungen zeigen"), QStringLiteral("Show Connection Message"),
        QStringLiteral("OK"), QStringLiteral("OK"), QStringLiteral("OK"),
        QStringLiteral("Cancel"), QStringLiteral("Zurück"), QStringLiteral("Cancel"),
        QStringLiteral("BClosePort"), QStringLiteral("Port schließen"), QStringLiteral("Close Port"),
    } + CoreTextWords();
    // clang-format on
}
