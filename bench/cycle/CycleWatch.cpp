#include "CycleWatch.h"

#include "app/StationWindows.h"
#include "link/Transport.h"
#include "process/ProcessImage.h"
#include "process/TCont.h"

namespace
{

bool Bit(const DigitalImage &bytes, int p)
{
    return (bytes[static_cast<size_t>(p / 8)] >> (p % 8)) & 1;
}

int ReadQuantity(const StationConfiguration &c)
{
    return c.AnaInCount + 2 * c.AnaIn32Count + (c.DigInCount + 15) / 16;
}

} // namespace

CycleWatch::CycleWatch(ProgramState &d)
    : d(d), readQuantity_(ReadQuantity(d.StationConfig)), replies_(9 + 2 * readQuantity_)
{
    const StationConfiguration &c = d.StationConfig;
    for (int s = 1; s <= SlotCount; ++s)
        for (int b = 0; b < DigitalOutputChannels(c.SlotModuleIds[static_cast<size_t>(s)]); ++b)
            outputBoxes_.push_back(d.Cont->outputCheckBox(s, b));
    // Connected after the program's own handlers, so these run after them.
    connect(d.Link->ClientSocket, &QIODevice::bytesWritten, this, [this] { requestWentOut(); });
    connect(d.Link->ClientSocket, &QIODevice::readyRead, this, [this] { recorder_.replyIn(); });
    connect(d.Cont->Antwort, &QTimer::timeout, this, [this] { responseChecked(); });
    monitor_ = d.Link->monitor();
    d.Link->setMonitor(this);
}

CycleWatch::~CycleWatch()
{
    d.Link->setMonitor(monitor_);
}

CycleChecks CycleWatch::checks() const
{
    CycleChecks c = checks_;
    c.lost = unanswered();
    c.wrong += replies_.wrong();
    return c;
}

void CycleWatch::ShowSendData(const QString &text)
{
    if (monitor_)
        monitor_->ShowSendData(text);
}

void CycleWatch::ShowReceivedData(const QString &text)
{
    replies_.feed(QByteArray::fromHex(text.toLatin1()));
    if (monitor_)
        monitor_->ShowReceivedData(text);
}

void CycleWatch::AddSendSeparator()
{
    if (monitor_)
        monitor_->AddSendSeparator();
}

void CycleWatch::AddReceiveSeparator()
{
    if (monitor_)
        monitor_->AddReceiveSeparator();
}

void CycleWatch::ShowLinkNote(const QString &text)
{
    if (monitor_)
        monitor_->ShowLinkNote(text);
}

void CycleWatch::requestWentOut()
{
    const std::optional<LineRequest> &outstanding = d.Link->line().outstanding();
    if (outstanding && outstanding->frame[7] == ProcessDataFunction)
        recorder_.requestOut();
}

void CycleWatch::responseChecked()
{
    if (d.Cont->Antwort->isActive()) {
        // Pending: the window waits another period.
        if (d.Cont->ResponseRetries == 1)
            ++checks_.late;
        return;
    }
    if (!(d.StationFlags & StationFlag::ProcessDataAnswered)) {
        ++checks_.givenUp;
        return;
    }
    if (replyIsRight())
        ++checks_.answered;
    else
        ++checks_.wrong;
    // An output changes about as often as a hand or a pipe client changes
    // one, not after every reply; each reply is still checked against the
    // outputs of its own request.
    if (!outputBoxes_.empty() && (!sinceFlip_.isValid() || sinceFlip_.elapsed() >= FlipPeriodMs)) {
        sinceFlip_.start();
        QCheckBox *box = outputBoxes_[static_cast<size_t>(flips_++) % outputBoxes_.size()];
        box->setChecked(!box->isChecked());
    }
}

// The window has taken its reply into RxFrame and the image; the simulator
// loops the outputs of the same request back into the digital inputs.
bool CycleWatch::replyIsRight() const
{
    // Over TCP RxFrame holds the whole frame from its header on.
    const int dataBytes = 2 * readQuantity_;
    if (d.RxFrame[7] != ProcessDataFunction || d.RxFrame[8] != dataBytes || d.RxCount != 9 + dataBytes)
        return false;
    const StationConfiguration &c = d.StationConfig;
    const int bits = std::min<int>(c.DigInCount, c.DigOutCount);
    for (int p = 0; p < bits; ++p)
        if (Bit(d.DigInBytes, p) != Bit(d.DigOutBytes, p))
            return false;
    return true;
}
