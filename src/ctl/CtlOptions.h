#pragma once
// The global options of vo3112ctl and the verb with its own arguments.
#include <QString>
#include <QStringList>
#include <optional>

struct LinkChoice {
    enum class Kind { Saved, Tcp, Serial };
    Kind kind = Kind::Saved; // Saved: the link of Modbus.ini
    QString host;
    quint16 port = 502;
    QString device;
    int baud = 38400;
    int frame = 4; // 1..4 as the interface window's list
};

struct CtlOptions {
    LinkChoice link;
    std::optional<int> unit; // none: [Slave] Adresse of Modbus.ini, else 8
    bool json = false;
    int language = 0; // 0 German, 1 English
    bool yes = false;
    bool help = false;
    bool version = false;
    QString verb;
    QStringList arguments; // everything after the verb that is not a global option
};

struct ParsedOptions {
    CtlOptions options;
    QString error; // empty: understood
};

// Global options may stand before or after the verb; an unknown option before
// the verb is a usage error, after it the verb's own.
ParsedOptions ParseCtlOptions(const QStringList &words);

// "HOST[:PORT]" and "DEVICE[:BAUD[:FRAME]]"; nothing when malformed.
std::optional<LinkChoice> ParseTcpLink(const QString &text);
std::optional<LinkChoice> ParseSerialLink(const QString &text);
// Plain decimal within [min, max].
std::optional<int> ParseDecimal(const QString &text, int min, int max);
// Decimal or 0x hex within [min, max].
std::optional<int> ParseNumber(const QString &text, int min, int max);
