#pragma once
// The pipe server: one client at a time, one 74-byte request and one 74-byte
// response each. Requests are applied and responses built on the user-interface
// thread while this thread waits, so the station state needs no lock.
#include "process/PipeMessages.h"

#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <functional>

// Lives on the user-interface thread; the server thread calls it blocking.
class PipeBridge : public QObject
{
    Q_OBJECT
public:
    std::function<void(const PipeMessage &)> apply;
    std::function<PipeMessage()> respond;

public slots:
    void applyRequest(const PipeMessage &request)
    {
        if (apply)
            apply(request);
    }
    PipeMessage buildResponse() { return respond ? respond() : PipeMessage{}; }
};

class TServerThread : public QThread
{
    Q_OBJECT
public:
    // A client that has not sent its whole request within this time is dropped.
    static constexpr int RequestTimeoutMs = 1000;

    TServerThread(const QString &pipeName, PipeBridge *bridge, QObject *parent = nullptr);
    ~TServerThread() override;

    QString pipeName() const { return pipeName_; }
    // The socket file clients connect to, once listening.
    QString serverPath() const;
    bool listening() const { return listening_.load(); }
    // Stops the thread; keeps the user-interface thread's events going meanwhile.
    void stop();

protected:
    void run() override;

private:
    QString pipeName_;
    PipeBridge *bridge_;
    std::atomic<bool> listening_{false};
    QString serverPath_;
    mutable std::atomic<bool> pathReady_{false};
};
