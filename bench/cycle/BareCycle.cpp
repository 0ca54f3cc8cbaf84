#include "BareCycle.h"

#include "ProgramOnSimulator.h"

#include <QEventLoop>
#include <QHostAddress>

BareCycle::BareCycle(quint16 port, const QByteArray &request, int replyBytes, int retryLimit)
    : request_(request), replies_(replyBytes), retryLimit_(retryLimit)
{
    // Named as the control window's timers (for --slow-events).
    anfrage_.setObjectName(QStringLiteral("BareAnfrage"));
    antwort_.setObjectName(QStringLiteral("BareAntwort"));
    anfrage_.setTimerType(Qt::PreciseTimer);
    antwort_.setTimerType(Qt::PreciseTimer);
    connect(&anfrage_, &QTimer::timeout, this, [this] { requestTick(); });
    connect(&antwort_, &QTimer::timeout, this, [this] { replyTick(); });
    connect(&socket_, &QIODevice::bytesWritten, this, [this] { recorder_.requestOut(); });
    connect(&socket_, &QIODevice::readyRead, this, [this] {
        recorder_.replyIn();
        replies_.feed(socket_.readAll());
    });
    socket_.connectToHost(QHostAddress::LocalHost, port);
    if (!socket_.waitForConnected(5000)) {
        error_ = QStringLiteral("bare socket: ") + socket_.errorString();
        return;
    }
    // As the interface window sets it on connect.
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
}

void BareCycle::requestTick()
{
    anfrage_.stop();
    repliesBefore_ = replies_.right() + replies_.wrong();
    retries_ = 0;
    antwort_.start(dataTimeoutMs_);
    socket_.write(request_);
}

void BareCycle::replyTick()
{
    antwort_.stop();
    // Like the program: whatever reply came since the request is taken.
    if (replies_.right() + replies_.wrong() == repliesBefore_) {
        if (retries_ < retryLimit_) {
            if (++retries_ == 1)
                ++checks_.late;
            antwort_.start();
            return;
        }
        ++checks_.givenUp;
    } else {
        ++checks_.answered;
    }
    if (running_)
        anfrage_.start(dataTimeoutMs_);
}

CycleSample BareCycle::run(const RunPlan &plan, CycleChecks &checks)
{
    checks_ = {};
    replies_.reset();
    dataTimeoutMs_ = plan.dataTimeoutMs;
    QEventLoop loop;
    recorder_.begin(plan.warmUp, plan.cycles, plan.keepPeriods, [&](int i) {
        if (i == plan.cycles) {
            running_ = false;
            loop.quit();
        }
    });
    QTimer watchdog;
    int seen = -1;
    connect(&watchdog, &QTimer::timeout, &loop, [&] {
        if (recorder_.requests() == seen) {
            error_ = QStringLiteral("the bare cycle stalled after %1 requests").arg(seen);
            loop.quit();
        }
        seen = recorder_.requests();
    });
    watchdog.start(std::max(2000, 20 * plan.dataTimeoutMs));
    running_ = true;
    anfrage_.start(dataTimeoutMs_);
    loop.exec();
    running_ = false;
    anfrage_.stop();
    RunUntil([&] { return !antwort_.isActive(); }, 20 * plan.dataTimeoutMs + 2000);
    RunUntil([&] { return replies_.right() + replies_.wrong() >= recorder_.requests(); }, 2000);
    checks = checks_;
    checks.wrong = replies_.wrong();
    checks.lost = recorder_.requests() - replies_.right() - replies_.wrong();
    return recorder_.sample();
}
