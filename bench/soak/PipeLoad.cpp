#include "PipeLoad.h"

#include "process/PipeClient.h"
#include "process/PipeMessages.h"

#include <QElapsedTimer>
#include <algorithm>
#include <optional>

namespace
{
constexpr quint8 RestartFlag = 0x80;
constexpr quint8 ProcessDataFlag = 0x08;
constexpr int AnswerGoalMs = 1000;
// Long enough to tell a slow answer from none at all.
constexpr int GiveUpMs = 5000;
} // namespace

PipeLoad::PipeLoad(QString pipeName, std::chrono::milliseconds period, std::chrono::seconds restartEvery)
    : pipeName_(std::move(pipeName)), period_(period), restartEvery_(restartEvery)
{
}

PipeLoad::~PipeLoad()
{
    stop();
}

void PipeLoad::start()
{
    thread_ = std::thread([this] { run(); });
}

void PipeLoad::stop()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

PipeFigures PipeLoad::figures() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return figures_;
}

void PipeLoad::run()
{
    using Clock = std::chrono::steady_clock;
    auto next = Clock::now();
    auto nextRestart = Clock::now() + restartEvery_;
    Clock::time_point restartAskedAt{};
    bool restartPending = false;
    bool flagSeenSinceAsked = false;
    quint8 counter = 0;
    while (!stop_) {
        next += period_;
        const bool restart = restartEvery_.count() > 0 && Clock::now() >= nextRestart && !restartPending;
        if (restart)
            nextRestart = Clock::now() + restartEvery_;
        ++counter;
        const std::array<quint8, 9> outputs{
            counter, static_cast<quint8>(~counter), counter, counter, counter, counter, counter, counter, counter};
        QElapsedTimer took;
        took.start();
        QString error;
        const auto response =
            ExchangePipeMessage(pipeName_, BuildPipeRequest(outputs, restart ? 0x01 : 0x00), GiveUpMs, &error);
        const double ms = static_cast<double>(took.nsecsElapsed()) / 1e6;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++figures_.requests;
            if (restart)
                ++figures_.restartsAsked;
            if (!response) {
                ++figures_.failed;
                figures_.lastError = error;
            } else {
                ++figures_.answered;
                figures_.within1s += ms <= AnswerGoalMs ? 1 : 0;
                figures_.longestMs = std::max(figures_.longestMs, ms);
                const quint8 flags = ParsePipeResponse(*response).Flags;
                figures_.processDataSeen += (flags & ProcessDataFlag) ? 1 : 0;
                if (restart) {
                    restartAskedAt = Clock::now();
                    restartPending = true;
                    flagSeenSinceAsked = (flags & RestartFlag) != 0;
                    figures_.restartsFlagged += flagSeenSinceAsked ? 1 : 0;
                } else if (restartPending && !(flags & RestartFlag) && flagSeenSinceAsked) {
                    ++figures_.restartsCompleted;
                    figures_.longestRestartS = std::max(
                        figures_.longestRestartS, std::chrono::duration<double>(Clock::now() - restartAskedAt).count());
                    restartPending = false;
                }
            }
        }
        // A restart that was not flagged would never be seen completing.
        if (restartPending && !flagSeenSinceAsked)
            restartPending = false;
        std::this_thread::sleep_until(std::max(next, Clock::now()));
        if (Clock::now() > next + period_)
            next = Clock::now(); // after a slow answer: no burst to catch up
    }
}
