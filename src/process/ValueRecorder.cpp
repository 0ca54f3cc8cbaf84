#include "process/ValueRecorder.h"

#include "app/Deklarat.h"
#include "process/ProcessImage.h"

#include <algorithm>

ValueRecorder::ValueRecorder(Deklarat &d, QObject *parent) : QObject(parent), d(d)
{
    SaveTimer = new QTimer(this);
    SaveTimer->setObjectName(QStringLiteral("SaveTimer"));
    SaveTimer->setInterval(1000);
    connect(SaveTimer, &QTimer::timeout, this, [this] { SaveTimerTimer(); });
}

bool ValueRecorder::start(const QString &path, QString *error)
{
    SaveTimer->start();
    path_ = path;
    if (file_.create(path_, error))
        return true;
    stop();
    return false;
}

void ValueRecorder::stop()
{
    SaveTimer->stop();
    file_.close();
}

void ValueRecorder::SaveTimerTimer()
{
    if (!file_.isOpen())
        return;
    // The engine may exist before the program start is taken.
    if (!LogTimeBase.isValid())
        LogTimeBase = d.StartTimeStamp.isValid() ? d.StartTimeStamp : QDateTime::currentDateTime();
    const StationConfiguration &config = d.StationConfig;
    const int bytes = std::min((config.DigInCount + 7) / 8, static_cast<int>(d.DigInBytes.size()));
    const double seconds = static_cast<double>(LogTimeBase.msecsTo(QDateTime::currentDateTime())) / 1000.0;
    const QString line =
        ValueLogLine(seconds, d.AnaInAllValues.data(), AnalogInputChannels(config), d.DigInBytes.data(), bytes);
    QString error;
    if (!file_.writeLine(line, &error)) {
        stop();
        emit Failed(error);
    }
}
