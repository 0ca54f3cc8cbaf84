#include "monitor/MonitorLines.h"

#include "app/Conversions.h"

double MonitorSeconds(const QDateTime &base, const QDateTime &now)
{
    return static_cast<double>(base.msecsTo(now)) / 1000.0;
}

QString MonitorLine(const QString &prefix, double seconds, const QString &text)
{
    return prefix + QLatin1Char('(') + FormatGeneralFloat(seconds) + QStringLiteral(")  ") + text;
}

void MonitorMemo::setInitialText(const QString &text)
{
    memo_->setPlainText(text);
    pending_.clear();
    clearPending_ = false;
    lines_ = 1;
}

void MonitorMemo::addLine(const QString &line, int limit)
{
    if (lines_ >= limit) {
        // The memo is emptied at the next flush; what it held is gone anyway.
        pending_.clear();
        clearPending_ = true;
        lines_ = 0;
    }
    pending_ << line;
    ++lines_;
}

void MonitorMemo::clear()
{
    memo_->clear();
    pending_.clear();
    clearPending_ = false;
    lines_ = 0;
}

void MonitorMemo::flush()
{
    if (clearPending_) {
        memo_->clear();
        clearPending_ = false;
    }
    if (pending_.isEmpty())
        return;
    const QString text = pending_.join(QLatin1Char('\n'));
    pending_.clear();
    if (memo_->document()->isEmpty())
        memo_->setPlainText(text);
    else
        memo_->appendPlainText(text);
}

bool TrafficFile::open(const QString &path, QString *error)
{
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        if (error)
            *error = file_.errorString();
        return false;
    }
    return true;
}

void TrafficFile::close()
{
    file_.close();
}

bool TrafficFile::writeLine(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    return file_.write(bytes) == bytes.size() && file_.flush();
}
