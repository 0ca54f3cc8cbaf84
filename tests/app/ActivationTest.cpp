// A box takes the activation from the active window and hands it back when it
// closes. That return must not run the window's activation steps again, for
// every window with such steps and every kind of box.
#include "TestStation.h"

#include "app/Conversions.h"
#include "app/Messages.h"
#include "diagnostics/TFehler.h"
#include "link/TSIOTransfer.h"
#include "parameters/TAllgePara.h"
#include "parameters/TParaAna.h"
#include "parameters/TParaAnaIn32Bit.h"
#include "parameters/TParaAnaOut.h"
#include "parameters/TParaDig.h"
#include "process/TCont.h"

#include <QApplication>
#include <QEvent>
#include <QLocale>
#include <gtest/gtest.h>

#include <functional>

namespace
{

void sendActivation(QWidget *window, QEvent::Type type)
{
    QEvent e(type);
    QApplication::sendEvent(window, &e);
}

// Does to the window what a real modal box does: takes the activation away
// while the box is open and hands it back when it closes, either before the
// box call returns or later, as the platform's event.
struct ModalBoxSink : RecordingMessageSink {
    QWidget *window = nullptr;
    bool returnsLater = false;
    // A window that reports again on each return would never end: past a few
    // boxes the sink stops handing the activation back.
    int open = 0;
    int returns = 0;

