#pragma once
#include "link/Transport.h"

#include <QStringList>

// Collects the transport's monitor lines; separators recorded as " ".
struct RecordingMonitor : MonitorSink {
    void ShowSendData(const QString &text) override { send << text; }
    void ShowReceivedData(const QString &text) override { receive << text; }
    void AddSendSeparator() override { send << QStringLiteral(" "); }
    void AddReceiveSeparator() override { receive << QStringLiteral(" "); }
    void ShowLinkNote(const QString &text) override { notes << text; }
    QStringList send;
    QStringList receive;
    QStringList notes;
};
