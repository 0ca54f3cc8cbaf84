#pragma once
// The process value log: one line per period with the seconds since start-up,
// the analog inputs and the digital input bytes, for a spreadsheet.
#include <QFile>
#include <QLocale>
#include <QString>

// "seconds;a1;...;aN;b1;...;bD;" without the line end. The seconds in general
// format with the locale's decimal separator, the values as signed decimal
// numbers, the bytes as unsigned ones.
QString ValueLogLine(double seconds, const qint32 *analog, int analogCount, const quint8 *digital, int digitalCount,
                     const QLocale &locale = QLocale::system());

// The interval a field value gives: its low 16 bits as an unsigned number when
// that is 100..5000, otherwise 1000.
int SaveIntervalFor(qint64 value);

// The log file: created anew, every line on disk as soon as it is written.
class ValueLogFile
{
public:
    static constexpr const char *LineEnd = "\r\n";

    // Replaces an existing file. False, with the reason, when it cannot be created.
    bool create(const QString &path, QString *error);
    // False, with the reason, when the line did not reach the disk.
    bool writeLine(const QString &line, QString *error);
    void close();
    bool isOpen() const { return file_.isOpen(); }

private:
    QFile file_;
};
