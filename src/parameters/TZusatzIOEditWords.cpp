#include "translation/WordLists.h"

QStringList TZusatzIOEditWords()
{
    // clang-format off
    return {
        QStringLiteral("%Form%"), QStringLiteral("Eigenschaften"), QStringLiteral("Properties"),
        QStringLiteral("LFunction"), QStringLiteral("Funktion"), QStringLiteral("Function"),
        QStringLiteral("OKBtn"), QStringLiteral("Schreiben"), QStringLiteral("Write"),
        QStringLiteral("ReadBtn"), QStringLiteral("Lesen"), QStringLiteral("Read"),
        QStringLiteral("CancelBtn"), QStringLiteral("Zurück"), QStringLiteral("Back"),
        QStringLiteral("@idKNOTEN"), QStringLiteral("Knoten"), QStringLiteral("Node"),
        QStringLiteral("@idSLOT"), QStringLiteral("Slot"), QStringLiteral("Slot"),
        QStringLiteral("@idKANAL"), QStringLiteral("Kanal"), QStringLiteral("Channel"),
        QStringLiteral("@idNO_PARA"), QStringLiteral("Dieses Modul hat keine Parameter, die gelesen oder geschrieben werden können"), QStringLiteral("This module has no parameters to read or write"),
    };
    // clang-format on
}
