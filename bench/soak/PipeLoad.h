#pragma once
// A pipe client on a thread of its own: one request every period, a restart
// request (control byte bit 0) every restartEvery, each response timed.
#include <QString>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

struct PipeFigures {
    long requests = 0;
    long answered = 0;    // a whole response came back
    long within1s = 0;    // ... within 1 s
    long failed = 0;      // no response (time-out, refused, cut short)
    double longestMs = 0; // slowest response
    long restartsAsked = 0;
    long restartsFlagged = 0;   // the response to the restart request carried 0x80
    long restartsCompleted = 0; // later: 0x80 clear again and process data answering
    double longestRestartS = 0; // request until completed
    long processDataSeen = 0;   // responses with flag 0x08
    QString lastError;
};

class PipeLoad
{
public:
    PipeLoad(QString pipeName, std::chrono::milliseconds period, std::chrono::seconds restartEvery);
    ~PipeLoad();
    void start();
    void stop();
    PipeFigures figures() const;

private:
    void run();

    const QString pipeName_;
    const std::chrono::milliseconds period_;
    const std::chrono::seconds restartEvery_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable std::mutex mutex_;
    PipeFigures figures_;
};
