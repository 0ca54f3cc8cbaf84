#include "WindowFuzz.h"

#include "../parameters/ParameterFixture.h"
#include "../process/StationFixture.h"
#include "Frames.h"
#include "ReceiveChecker.h"
#include "diagnostics/TFehler.h"
#include "link/Transport.h"
#include "parameters/TAllgePara.h"
#include "parameters/TParaAna.h"
#include "parameters/TParaAnaIn32Bit.h"
#include "parameters/TParaAnaOut.h"
#include "parameters/TParaDig.h"
#include "parameters/TParamEdit.h"
#include "parameters/TParameter.h"
#include "parameters/TZusatzIOEdit.h"
#include "process/TCont.h"
#include "station/TDeviceConfigForm.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>

namespace fuzz
{

namespace
{

using parameterfixture::ParameterStation;

// One window as the fuzzer drives it: the handlers that send a request and
// the response timers with their handlers.
struct Subject {
    QWidget *window = nullptr;
    std::vector<std::pair<const char *, std::function<void()>>> actions;
    std::vector<std::pair<QTimer *, std::function<void()>>> timers;
    bool unitChecked = false;
    std::function<void()> close;
};

struct WindowKind {
    const char *name;
    std::function<Subject(ProgramState &)> open;
};

// A program with the simulator's default station and the parameter files.
struct Program : ParameterStation {
    Program()
    {
        stationfixture::LoadStation(d.StationConfig, stationfixture::DemoSlots);
        d.Parameter->DefaultDataLaden();
        d.RetryLimit = 1; // fewer ticks per request; the paths stay the same
        sink.clear();
    }
};

// A window's request handlers and response timers with their handlers.
template <typename W> struct Handlers {
    std::vector<std::pair<const char *, void (W::*)()>> actions;
    std::vector<std::pair<QTimer * W::*, void (W::*)()>> timers;
};

template <typename W>
Subject Bind(W *w, const Handlers<W> &h, bool unitChecked = false, std::function<void()> close = {})
{
    Subject s{w, {}, {}, unitChecked, std::move(close)};
    for (const auto &[name, click] : h.actions)
        s.actions.emplace_back(name, [w, click] { (w->*click)(); });
    for (const auto &[timer, tick] : h.timers)
        s.timers.emplace_back(w->*timer, [w, tick] { (w->*tick)(); });
    return s;
}

// A window of the menu, activated as showing it would.
template <typename W> std::function<Subject(ProgramState &)> Activated(W *StationWindows::*window, Handlers<W> h)
{
    return [window, h](ProgramState &d) {
        W *w = d.*window;
        w->FormActivate();
        return Bind(w, h);
    };
}

// A parameter editor, opened from the column of the parameter grid.
template <typename W> std::function<Subject(ProgramState &)> Editor(int column, Handlers<W> h)
{
    return [column, h](ProgramState &d) {
        d.Parameter->SGParamDblClick(column, 1);
        auto *w = qobject_cast<W *>(d.Parameter->OpenEditor());
        if (!w)
            return Subject{};
        return Bind(w, h, false, [w] { w->reject(); });
    };
}

const Handlers<TZusatzIOEdit> IoEditorHandlers{
    {{"read", &TZusatzIOEdit::ReadBtnClick}, {"write", &TZusatzIOEdit::OKBtnClick}},
    {{&TZusatzIOEdit::TmReadPara, &TZusatzIOEdit::TmReadParaTimer},
     {&TZusatzIOEdit::TmRead32Para, &TZusatzIOEdit::TmRead32ParaTimer},
     {&TZusatzIOEdit::TmWritePara, &TZusatzIOEdit::TmWriteParaTimer},
     {&TZusatzIOEdit::TmWrite32Para, &TZusatzIOEdit::TmWrite32ParaTimer}}};

std::vector<WindowKind> Windows()
{
    return {
        {"configuration",
         [](ProgramState &d) {
             return Bind(d.DeviceConfigForm,
                         Handlers<TDeviceConfigForm>{
                             {{"read", &TDeviceConfigForm::BReadConfigClick}},
                             {{&TDeviceConfigForm::TimerIdentity, &TDeviceConfigForm::TimerIdentityTimer},
                              {&TDeviceConfigForm::TimerSlotList, &TDeviceConfigForm::TimerSlotListTimer}}},
                         true);
         }},
        {"control",
         [](ProgramState &d) {
             TCont *w = d.Cont;
             w->FormActivate();
             w->BStartClick();
             return Bind(
                 w, Handlers<TCont>{{{"request", &TCont::AnfrageTimer}}, {{&TCont::Antwort, &TCont::AntwortTimer}}},
                 false, [w] { w->BStopClick(); });
         }},
        {"error and alarm mask",
         Activated<TFehler>(&StationWindows::Fehler, {{{"read errors", &TFehler::BReadErrorClick},
                                                       {"reset errors", &TFehler::BResetErrorClick},
                                                       {"read mask", &TFehler::BReadAlarmMaskClick},
                                                       {"send mask", &TFehler::BSendAlarmMaskClick}},
                                                      {{&TFehler::Anfrage, &TFehler::AnfrageTimer},
                                                       {&TFehler::Timer1, &TFehler::Timer1Timer}}})},
        {"analog inputs 32 bit",
         Activated<TParaAnaIn32Bit>(
             &StationWindows::ParaAnaIn32Bit,
             {{{"read", &TParaAnaIn32Bit::ReadAnaInClick}, {"write", &TParaAnaIn32Bit::WriteAnaInClick}},
              {{&TParaAnaIn32Bit::Timer1, &TParaAnaIn32Bit::Timer1Timer},
               {&TParaAnaIn32Bit::Timer3, &TParaAnaIn32Bit::Timer3Timer}}})},
        {"analog inputs 16 bit",
         Activated<TParaAna>(
             &StationWindows::ParaAna,
             {{{"read", &TParaAna::ReadAnaInClick}, {"write", &TParaAna::WriteAnaInClick}},
              {{&TParaAna::Timer1, &TParaAna::Timer1Timer}, {&TParaAna::Timer3, &TParaAna::Timer3Timer}}})},
        {"analog outputs",
         Activated<TParaAnaOut>(
             &StationWindows::ParaAnaOut,
             {{{"read", &TParaAnaOut::ReadAnaOutClick}, {"write", &TParaAnaOut::WriteAnaOutClick}},
              {{&TParaAnaOut::Timer2, &TParaAnaOut::Timer2Timer}, {&TParaAnaOut::Timer4, &TParaAnaOut::Timer4Timer}}})},
        {"digital", Activated<TParaDig>(&StationWindows::ParaDig,
                                        {{{"read", &TParaDig::ReadClick}, {"write", &TParaDig::WriteClick}},
                                         {{&TParaDig::Anfrage, &TParaDig::AnfrageTimer},
                                          {&TParaDig::Timer1, &TParaDig::Timer1Timer}}})},
        {"general and network",
         Activated<TAllgePara>(&StationWindows::AllgePara, {{{"read", &TAllgePara::ReadClick},
                                                             {"write", &TAllgePara::WriteClick},
                                                             {"reset", &TAllgePara::BSetComDefaultClick}},
                                                            {{&TAllgePara::Timer1, &TAllgePara::Timer1Timer},
                                                             {&TAllgePara::Timer2, &TAllgePara::Timer2Timer}}})},
        {"coupler editor",
         Editor<TParamEdit>(1, {{{"read", &TParamEdit::BReadClick}, {"send", &TParamEdit::BSendClick}},
                                {{&TParamEdit::ReadPara, &TParamEdit::ReadParaTimer},
                                 {&TParamEdit::WritePara, &TParamEdit::WriteParaTimer}}})},
        // Slot 4 holds a digital output module, slot 6 a strain gauge module
        // with 32-bit objects.
        {"I/O editor, digital output", Editor<TZusatzIOEdit>(5, IoEditorHandlers)},
        {"I/O editor, strain gauge", Editor<TZusatzIOEdit>(7, IoEditorHandlers)},
    };
}

// Everything a reply could reach: the window's controls, the process image
// (which the log and the pipe take), the flags, the configuration, the
// parameter records, and the boxes shown.
QStringList Snapshot(ProgramState &d, const Subject &s, const RecordingMessageSink &sink)
{
    QStringList lines;
    QList<QWidget *> widgets = s.window->findChildren<QWidget *>();
    widgets.prepend(s.window);
    for (QWidget *w : widgets) {
        QString v;
        if (auto *e = qobject_cast<QLineEdit *>(w))
            v = e->text();
        else if (auto *l = qobject_cast<QLabel *>(w))
            v = l->text();
        else if (auto *b = qobject_cast<QAbstractButton *>(w))
            v = b->text() + (b->isChecked() ? QStringLiteral(" [x]") : QStringLiteral(" [ ]"));
        else if (auto *c = qobject_cast<QComboBox *>(w))
            v = QString::number(c->currentIndex()) + QLatin1Char(' ') + c->currentText();
        else if (auto *sb = qobject_cast<QAbstractSpinBox *>(w))
            v = sb->text();
        else if (auto *p = qobject_cast<QPlainTextEdit *>(w))
            v = p->toPlainText();
        else if (auto *t = qobject_cast<QTextEdit *>(w))
            v = t->toPlainText();
        else if (auto *tab = qobject_cast<QTabWidget *>(w))
            v = QString::number(tab->currentIndex()) + QLatin1Char('/') + QString::number(tab->count());
        else if (auto *g = qobject_cast<QTableWidget *>(w)) {
            for (int r = 0; r < g->rowCount(); ++r)
                for (int c = 0; c < g->columnCount(); ++c)
                    if (const QTableWidgetItem *item = g->item(r, c))
                        v += item->text() + QLatin1Char('|');
        } else
            continue;
        lines << w->objectName() + (w->isEnabled() ? QStringLiteral(": ") : QStringLiteral(" (off): ")) + v;
    }
    auto numbers = [&lines](const char *name, const auto &values) {
        QString v;
        for (auto x : values)
            v += QString::number(x) + QLatin1Char(' ');
        lines << QString::fromLatin1(name) + QStringLiteral(": ") + v;
    };
    numbers("AnaInValues", d.AnaInValues);
    numbers("AnaInAllValues", d.AnaInAllValues);
    numbers("DigInBytes", d.DigInBytes);
    numbers("StationFlags", std::array<int, 1>{d.StationFlags});
    const StationConfiguration &c = d.StationConfig;
    numbers("counts", std::array<int, 6>{c.AnaInCount, c.AnaIn32Count, c.AnaOutCount, c.DigInCount, c.DigOutCount,
                                         c.ConfigValid});
    numbers("SlotModuleIds", c.SlotModuleIds);
    numbers("AnaInFormat", c.AnaInFormat);
    for (size_t i = 0; i < d.StationPositions.size(); ++i) {
        const StationPosition &p = d.StationPositions[i];
        QString v = QString::number(p.ModuleId);
        auto record = [&v](const std::optional<ParameterRecord> &r) {
            if (!r)
                return;
            v += QStringLiteral(" f%1").arg(r->FunctionWord);
            for (const ObjectEntry &e : r->ObjectEntries)
                if (!e.ObjectId.isEmpty())
                    v += QLatin1Char(' ') + e.ObjectId + QLatin1Char('=') + QString::number(e.Value) +
                         QLatin1Char('/') + QString::number(e.Valid);
        };
        record(p.ModuleParams);
        for (const auto &channel : p.ChannelParams)
            record(channel);
        lines << QStringLiteral("position %1: ").arg(i) + v;
    }
    for (const MessageRequest &box : sink.boxes)
        lines << QStringLiteral("box ") + box.caption + QStringLiteral(": ") + box.text;
    for (const QString &e : sink.conversionErrors)
        lines << QStringLiteral("conversion error: ") + e;
    return lines;
}

QString FirstDifference(const QStringList &a, const QStringList &b)
{
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QString x = a.value(i), y = b.value(i);
        if (x != y)
            return QStringLiteral("\n    no reply:  ") + x.left(300) + QStringLiteral("\n    that reply: ") +
                   y.left(300);
    }
    return {};
}

// The request now on the line, if any.
std::optional<LineRequest> Outstanding(ProgramState &d)
{
    return d.Link ? d.Link->line().outstanding() : std::nullopt;
}

int ReadByteCount(const LineRequest &r)
{
    return r.shape.byteCount;
}

Bytes Pad(std::mt19937 &rng, Bytes head, size_t dataBytes)
{
    const Bytes tail = RandomBytes(rng, dataBytes);
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// A frame that is not the reply to `r` by construction.
Bytes NotOwnReply(std::mt19937 &rng, const LineRequest &r, quint8 unit, bool unitChecked)
{
    const quint8 fc = r.shape.functionCode;
    auto otherFc = [&] {
        quint8 f;
        do
            f = static_cast<quint8>(rng());
        while (f == fc || f == (fc | 0x80));
        return f;
    };
    const int bc = ReadByteCount(r);
    switch (rng() % (unitChecked ? 6 : 5)) {
    case 0: // another function code, any length
        return Pad(rng, {unit, otherFc()}, rng() % 60);
    case 1: // too short to tell anything
        return RandomBytes(rng, rng() % 3);
    case 2: // a read's reply with another byte count, or a write's cut short
        if (bc >= 0) {
            quint8 told;
            do
                told = static_cast<quint8>(rng());
            while (told == bc);
            return Pad(rng, {unit, fc, told}, rng() % 2 ? told : rng() % 40);
        }
        return {unit, fc};
    case 3: // a read's reply cut short: fewer data bytes than it tells
        if (bc > 0)
            return Pad(rng, {unit, fc, static_cast<quint8>(bc)}, rng() % static_cast<size_t>(bc));
        return Pad(rng, {unit, otherFc()}, 3);
    case 4: // noise of any length whose function code is not the request's
    {
        Bytes b = RandomBytes(rng, 2 + rng() % 257);
        b[1] = otherFc();
        return b;
    }
    default: // the right reply from another unit
    {
        quint8 other;
        do
            other = static_cast<quint8>(rng());
        while (other == unit);
        return Pad(rng, {other, fc, static_cast<quint8>(std::max(bc, 0))}, static_cast<size_t>(std::max(bc, 4)));
    }
    }
}

// A reply shaped like the request's own: data of any value, an exception with
// any code, and now and then anything at all.
Bytes AnyReply(std::mt19937 &rng, const std::optional<LineRequest> &r, quint8 unit)
{
    const quint8 fc = r ? r->shape.functionCode : static_cast<quint8>(rng());
    const int bc = r ? ReadByteCount(*r) : -1;
    switch (rng() % 6) {
    case 0:
    case 1:
        if (bc >= 0)
            return Pad(rng, {unit, fc, static_cast<quint8>(bc)}, static_cast<size_t>(bc) + rng() % 3);
        return Pad(rng, {unit, fc}, rng() % 250);
    case 2: // device identification and other replies that tell no byte count
        return Pad(rng, {unit, fc}, 1 + rng() % 255);
    case 3: // an exception, any code, sometimes nothing behind the code
        return Pad(rng, {unit, static_cast<quint8>(fc | 0x80)}, 1 + rng() % 3);
    case 4:
        return RandomBytes(rng, rng() % 300);
    default:
        return Pad(rng, {unit, fc}, rng() % 4);
    }
}

class WindowRun
{
public:
    WindowRun(const WindowKind &kind, std::mt19937 &rng) : kind_(kind), rng_(rng) {}

    // Twins: A never gets a reply, B gets only replies that are not its own.
    // Both must show and hold the same.
    bool notOwnRounds(int rounds)
    {
        Program a, b;
        Subject sa = kind_.open(a.d), sb = kind_.open(b.d);
        if (!sa.window || !sb.window)
            return fail("the window did not open");
        for (int round = 0; round < rounds; ++round) {
            const size_t action = rng_() % sa.actions.size();
            sa.actions[action].second();
            sb.actions[action].second();
            std::string fed;
            bool idle = false;
            for (int step = 0; step < 40 && !idle; ++step) {
                const std::optional<LineRequest> r = Outstanding(b.d);
                if (r && rng_() % 3 != 0) {
                    const Bytes reply = NotOwnReply(rng_, *r, b.d.SlaveAddress, sb.unitChecked);
                    fed += " " + Hex(reply.data(), reply.size()) + ";";
                    HandReply(b.d, reply);
                }
                const int timer = activeTimer(sa);
                if (timer != activeTimer(sb))
                    return fail(std::string("the response timers differ after ") + sa.actions[action].first + fed);
                idle = timer < 0;
                if (idle)
                    break;
                sa.timers[static_cast<size_t>(timer)].second();
                sb.timers[static_cast<size_t>(timer)].second();
                const QString diff = FirstDifference(Snapshot(a.d, sa, a.sink), Snapshot(b.d, sb, b.sink));
                if (!diff.isEmpty())
                    return fail(std::string(sa.actions[action].first) + ", fed" + fed + diff.toStdString());
            }
            // A reply of the request's own shape, after the window gave up.
            const std::optional<LineRequest> late = idle ? lastShape(b.d) : std::nullopt;
            if (late) {
                const Bytes reply = AnyReply(rng_, late, b.d.SlaveAddress);
                HandReply(b.d, reply);
                const QString diff = FirstDifference(Snapshot(a.d, sa, a.sink), Snapshot(b.d, sb, b.sink));
                if (!diff.isEmpty())
                    return fail(std::string(sa.actions[action].first) + ", late " + Hex(reply.data(), reply.size()) +
                                diff.toStdString());
            }
            ++rounds_;
        }
        if (sa.close) {
            sa.close();
            sb.close();
        }
        return true;
    }

    // Any reply; the sanitizers watch.
    bool anyRounds(int rounds)
    {
        Program p;
        Subject s = kind_.open(p.d);
        if (!s.window)
            return fail("the window did not open");
        for (int round = 0; round < rounds; ++round) {
            s.actions[rng_() % s.actions.size()].second();
            for (int step = 0; step < 40; ++step) {
                const std::optional<LineRequest> r = Outstanding(p.d);
                if (rng_() % 2) {
                    const quint8 unit = rng_() % 8 ? p.d.SlaveAddress : static_cast<quint8>(rng_());
                    if (rng_() % 8 == 0) {
                        // Any count the transport can leave, over whatever RxFrame holds.
                        const Bytes bytes = RandomBytes(rng_, p.d.RxFrame.size());
                        std::copy(bytes.begin(), bytes.end(), p.d.RxFrame.begin());
                        p.d.RxCount = static_cast<quint16>(rng_() % (p.d.RxFrame.size() + 1));
                        p.d.Link->frameComplete();
                    } else {
                        HandReply(p.d, AnyReply(rng_, r, unit));
                    }
                }
                const int timer = activeTimer(s);
                if (timer < 0)
                    break;
                s.timers[static_cast<size_t>(timer)].second();
            }
            p.sink.clear();
            ++rounds_;
        }
        if (s.close)
            s.close();
        return true;
    }

    int rounds() const { return rounds_; }

private:
    static int activeTimer(const Subject &s)
    {
        for (size_t i = 0; i < s.timers.size(); ++i)
            if (s.timers[i].first->isActive())
                return static_cast<int>(i);
        return -1;
    }

    // The shape of the last request the window sent (TxFrame as the line
    // left it).
    static std::optional<LineRequest> lastShape(ProgramState &d)
    {
        if (d.TxLength < ModbusHeaderSize + 2)
            return std::nullopt;
        LineRequest r;
        r.frame = d.TxFrame;
        r.length = d.TxLength;
        r.shape = ShapeOfRequest(d.TxFrame, d.TxLength);
        return r;
    }

    bool fail(const std::string &what)
    {
        std::fprintf(stderr, "FAILED window fuzz, %s: %s\n", kind_.name, what.c_str());
        return false;
    }

    const WindowKind &kind_;
    std::mt19937 &rng_;
    int rounds_ = 0;
};

} // namespace

int RunWindowFuzz(unsigned seed, int rounds)
{
    int failures = 0;
    std::mt19937 rng(seed);
    for (const WindowKind &kind : Windows()) {
        WindowRun run(kind, rng);
        const bool ok = run.notOwnRounds(rounds) && run.anyRounds(2 * rounds);
        failures += ok ? 0 : 1;
        std::printf("window %-28s %4d rounds: %s\n", kind.name, run.rounds(), ok ? "ok" : "FAILED");
    }
    return failures;
}

} // namespace fuzz
