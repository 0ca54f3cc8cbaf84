#pragma once
// Records the process inputs to the value log, one line per tick of its own
// timer, independent of the cycle: each line shows what was decoded last.
#include "process/ValueLog.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>

class Deklarat;

class ValueRecorder : public QObject
{
    Q_OBJECT
public:
    explicit ValueRecorder(Deklarat &d, QObject *parent = nullptr);

    QTimer *SaveTimer;
    // Zero point of the log's seconds; the program start unless set.
    QDateTime LogTimeBase;

    // Starts the timer and creates the file anew. False, with the reason and
    // the timer stopped again, when the file cannot be created.
    bool start(const QString &path, QString *error);
    void stop();
    bool recording() const { return file_.isOpen(); }
    const QString &path() const { return path_; }

    void SaveTimerTimer();

signals:
    // A line did not reach the disk; recording has stopped.
    void Failed(const QString &error);

private:
    Deklarat &d;
    ValueLogFile file_;
    QString path_;
};
