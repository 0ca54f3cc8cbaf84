#pragma once
// Bus monitor lines: "TxD (12.345)  00 01 ..." with the seconds since start-up.
#include <QDateTime>
#include <QFile>
#include <QPlainTextEdit>
#include <QString>

// Seconds from `base` to `now`, from date and time together, so the stamp keeps
// growing past midnight.
double MonitorSeconds(const QDateTime &base, const QDateTime &now);

// prefix "TxD " or "RxD ".
QString MonitorLine(const QString &prefix, double seconds, const QString &text);

// A read-only memo that counts its lines and is cleared when it holds the
// line limit or more before a new line. Lines are handed to the widget in
// batches (flush()), since laying out one line at a time is what limits how
// many frames a second the monitor can take.
class MonitorMemo
{
public:
    explicit MonitorMemo(QPlainTextEdit *memo) : memo_(memo) {}
    void setInitialText(const QString &text);
    // Adds one line, clearing the memo first when it is full.
    void addLine(const QString &line, int limit);
    void clear();
    // Shows the lines added since the last flush.
    void flush();
    bool pending() const { return !pending_.isEmpty(); }
    int lineCount() const { return lines_; }

private:
    QPlainTextEdit *memo_;
    int lines_ = 0;
    QStringList pending_;
    bool clearPending_ = false;
};

// The traffic file: one monitor line per text line, each on disk as written.
class TrafficFile
{
public:
    bool open(const QString &path, QString *error);
    void close();
    bool isOpen() const { return file_.isOpen(); }
    // False when the line could not be written (disk full, file gone).
    bool writeLine(const QString &line);
    QString errorString() const { return file_.errorString(); }

private:
    QFile file_;
};
