#include "process/ValueLog.h"

#include "app/Conversions.h"

QString ValueLogLine(double seconds, const qint32 *analog, int analogCount, const quint8 *digital, int digitalCount,
                     const QLocale &locale)
{
    const QLatin1Char separator(';');
    QString line = FormatGeneralFloat(seconds, locale) + separator;
    for (int i = 0; i < analogCount; ++i)
        line += QString::number(analog[i]) + separator;
    for (int j = 0; j < digitalCount; ++j)
        line += QString::number(digital[j]) + separator;
    return line;
}

int SaveIntervalFor(qint64 value)
{
    const auto v = static_cast<quint16>(value);
    return v < 100 || v > 5000 ? 1000 : v;
}

bool ValueLogFile::create(const QString &path, QString *error)
{
    close();
    file_.setFileName(path);
    if (file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return true;
    if (error)
        *error = file_.errorString();
    return false;
}

bool ValueLogFile::writeLine(const QString &line, QString *error)
{
    const QByteArray bytes = line.toUtf8() + LineEnd;
    if (file_.write(bytes) == bytes.size() && file_.flush())
        return true;
    if (error)
        *error = file_.errorString();
    return false;
}

void ValueLogFile::close()
{
    if (file_.isOpen())
        file_.close();
}
