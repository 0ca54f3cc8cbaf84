#pragma once
// The station as a command-line run sees it: the shared state, the one
// transport, the link opened on first use, and one request at a time through
// the windows' request/reply helper with their periods and retry limits.
#include "app/Deklarat.h"
#include "ctl/CtlOptions.h"
#include "link/Exchange.h"

#include <QString>
#include <QTimer>
#include <memory>

class Transport;
class RecordingMessageSink;

// How one request ended, and for a failure the text for a person.
struct AskResult {
    ReplyOutcome outcome = ReplyOutcome::Idle; // Data, Exception or TimedOut
    bool linkDown = false;                     // the link did not open
    QString failure;                           // why, when not Data
    quint8 exceptionCode = 0;
};

class CtlSession
{
public:
    // `programFolder` ends with '/'; Modbus.ini is found from there.
    CtlSession(const CtlOptions &options, const QString &programFolder);
    ~CtlSession();
    CtlSession(const CtlSession &) = delete;
    CtlSession &operator=(const CtlSession &) = delete;

    Deklarat &state() { return d; }
    int language() const { return language_; }
    quint8 unit() const { return d.SlaveAddress; }
    const QString &programFolder() const { return d.ProgramFolder; }
    // "tcp 127.0.0.1:502" or "serial /dev/ttyS0 38400 4".
    QString linkText() const;

    // Sends the request of `length` in TxFrame (unit at TxFrame[6]) and waits
    // for its outcome: the reply, an exception, or nothing within
    // (RetryLimit + 1) periods. The link is opened before the first request.
    // `unitChecked`: a reply from another unit counts as none.
    AskResult ask(quint8 length, int period, bool unitChecked = false);

    // The text of a message id of a window's word list in the run's language.
    QString word(const QStringList &words, const QString &id) const;
    // " Fehler Illegal Data Adress" as the windows write it; in English the
    // error caption stands for " Fehler ".
    QString exceptionText(quint8 code) const;

private:
    bool openLink(QString &failure);
    bool openTcp(QString &failure);
    bool openSerial(QString &failure);

    Deklarat d;
    std::unique_ptr<RecordingMessageSink> sink_;
    Transport *link_ = nullptr;
    LinkChoice choice_;
    bool rs485_ = false;
    int language_ = 0;
    bool opened_ = false;
    QString openFailure_;
};
