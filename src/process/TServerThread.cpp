#include "process/TServerThread.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>

Q_DECLARE_METATYPE(PipeMessage)

TServerThread::TServerThread(const QString &pipeName, PipeBridge *bridge, QObject *parent)
    : QThread(parent), pipeName_(pipeName), bridge_(bridge)
{
    qRegisterMetaType<PipeMessage>("PipeMessage");
}

TServerThread::~TServerThread()
{
    stop();
}

QString TServerThread::serverPath() const
{
    return pathReady_.load() ? serverPath_ : QString();
}

void TServerThread::stop()
{
    requestInterruption();
    // The thread may be waiting for the user-interface thread to serve a request.
    while (!wait(10))
        QCoreApplication::processEvents();
}

void TServerThread::run()
{
    QLocalServer server;
    // Plant outputs must not be switchable by every local user.
    server.setSocketOptions(QLocalServer::UserAccessOption);
    while (!isInterruptionRequested()) {
        if (!server.isListening()) {
            // A name that answers belongs to a running program: listening would
            // take it over, so wait until it is free.
            QLocalSocket probe;
            probe.connectToServer(pipeName_);
            if (probe.waitForConnected(100)) {
                probe.abort();
                msleep(500);
                continue;
            }
            if (!server.listen(pipeName_)) {
                // A socket left behind by an earlier run blocks the name.
                QLocalServer::removeServer(pipeName_);
                if (!server.listen(pipeName_)) {
                    msleep(200);
                    continue;
                }
            }
            serverPath_ = server.fullServerName();
            pathReady_ = true;
            listening_ = true;
        }
        if (!server.waitForNewConnection(100))
            continue;
        QLocalSocket *client = server.nextPendingConnection();
        if (!client)
            continue;
        QByteArray request;
        QDeadlineTimer deadline(RequestTimeoutMs);
        while (request.size() < PipeMessageSize && !deadline.hasExpired() && !isInterruptionRequested()) {
            if (client->bytesAvailable() > 0 || client->waitForReadyRead(20))
                request += client->read(PipeMessageSize - request.size());
            if (client->state() != QLocalSocket::ConnectedState && client->bytesAvailable() == 0)
                break;
        }
        if (request.size() == PipeMessageSize && !isInterruptionRequested()) {
            const PipeMessage message = ToPipeMessage(request);
            QMetaObject::invokeMethod(bridge_, "applyRequest", Qt::BlockingQueuedConnection,
                                      Q_ARG(PipeMessage, message));
            PipeMessage response{};
            QMetaObject::invokeMethod(bridge_, "buildResponse", Qt::BlockingQueuedConnection,
                                      Q_RETURN_ARG(PipeMessage, response));
            client->write(ToByteArray(response));
            client->flush();
            client->waitForBytesWritten(1000);
        }
        client->disconnectFromServer();
        if (client->state() != QLocalSocket::UnconnectedState)
            client->waitForDisconnected(100);
        delete client;
    }
    listening_ = false;
    server.close();
}
