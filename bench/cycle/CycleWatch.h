#pragma once
// Watches the control window's running cycle from outside, through public
// signals only (the program is not changed for the benchmark):
//
// - a function-23 request goes out: the transport's socket reports bytes
//   written while the cycle's request is the outstanding one on the line
//   (requests wait their turn behind other windows' exchanges, so the
//   request timer's tick is not the moment it leaves);
// - its reply comes in: the first read event after it (one exchange at a
//   time on the line);
// - a response check ran: the reply timer's tick, looked at after the
//   window's own handler has taken the reply.
//
// - every reply that arrives, also after its window gave up: counted in the
//   receive texts the transport hands to the monitor, passed on unchanged.
//
// Each answered check compares the looped-back digital inputs with the
// outputs of the request answered and then flips one output box, so that
// every reply must reflect its own request.
#include "PeriodRecorder.h"
#include "ReplyCounter.h"
#include "link/Transport.h"

#include <QElapsedTimer>
#include <QObject>

struct ProgramState;
class QCheckBox;

class CycleWatch : public QObject, private MonitorSink
{
public:
    explicit CycleWatch(ProgramState &d);
    ~CycleWatch() override;

    PeriodRecorder &recorder() { return recorder_; }
    // Requests whose reply has not come (yet).
    int unanswered() const { return recorder_.requests() - replies_.right() - replies_.wrong(); }
    CycleChecks checks() const;

private:
    void ShowSendData(const QString &text) override;
    void ShowReceivedData(const QString &text) override;
    void AddSendSeparator() override;
    void AddReceiveSeparator() override;
    void ShowLinkNote(const QString &text) override;

    void requestWentOut();
    void responseChecked();
    bool replyIsRight() const;

    ProgramState &d;
    PeriodRecorder recorder_;
    std::vector<QCheckBox *> outputBoxes_;
    int flips_ = 0;
    static constexpr int FlipPeriodMs = 40;
    QElapsedTimer sinceFlip_;
    int readQuantity_ = 0;
    CycleChecks checks_;
    ReplyCounter replies_;
    MonitorSink *monitor_ = nullptr; // the main window
};