    void away()
    {
        if (++open <= 3)
            sendActivation(window, QEvent::WindowDeactivate);
    }
    void back()
    {
        if (open <= 3 && ++returns <= 10) {
            if (returnsLater)
                QCoreApplication::postEvent(window, new QEvent(QEvent::WindowActivate));
            else
                sendActivation(window, QEvent::WindowActivate);
        }
        --open;
    }
    MessageButton show(const MessageRequest &request) override
    {
        away();
        const MessageButton b = RecordingMessageSink::show(request);
        back();
        return b;
    }
    void conversionError(const QString &text) override
    {
        away();
        RecordingMessageSink::conversionError(text);
        back();
    }
};

// Ticks a reply timer handler until its window gives up on a missing reply.
void tickUntilTimeout(ProgramState &d, const std::function<void()> &tick)
{
    for (int i = 0; i <= d.RetryLimit + 1; ++i)
        tick();
}

struct WindowCase {
    const char *name;
    bool configured;
    QWidget *(*window)(ProgramState &);
    // What the user did after opening the window, which a new activation undoes.
    std::function<void(ProgramState &)> mark;
    std::function<bool(ProgramState &)> kept;
    // A box of the window's own.
    std::function<void(ProgramState &)> ownBox;
    QString (*missingConfigText)(ProgramState &);
};

QString noMissingConfigBox(ProgramState &)
{
    return QString();
}

template <typename W> QString missingConfigText(W *w)
{
    return w->LookupMessage(QStringLiteral("@idERR_CONF"));
}

const std::vector<WindowCase> &windowCases()
{
    static const std::vector<WindowCase> cases = {
        {"digital parameters: the log", true, [](ProgramState &d) -> QWidget * { return d.ParaDig; },
         [](ProgramState &d) { d.ParaDig->Memo1->appendPlainText(QStringLiteral("a line of the user's read")); },
         [](ProgramState &d) { return d.ParaDig->Memo1->toPlainText().contains(QStringLiteral("the user's read")); },
         [](ProgramState &d) {
             d.ParaDig->ReadClick();
             HandReply(d, {8, 0x84, 2});
             d.ParaDig->AnfrageTimer();
         },
         noMissingConfigBox},
        {"digital parameters: no configuration", false, [](ProgramState &d) -> QWidget * { return d.ParaDig; },
         [](ProgramState &) {}, [](ProgramState &) { return true; },
         [](ProgramState &d) {
             d.StationConfig.DigOutModuleCount = 1;
             d.ParaDig->ReadClick();
             HandReply(d, {8, 0x84, 2});
             d.ParaDig->AnfrageTimer();
         },
         [](ProgramState &d) { return missingConfigText(d.ParaDig); }},
        {"16-bit inputs: the window height", true, [](ProgramState &d) -> QWidget * { return d.ParaAna; },
         [](ProgramState &d) { d.ParaAna->resize(d.ParaAna->width(), d.ParaAna->height() + 37); },
         [](ProgramState &d) { return d.ParaAna->height() == d.ParaAna->property("markedHeight").toInt(); },
         [](ProgramState &d) {
             d.ParaAna->ReadAnaInClick();
             tickUntilTimeout(d, [&d] { d.ParaAna->Timer1Timer(); });
         },
         noMissingConfigBox},
        {"16-bit inputs: no configuration", false, [](ProgramState &d) -> QWidget * { return d.ParaAna; },
         [](ProgramState &) {}, [](ProgramState &) { return true; },
         [](ProgramState &d) {
             d.ParaAna->ReadAnaInClick();
             tickUntilTimeout(d, [&d] { d.ParaAna->Timer1Timer(); });
         },
         [](ProgramState &d) { return missingConfigText(d.ParaAna); }},
        {"32-bit inputs: the window height", true, [](ProgramState &d) -> QWidget * { return d.ParaAnaIn32Bit; },
         [](ProgramState &d) { d.ParaAnaIn32Bit->resize(d.ParaAnaIn32Bit->width(), d.ParaAnaIn32Bit->height() + 37); },
         [](ProgramState &d) {
             return d.ParaAnaIn32Bit->height() == d.ParaAnaIn32Bit->property("markedHeight").toInt();
         },
         [](ProgramState &d) {
             d.ParaAnaIn32Bit->ReadAnaInClick();
             tickUntilTimeout(d, [&d] { d.ParaAnaIn32Bit->Timer1Timer(); });
         },
         noMissingConfigBox},
        {"analog outputs: no configuration", false, [](ProgramState &d) -> QWidget * { return d.ParaAnaOut; },
         [](ProgramState &) {}, [](ProgramState &) { return true; },
         [](ProgramState &d) {
             d.ParaAnaOut->ReadAnaOutClick();
             tickUntilTimeout(d, [&d] { d.ParaAnaOut->Timer2Timer(); });
         },
         [](ProgramState &d) { return missingConfigText(d.ParaAnaOut); }},
        {"general parameters, serial: the typed time", true, [](ProgramState &d) -> QWidget * { return d.AllgePara; },
         [](ProgramState &d) { d.AllgePara->Edit2->setText(QStringLiteral("1")); },
         [](ProgramState &d) {
             return d.AllgePara->SerialTimeRaw == 1919 && d.AllgePara->Edit1->text() == QStringLiteral("1919");
         },
         [](ProgramState &d) {
             // More seconds than the coupler takes: the value stays.
             d.AllgePara->Edit2->setText(
                 QString::number(34.2).replace(QLatin1Char('.'), QLocale::system().decimalPoint()));
         },
         noMissingConfigBox},
        {"error window: no configuration", false, [](ProgramState &d) -> QWidget * { return d.Fehler; },
         [](ProgramState &) {}, [](ProgramState &) { return true; },
         [](ProgramState &d) {
             d.Fehler->BReadErrorClick();
             tickUntilTimeout(d, [&d] { d.Fehler->AnfrageTimer(); });
         },
         [](ProgramState &d) { return missingConfigText(d.Fehler); }},
        {"control window: the typed log interval", true, [](ProgramState &d) -> QWidget * { return d.Cont; },
         [](ProgramState &d) { d.Cont->ESaveTime->setText(QStringLiteral("2500")); },
         [](ProgramState &d) { return d.Cont->ESaveTime->text().startsWith(QStringLiteral("2500")); },
         [](ProgramState &d) {
             // Reported when the field is left.
             d.Cont->ESaveTime->setText(QStringLiteral("2500x"));
             d.Cont->ESaveTimeExit();
         },
         noMissingConfigBox},
    };
    return cases;
}

enum class BoxKind { Own, Transport, Conversion };

struct BoxCase {
    const char *name;
    BoxKind kind;
    bool returnsLater;
};

const BoxCase BoxCases[] = {
    {"own box, activation back before the box returns", BoxKind::Own, false},
    {"own box, activation back later", BoxKind::Own, true},
    {"transport box, activation back before the box returns", BoxKind::Transport, false},
    {"transport box, activation back later", BoxKind::Transport, true},
    {"conversion error, activation back before the box returns", BoxKind::Conversion, false},
    {"conversion error, activation back later", BoxKind::Conversion, true},
};

void configure(ProgramState &d)
{
    d.StationConfig.ConfigValid = 1;
    d.StationConfig.DigOutCount = 12;
    d.StationConfig.DigOutModuleCount = 2;
    d.StationConfig.AnaInCount = 4;
    d.StationConfig.AnaIn32Count = 4;
    d.StationConfig.AnaOutCount = 2;
    d.EthernetSelected = 0; // the general window in its serial view
}

size_t countBoxes(const RecordingMessageSink &sink, const QString &text)
{
    return text.isEmpty() ? 0 : size_t(std::count_if(sink.boxes.begin(), sink.boxes.end(), [&](const auto &b) {
        return b.text == text;
    }));
}

TEST(Activation, NoBoxRunsAWindowsActivationAgain)
{
    for (const WindowCase &wc : windowCases()) {
        for (const BoxCase &bc : BoxCases) {
            SCOPED_TRACE(std::string(wc.name) + " / " + bc.name);
            TestStation t;
            ProgramState &d = t.d;
            if (wc.configured)
                configure(d);
            QWidget *w = wc.window(d);
            ModalBoxSink sink;
            sink.window = w;
            sink.returnsLater = bc.returnsLater;
            d.setMessageSink(&sink);

            // Opening the window; a box it shows from there hands the activation back too.
            sendActivation(w, QEvent::WindowActivate);
            QCoreApplication::sendPostedEvents(w, QEvent::WindowActivate);
            const QString missing = wc.missingConfigText(d);
            EXPECT_EQ(countBoxes(sink, missing), missing.isEmpty() ? 0u : 1u) << "one box on opening";
            wc.mark(d);
            w->setProperty("markedHeight", w->height());
            const size_t before = sink.boxes.size() + sink.conversionErrors.size();

            switch (bc.kind) {
            case BoxKind::Own:
                wc.ownBox(d);
                break;
            case BoxKind::Transport:
                // What the transport shows when the serial port takes a frame only in part.
                ShowErrorMessage(d, d.SIOTransfer->LookupMessage(QStringLiteral("@idSST_ERR3")));
                break;
            case BoxKind::Conversion: {
                qint64 value = 0;
                StrToIntReported(d, QStringLiteral("abc"), value);
                break;
            }
            }
            QCoreApplication::sendPostedEvents(w, QEvent::WindowActivate);

            EXPECT_GT(sink.boxes.size() + sink.conversionErrors.size(), before) << "a box was shown";
            EXPECT_EQ(countBoxes(sink, missing), missing.isEmpty() ? 0u : 1u) << "no second missing-configuration box";
            EXPECT_TRUE(wc.kept(d)) << "what the user did is kept";

            // The user leaving for another window and coming back is an activation.
            sendActivation(w, QEvent::WindowDeactivate);
            sendActivation(w, QEvent::WindowActivate);
            if (missing.isEmpty())
                EXPECT_FALSE(wc.kept(d)) << "a real activation runs its steps";
            else
                EXPECT_EQ(countBoxes(sink, missing), 2u) << "a real activation checks again";
            d.setMessageSink(&t.sink);
        }
    }
}

// The window that lost the activation to a box gets it back only if the
// platform says so: when another window gets it, its next activation is real.
TEST(Activation, AReturnThatWentElsewhereIsForgotten)
{
    TestStation t;
    ProgramState &d = t.d;
    configure(d);
    TParaDig *w = d.ParaDig;
    ModalBoxSink sink;
    sink.window = w;
    d.setMessageSink(&sink);
    sink.returnsLater = true;
    sendActivation(w, QEvent::WindowActivate);
    w->Memo1->appendPlainText(QStringLiteral("line"));
    ShowErrorMessage(d, QStringLiteral("box"));
    QCoreApplication::removePostedEvents(w, QEvent::WindowActivate); // the return goes to another window
    sendActivation(d.ParaAna, QEvent::WindowActivate);
    sendActivation(w, QEvent::WindowActivate);
    EXPECT_TRUE(w->Memo1->toPlainText().isEmpty());

    // Hidden while the box is open: no return comes.
    w->show();
    sendActivation(w, QEvent::WindowActivate);
    w->Memo1->appendPlainText(QStringLiteral("line"));
    sink.returnsLater = true;
    ShowErrorMessage(d, QStringLiteral("box"));
    QCoreApplication::removePostedEvents(w, QEvent::WindowActivate);
    w->hide();
    sendActivation(w, QEvent::WindowActivate);
    EXPECT_TRUE(w->Memo1->toPlainText().isEmpty());

    // A box that takes no activation away (as when nothing was active).
    RecordingMessageSink quiet;
    d.setMessageSink(&quiet);
    sendActivation(w, QEvent::WindowActivate);
    w->Memo1->appendPlainText(QStringLiteral("line"));
    ShowErrorMessage(d, QStringLiteral("box"));
    sendActivation(w, QEvent::WindowActivate);
    EXPECT_TRUE(w->Memo1->toPlainText().isEmpty());
    d.setMessageSink(&t.sink);
}

} // namespace
