// The error window and the alarm mask window on the program's state and line;
// replies are handed to the window as they would arrive on the line.
#include "../process/StationFixture.h"
#include "OneWindow.h"
#include "TestStation.h"

#include "diagnostics/TAlarmMaske.h"
#include "diagnostics/TFehler.h"
#include "link/Transport.h"
#include "monitor/TVo3112CCC.h"

#include <QApplication>
#include <QPainter>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <vector>

namespace
{

using Slots = std::array<quint16, SlotCount>;

// Digital outputs 8 and 4, analog inputs 4 x 16 bit, a strain gauge, a 4-channel
// temperature module, a thermocouple, a voltage/temperature module, an
// analog output module and a digital input module.
constexpr Slots EveryKind{1, 7, 4, 10, 8, 14, 15, 5, 2};
constexpr Slots OnlyDigitalOutputs{1, 0, 7, 0, 0, 0, 0, 0, 0};
constexpr Slots NothingCounted{2, 6, 9, 0, 0, 0, 0, 0, 0};

struct Window {
    explicit Window(const Slots &ids = EveryKind)
    {
        w->AlarmMaske = mask; // as the program wires them
        stationfixture::LoadStation(d.StationConfig, ids);
        w->FormActivate();
        t.sink.clear();
    }
    std::vector<int> request() const { return std::vector<int>(d.TxFrame.begin() + 6, d.TxFrame.begin() + 12); }
    // A read reply with these registers, then the reply check.
    void words(const std::vector<quint16> &values)
    {
        std::vector<quint8> pdu = {8, 4, quint8(2 * values.size())};
        for (quint16 v : values) {
            pdu.push_back(quint8(v >> 8));
            pdu.push_back(quint8(v));
        }
        HandReply(d, pdu);
        w->AnfrageTimer();
    }
    void zeros(int n) { words(std::vector<quint16>(size_t(n), 0)); }
    // Runs the reply check until the request times out.
    void timeOut(QTimer *timer)
    {
        for (int tick = 0; tick <= d.RetryLimit; ++tick)
            timer == w->Anfrage ? w->AnfrageTimer() : w->Timer1Timer();
    }
    QString modul(int row, int column) const { return TFehler::CellText(w->SGModulFehler, row, column); }
    QString koppler(int row) const { return TFehler::CellText(w->SGKopplerFehler, row, 1); }
    bool idle() const { return w->ReadStep == 0 && !w->Anfrage->isActive() && !w->Timer1->isActive(); }

    OneWindow<TFehler> t;
    Deklarat &d = t.d;
    TFehler *w = t.w;
    // The mask window the error window opens, created after it as at start-up.
    std::unique_ptr<TAlarmMaske> maskWindow = std::make_unique<TAlarmMaske>(d);
    TAlarmMaske *mask = maskWindow.get();
};

std::vector<int> read(int start, int quantity)
{
    return {8, 4, start >> 8, start & 0xFF, quantity >> 8, quantity & 0xFF};
}

TEST(FehlerWindow, ControlsAndTextsInBothLanguages)
{
    OneWindow<TFehler> t;
    TFehler *w = t.w;
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->objectName(), QStringLiteral("TFehler"));
    for (const char *name : {"SGModulFehler", "SGKopplerFehler", "BReadError", "BResetError", "Cancel",
                             "BSetzeAlarmMask", "BReadAlarmMask", "BSendAlarmMask", "Anfrage", "Timer1"})
        EXPECT_NE(w->findChild<QObject *>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Fehler"));
    EXPECT_EQ(w->BReadError->text(), QStringLiteral("Fehler lesen"));
    EXPECT_EQ(w->BResetError->text(), QStringLiteral("Fehler zurücksetzen"));
    EXPECT_EQ(w->Cancel->text(), QStringLiteral("Zurück"));
    EXPECT_EQ(w->BSetzeAlarmMask->text(), QStringLiteral("Setze Alarmmaske"));
    EXPECT_EQ(w->BReadAlarmMask->text(), QStringLiteral("Lese Alarmmaske"));
    EXPECT_EQ(w->BSendAlarmMask->text(), QStringLiteral("Sende Alarmmaske"));
    SelectLanguage(t.d, 1);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Error"));
    EXPECT_EQ(w->BReadError->text(), QStringLiteral("Read Error Register"));
    EXPECT_EQ(w->BResetError->text(), QStringLiteral("Reset Error"));
    EXPECT_EQ(w->Cancel->text(), QStringLiteral("Back"));
    EXPECT_EQ(w->BSetzeAlarmMask->text(), QStringLiteral("Set Alarm Mask"));
    EXPECT_EQ(w->BReadAlarmMask->text(), QStringLiteral("Read Alarm Mask"));
    EXPECT_EQ(w->BSendAlarmMask->text(), QStringLiteral("Send Alarm Mask"));
}

TEST(FehlerWindow, MenuOpensItAndBackClosesIt)
{
    TestStation t;
    t.d.Vo3112CCC->Fehler1Click();
    EXPECT_TRUE(t.d.Fehler->isVisible());
    t.d.Fehler->CancelClick();
    EXPECT_FALSE(t.d.Fehler->isVisible());
}

TEST(FehlerWindow, ActivationWithoutConfigurationReportsAndLeavesTheGrids)
{
    for (int language : {0, 1}) {
        SCOPED_TRACE(language);
        Window x(EveryKind);
        x.words({}); // nothing outstanding: a stray check changes nothing
        const int rows = x.w->SGModulFehler->rowCount();
        x.w->SGModulFehler->item(3, 1)->setText(QStringLiteral("alt"));
        SelectLanguage(x.d, quint8(language));
        x.d.StationConfig.ConfigValid = 0;
        x.d.StationConfig.AnaInCount = 30;
        x.w->FormActivate();
        ASSERT_EQ(x.t.sink.boxes.size(), size_t(1));
        const MessageRequest &box = x.t.sink.boxes[0];
        EXPECT_EQ(box.kind, MessageKind::Error);
        EXPECT_EQ(box.caption, language == 0 ? QStringLiteral("Fehler") : QStringLiteral("Error"));
        EXPECT_EQ(box.text, language == 0 ? QStringLiteral("Keine Konfiguration geladen")
                                          : QStringLiteral("No active Configuration"));
        EXPECT_EQ(x.w->SGModulFehler->rowCount(), rows);
        EXPECT_EQ(x.modul(3, 1), QStringLiteral("alt"));
    }
}

TEST(FehlerWindow, ActivationBuildsBothGrids)
{
    Window x(EveryKind); // 14 analog input channels, 12 digital output channels
    TFehler *w = x.w;
    const QTableWidget *m = w->SGModulFehler;
    const QTableWidget *k = w->SGKopplerFehler;
    ASSERT_EQ(m->columnCount(), 5);
    ASSERT_EQ(m->rowCount(), 15);
    const int moduleWidths[] = {95, 130, 130, 130, 130};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(m->columnWidth(c), moduleWidths[c]) << c;
    EXPECT_EQ(w->PLeft->width(), 95 + 4 * 130 + 2 * 4 + 7);
    const char16_t *headings[] = {u"Modul / Kanal", u"analoger Eingang", u"Kompensation", u"analoger Ausgang",
                                  u"digitaler Ausgang"};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(x.modul(0, c), QString::fromUtf16(headings[c]));
    for (int r = 1; r <= 14; ++r) {
        EXPECT_EQ(x.modul(r, 0), QString::number(r));
        for (int c = 1; c < 5; ++c)
            EXPECT_EQ(x.modul(r, c), QStringLiteral(" ")) << r << " " << c;
    }

    ASSERT_EQ(k->columnCount(), 3);
    ASSERT_EQ(k->rowCount(), 17);
    EXPECT_EQ(k->columnWidth(0), 75);
    EXPECT_EQ(k->columnWidth(1), 180);
    EXPECT_EQ(k->columnWidth(2), 50);
    EXPECT_EQ(TFehler::CellText(k, 0, 0), QStringLiteral("Nummer"));
    EXPECT_EQ(TFehler::CellText(k, 0, 1), QStringLiteral("Fehler"));
    EXPECT_EQ(TFehler::CellText(k, 0, 2), QStringLiteral("Reset"));
    for (int r = 1; r <= 16; ++r) {
        EXPECT_EQ(TFehler::CellText(k, r, 0), QString::number(r));
        EXPECT_EQ(TFehler::CellText(k, r, 2), QString());
    }
    EXPECT_TRUE(x.t.sink.boxes.empty());

    // A station with more analog outputs than anything else; the headings
    // follow the language at the next activation.
    SelectLanguage(x.d, 1);
    x.d.StationConfig.AnaOutCount = 20;
    w->FormActivate();
    EXPECT_EQ(m->rowCount(), 21);
    EXPECT_EQ(x.modul(0, 0), QStringLiteral("Modul / Channel"));
    EXPECT_EQ(x.modul(0, 4), QStringLiteral("digital Output"));
    EXPECT_EQ(TFehler::CellText(k, 0, 0), QStringLiteral("Number"));
    EXPECT_EQ(TFehler::CellText(k, 0, 1), QStringLiteral("Error"));
}

TEST(FehlerWindow, ReadSequenceRequestsAndSkipsForEachLayout)
{
    struct Case {
        const char *name;
        Slots ids;
        std::vector<std::vector<int>> requests;
    };
    const Case cases[] = {
        {"only digital output modules", OnlyDigitalOutputs, {read(0x1500, 1), read(0x1570, 2)}},
        {"nothing counted", NothingCounted, {read(0x1500, 1)}},
        {"every kind",
         EveryKind,
         {read(0x1500, 1), read(0x1510, 14), read(0x1530, 7), read(0x1550, 4), read(0x1570, 2)}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Window x(c.ids);
        const quint16 id = x.d.TransactionId;
        x.w->BReadErrorClick();
        for (size_t i = 0; i < c.requests.size(); ++i) {
            SCOPED_TRACE(i);
            ASSERT_EQ(x.request(), c.requests[i]);
            EXPECT_EQ(x.d.TxLength, 12);
            EXPECT_EQ(x.d.TransactionId, quint16(id + i + 1));
            EXPECT_TRUE(x.w->Anfrage->isActive());
            EXPECT_EQ(x.w->Anfrage->interval(), x.d.ResponseInterval);
            x.zeros(c.requests[i][5]);
        }
        EXPECT_TRUE(x.idle());
        EXPECT_EQ(x.d.TransactionId, quint16(id + c.requests.size()));
        EXPECT_EQ(x.d.Link->line().state(), LineQueue::State::Idle);
        EXPECT_TRUE(x.t.sink.boxes.empty());
    }
}

TEST(FehlerWindow, CouplerWordRowsThenAllEmpty)
{
    Window x(NothingCounted);
    x.w->BReadErrorClick();
    x.words({0x8005});
    ASSERT_TRUE(x.idle());
    for (int row = 1; row <= 16; ++row) {
        SCOPED_TRACE(row);
        if (row == 1)
            EXPECT_EQ(x.koppler(row), QStringLiteral("Fehler digitale Eingänge"));
        else if (row == 3)
            EXPECT_EQ(x.koppler(row), QStringLiteral("Fehler analoge Eingänge"));
        else if (row == 16)
            EXPECT_EQ(x.koppler(row), QStringLiteral("neue Modulkonfiguration"));
        else
            EXPECT_EQ(x.koppler(row), QString());
    }
    // An activation keeps the coupler's texts.
    x.w->FormActivate();
    EXPECT_EQ(x.koppler(16), QStringLiteral("neue Modulkonfiguration"));
    x.w->BReadErrorClick();
    x.words({0});
    for (int row = 1; row <= 16; ++row)
        EXPECT_EQ(x.koppler(row), QString()) << row;
}

TEST(FehlerWindow, DigitalOutputModuleWordsInBothLanguages)
{
    for (int language : {0, 1}) {
        SCOPED_TRACE(language);
        Window x(OnlyDigitalOutputs);
        SelectLanguage(x.d, quint8(language));
        x.w->BReadErrorClick();
        x.words({0});
        x.words({0x0031, 0x0004});
        ASSERT_TRUE(x.idle());
        EXPECT_EQ(x.modul(1, 4), language == 0 ? QStringLiteral("Leerlauf Kanal 1/2, 3/4;  Kurzschluß Kanal 1/2")
                                               : QStringLiteral("Break Channel 1/2, 3/4;  Shortcut Channel 1/2"));
        EXPECT_EQ(x.modul(2, 4),
                  language == 0 ? QStringLiteral("Kurzschluß Kanal 5/6") : QStringLiteral("Shortcut Channel 5/6"));
        EXPECT_EQ(x.modul(3, 4), QStringLiteral(" "));
    }
}

TEST(FehlerWindow, ChannelCodesFillTheirColumns)
{
    Window x(EveryKind);
    x.w->BReadErrorClick();
    x.words({0});
    // Analog inputs: 3 overflow, 1 and 10 leave the cell, 0 Ok.
    std::vector<quint16> inputs(14, 0);
    inputs[0] = 3;
    inputs[1] = 1;
    inputs[2] = 10;
    inputs[13] = 5;
    x.words(inputs);
    x.words({0, 7, 0, 0, 0, 0, 0}); // compensation
    x.words({3, 9, 1, 0});          // analog outputs
    x.words({0, 0x80});             // digital output modules
    ASSERT_TRUE(x.idle());
    EXPECT_EQ(x.modul(1, 1), QStringLiteral("Wert Überlauf"));
    EXPECT_EQ(x.modul(2, 1), QStringLiteral(" "));
    EXPECT_EQ(x.modul(3, 1), QStringLiteral(" "));
    EXPECT_EQ(x.modul(4, 1), QStringLiteral("Ok"));
    EXPECT_EQ(x.modul(14, 1), QStringLiteral("Wert Unterlauf"));
    EXPECT_EQ(x.modul(1, 2), QStringLiteral("Ok"));
    EXPECT_EQ(x.modul(2, 2), QStringLiteral("Übertragungsfehler"));
    EXPECT_EQ(x.modul(8, 2), QStringLiteral(" ")); // 7 compensation channels
    EXPECT_EQ(x.modul(1, 3), QStringLiteral("Kalibrationsfehler"));
    EXPECT_EQ(x.modul(2, 3), QStringLiteral("Übertragungsfehler"));
    EXPECT_EQ(x.modul(3, 3), QStringLiteral(" "));
    EXPECT_EQ(x.modul(1, 4), QStringLiteral("Ok"));
    EXPECT_EQ(x.modul(2, 4), QStringLiteral("Leerlauf Kanal 7/8"));

    // Code 1 leaves the overflow of the last read; an activation blanks.
    x.w->BReadErrorClick();
    x.words({0});
    inputs[0] = 1;
    x.words(inputs);
    EXPECT_EQ(x.modul(1, 1), QStringLiteral("Wert Überlauf"));
    EXPECT_EQ(x.w->ReadStep, 3);
    x.w->FormActivate();
    EXPECT_EQ(x.modul(1, 1), QStringLiteral(" "));
}

TEST(FehlerWindow, ExceptionToTheAnalogInputStepEndsTheSequence)
{
    Window x(EveryKind);
    x.w->BReadErrorClick();
    x.words({0x0001});
    ASSERT_EQ(x.request(), read(0x1510, 14));
    const quint16 id = x.d.TransactionId;
    HandReply(x.d, {8, 0x84, 2});
    x.w->AnfrageTimer();
    ASSERT_EQ(x.t.sink.boxes.size(), size_t(1));
    EXPECT_EQ(x.t.sink.boxes[0].caption, QStringLiteral("Fehler"));
    EXPECT_EQ(x.t.sink.boxes[0].text, QStringLiteral(" Fehler Illegal Data Adress"));
    EXPECT_TRUE(x.idle());
    EXPECT_EQ(x.d.TransactionId, id);
    EXPECT_EQ(x.request(), read(0x1510, 14));
    EXPECT_EQ(x.koppler(1), QStringLiteral("Fehler digitale Eingänge"));
    EXPECT_EQ(x.modul(1, 1), QStringLiteral(" "));
    x.w->AnfrageTimer(); // nothing outstanding any more
    EXPECT_EQ(x.t.sink.boxes.size(), size_t(1));

    // Other codes: the bare prefix.
    x.w->BReadErrorClick();
    HandReply(x.d, {8, 0x84, 4});
    x.w->AnfrageTimer();
    ASSERT_EQ(x.t.sink.boxes.size(), size_t(2));
    EXPECT_EQ(x.t.sink.boxes[1].text, QStringLiteral(" Fehler "));
}

TEST(FehlerWindow, NoReplyTimesOutAfterTheRetries)
{
    Window x(EveryKind);
    x.d.RetryLimit = 2;
    x.w->BReadErrorClick();
    x.words({0});
    for (int tick = 0; tick < 2; ++tick) {
        x.w->AnfrageTimer();
        EXPECT_TRUE(x.w->Anfrage->isActive());
        EXPECT_EQ(x.w->ErrorRetries, tick + 1);
    }
    EXPECT_TRUE(x.t.sink.boxes.empty());
    x.w->AnfrageTimer();
    ASSERT_EQ(x.t.sink.boxes.size(), size_t(1));
    EXPECT_EQ(x.t.sink.boxes[0].text, QStringLiteral("Timeout"));
    EXPECT_TRUE(x.idle());
}

TEST(FehlerWindow, OnlyTheWindowsOwnReplyIsDecoded)
{
    Window x(EveryKind);
    x.w->BReadErrorClick();
    // A process data reply of the running cycle and a read reply of another
    // length arrive first: neither is this window's.
    HandReply(x.d, {8, 0x17, 4, 0x80, 0x05, 0x00, 0x03});
    HandReply(x.d, {8, 0x04, 4, 0x80, 0x05, 0x00, 0x03});
    x.w->AnfrageTimer();
    EXPECT_EQ(x.w->ReadStep, 1);
    EXPECT_TRUE(x.w->Anfrage->isActive());
    EXPECT_EQ(x.koppler(1), QString());
    x.words({0x4000});
    EXPECT_EQ(x.koppler(15), QStringLiteral("Slot IDs unbestimmt"));
    EXPECT_EQ(x.koppler(1), QString());
    EXPECT_EQ(x.w->ReadStep, 2);
}

TEST(FehlerWindow, CountsLargerThanTheGridWriteOnlyItsRows)
{
    Window x(NothingCounted);
    x.d.StationConfig.AnaInCount = 2;
    x.w->FormActivate();                // two rows
    x.d.StationConfig.AnaInCount = 300; // read since, without an activation
    x.w->BReadErrorClick();
    x.words({0});
    ASSERT_EQ(x.request(), read(0x1510, 125));
    x.words(std::vector<quint16>(125, 3));
    EXPECT_TRUE(x.idle());
    EXPECT_EQ(x.w->SGModulFehler->rowCount(), 3);
    EXPECT_EQ(x.modul(1, 1), QStringLiteral("Wert Überlauf"));
    EXPECT_EQ(x.modul(2, 1), QStringLiteral("Wert Überlauf"));
}

TEST(FehlerWindow, ResetAfterAReadIsOnlyChecked)
{
    Window x(OnlyDigitalOutputs);
    x.w->BReadErrorClick();
    x.words({0x0003});
    x.words({0x0010, 0});
    const quint16 id = x.d.TransactionId;
    x.w->BResetErrorClick();
    EXPECT_EQ(x.request(), (std::vector<int>{8, 6, 0x15, 0x00, 0xFF, 0xFF}));
    EXPECT_EQ(x.d.TxLength, 12);
    EXPECT_EQ(x.d.TransactionId, quint16(id + 1));
    EXPECT_TRUE(x.w->Anfrage->isActive());
    HandReply(x.d, {8, 6, 0x15, 0x00, 0xFF, 0xFF});
    x.w->AnfrageTimer();
    EXPECT_TRUE(x.idle());
    EXPECT_TRUE(x.t.sink.boxes.empty());
    EXPECT_EQ(x.koppler(1), QStringLiteral("Fehler digitale Eingänge"));
    EXPECT_EQ(x.koppler(2), QStringLiteral("Fehler digitale Ausgänge"));
    EXPECT_EQ(x.modul(1, 4), QStringLiteral("Leerlauf Kanal 1/2"));
    EXPECT_EQ(x.modul(2, 4), QStringLiteral("Ok"));

    // Refused and unanswered resets are reported.
    x.w->BResetErrorClick();
    HandReply(x.d, {8, 0x86, 3});
    x.w->AnfrageTimer();
    x.w->BResetErrorClick();
    x.timeOut(x.w->Anfrage);
    ASSERT_EQ(x.t.sink.boxes.size(), size_t(2));
    EXPECT_EQ(x.t.sink.boxes[0].text, QStringLiteral(" Fehler Illegal Data Value"));
    EXPECT_EQ(x.t.sink.boxes[1].text, QStringLiteral("Timeout"));
    EXPECT_TRUE(x.idle());
}

TEST(FehlerWindow, ResetDuringASequenceEndsIt)
{
    Window x(EveryKind);
    x.w->BReadErrorClick();
    x.words({0});
    ASSERT_EQ(x.w->ReadStep, 2);
    x.w->BResetErrorClick();
    EXPECT_EQ(x.w->ReadStep, 0);
    // The reset's reply is never taken for analog input codes.
    HandReply(x.d, {8, 6, 0x15, 0x00, 0xFF, 0xFF});
    x.w->AnfrageTimer();
    EXPECT_TRUE(x.idle());
    EXPECT_EQ(x.modul(1, 1), QStringLiteral(" "));
    EXPECT_TRUE(x.t.sink.boxes.empty());
}

TEST(AlarmMaskWindow, CheckBoxesInBitOrderBetweenEmptyPanels)
{
    OneWindow<TAlarmMaske> t;
    TAlarmMaske *m = t.w;
    ASSERT_NE(m, nullptr);
    const char *names[16] = {"CBErrDigIn",  "CBErrDigOut",  "CBErrAnaIn",    "CBErrAnaOut",
                             "CBErrModEep", "CBErrWrongIp", "CBErrRes1",     "CBErrCoupler",
                             "CBErrLin",    "CBErrEepNew",  "CBErrWriteEep", "CBErrReadEep",
                             "CBErrRes2",   "CBErrRes3",    "CBErrId",       "CBErrNewConfig"};
    auto *panels = qobject_cast<QVBoxLayout *>(m->layout());
    ASSERT_NE(panels, nullptr);
    EXPECT_EQ(panels->itemAt(0)->widget(), m->PTop);
    EXPECT_EQ(panels->itemAt(1)->widget(), m->PMask);
    EXPECT_EQ(panels->itemAt(2)->widget(), m->PBottom);
    EXPECT_TRUE(m->PTop->children().isEmpty());
    EXPECT_TRUE(m->PBottom->children().isEmpty());
    for (int bit = 0; bit < 16; ++bit) {
        SCOPED_TRACE(bit);
        QCheckBox *box = m->BitBoxes[size_t(bit)];
        EXPECT_EQ(box->objectName(), QString::fromLatin1(names[bit]));
        EXPECT_EQ(box->parentWidget(), m->PMask);
        EXPECT_EQ(m->PMask->layout()->itemAt(bit)->widget(), box);
        EXPECT_EQ(box->isEnabled(), bit != 6 && bit != 12 && bit != 13);
        EXPECT_FALSE(box->isChecked());
    }
    EXPECT_EQ(m->windowTitle(), QStringLiteral("Alarm Maske"));
    EXPECT_EQ(m->CBErrDigIn->text(), QStringLiteral("Fehler in den digtalen Eingangskanälen"));
    EXPECT_EQ(m->CBErrWriteEep->text(), QStringLiteral("EEPROM kann nicht feherfrei beschrieben werden"));
    EXPECT_EQ(m->CBErrId->text(), QStringLiteral("Kennung der Modulle konnte nicht ausgelesen werden"));
    EXPECT_EQ(m->CBErrRes2->text(), QStringLiteral("Reserviert"));
    SelectLanguage(t.d, 1);
    EXPECT_EQ(m->windowTitle(), QStringLiteral("Error"));
    EXPECT_EQ(m->CBErrLin->text(), QStringLiteral("Wrong list of thermal linearisation in Coupler"));
    EXPECT_EQ(m->CBErrModEep->text(), QStringLiteral("Modul - EEPROM read error"));
    EXPECT_EQ(m->CBErrRes3->text(), QStringLiteral("Reserved"));
    EXPECT_EQ(m->CBErrNewConfig->text(), QStringLiteral("New configuration"));
}

TEST(AlarmMaskWindow, ReadUncheckSend)
{
    Window x(NothingCounted);
    EXPECT_EQ(x.mask->AlarmMaskWord, 0);
    x.w->BSetzeAlarmMaskClick();
    EXPECT_TRUE(x.mask->isVisible());
    EXPECT_EQ(x.d.TxLength, 0); // showing it sends nothing
    x.mask->close();

    const quint16 id = x.d.TransactionId;
    x.w->BReadAlarmMaskClick();
    EXPECT_EQ(x.request(), read(0x1501, 1));
    EXPECT_EQ(x.d.TransactionId, quint16(id + 1));
    EXPECT_EQ(x.w->ReadStep, 6);
    EXPECT_TRUE(x.mask->isVisible());
    x.words({0x8041});
    EXPECT_TRUE(x.idle());
    EXPECT_EQ(x.mask->AlarmMaskWord, 0x8041);
    for (int bit = 0; bit < 16; ++bit)
        EXPECT_EQ(x.mask->BitBoxes[size_t(bit)]->isChecked(), bit == 0 || bit == 15) << bit;

    x.mask->CBErrDigIn->setChecked(false);
    x.w->BSendAlarmMaskClick();
    EXPECT_FALSE(x.mask->isVisible());
    EXPECT_EQ(x.request(), (std::vector<int>{8, 6, 0x15, 0x01, 0x80, 0x40}));
    EXPECT_EQ(x.d.TxLength, 12);
    EXPECT_EQ(x.d.TransactionId, quint16(id + 1)); // not advanced for the write
    EXPECT_EQ(x.mask->AlarmMaskWord, 0x8040);
    EXPECT_TRUE(x.w->Timer1->isActive());
    EXPECT_EQ(x.w->Timer1->interval(), x.d.ResponseInterval);
    HandReply(x.d, {8, 6, 0x15, 0x01, 0x80, 0x40});
    x.w->Timer1Timer();
    EXPECT_TRUE(x.idle());
    EXPECT_TRUE(x.t.sink.boxes.empty());
}

TEST(AlarmMaskWindow, SendingBeforeAnyReadSendsTheReservedBitsAsZero)
{
    Window x(NothingCounted);
    for (QCheckBox *box : x.mask->BitBoxes)
        box->setChecked(true); // the disabled ones too, as a program could
    x.w->BSendAlarmMaskClick();
    EXPECT_EQ(x.request(), (std::vector<int>{8, 6, 0x15, 0x01, 0xCF, 0xBF}));
}

TEST(AlarmMaskWindow, SendingClosesTheMaskEvenWhenTheWriteTimesOut)
{
    Window x(NothingCounted);
    x.w->BSetzeAlarmMaskClick();
    ASSERT_TRUE(x.mask->isVisible());
    x.w->BSendAlarmMaskClick();
    EXPECT_FALSE(x.mask->isVisible());
    for (int tick = 0; tick < x.d.RetryLimit; ++tick) {
        x.w->Timer1Timer();
        EXPECT_EQ(x.w->ErrorRetries, tick + 1);
    }
    EXPECT_TRUE(x.t.sink.boxes.empty());
    x.w->Timer1Timer();
    ASSERT_EQ(x.t.sink.boxes.size(), size_t(1));
    EXPECT_EQ(x.t.sink.boxes[0].caption, QStringLiteral("Fehler"));
    EXPECT_EQ(x.t.sink.boxes[0].text, QStringLiteral("Timeout"));
    EXPECT_FALSE(x.mask->isVisible());
    EXPECT_TRUE(x.idle());

    // A refused write names the exception.
    x.w->BSendAlarmMaskClick();
    HandReply(x.d, {8, 0x86, 2});
    x.w->Timer1Timer();
    ASSERT_EQ(x.t.sink.boxes.size(), size_t(2));
    EXPECT_EQ(x.t.sink.boxes[1].text, QStringLiteral(" Fehler Illegal Data Adress"));
}

TEST(AlarmMaskWindow, FailedReadLeavesMaskAndBoxes)
{
    Window x(NothingCounted);
    x.w->BReadAlarmMaskClick();
    x.words({0x0006});
    ASSERT_TRUE(x.mask->CBErrDigOut->isChecked());
    x.w->BReadAlarmMaskClick();
    HandReply(x.d, {8, 0x84, 2});
    x.w->AnfrageTimer();
    x.w->BReadAlarmMaskClick();
    x.timeOut(x.w->Anfrage);
    ASSERT_EQ(x.t.sink.boxes.size(), size_t(2));
    EXPECT_EQ(x.t.sink.boxes[0].text, QStringLiteral(" Fehler Illegal Data Adress"));
    EXPECT_EQ(x.t.sink.boxes[1].text, QStringLiteral("Timeout"));
    EXPECT_EQ(x.mask->AlarmMaskWord, 0x0006);
    EXPECT_TRUE(x.mask->CBErrDigOut->isChecked());
    EXPECT_TRUE(x.mask->CBErrAnaIn->isChecked());
    EXPECT_TRUE(x.idle());
}

TEST(AlarmMaskWindow, BothTimersShareTheRetryCount)
{
    Window x(NothingCounted);
    x.d.RetryLimit = 5;
    x.w->BReadAlarmMaskClick();
    x.w->AnfrageTimer();
    x.w->AnfrageTimer();
    EXPECT_EQ(x.w->ErrorRetries, 2);
    // The write takes over the line and the count; the read is given up.
    x.w->BSendAlarmMaskClick();
    EXPECT_EQ(x.w->ErrorRetries, 0);
    EXPECT_FALSE(x.w->Anfrage->isActive());
    EXPECT_EQ(x.w->ReadStep, 0);
    x.w->AnfrageTimer(); // a late tick of the read's timer checks nothing
    EXPECT_EQ(x.w->ErrorRetries, 0);
    x.w->Timer1Timer();
    EXPECT_EQ(x.w->ErrorRetries, 1);
    HandReply(x.d, {8, 6, 0x15, 0x01, 0, 0});
    x.w->Timer1Timer();
    EXPECT_TRUE(x.idle());
    EXPECT_TRUE(x.t.sink.boxes.empty());
}

TEST(FehlerWindow, LeavingAGridRemovesItsSelection)
{
    Window x(EveryKind);
    x.w->show();
    QTableWidget *m = x.w->SGModulFehler;
    QTableWidget *k = x.w->SGKopplerFehler;
    m->setCurrentCell(2, 1);
    k->setCurrentCell(3, 1);
    ASSERT_FALSE(m->selectionModel()->selectedIndexes().isEmpty());
    ASSERT_FALSE(k->selectionModel()->selectedIndexes().isEmpty());
    x.w->SGModulFehlerExit();
    x.w->SGKopplerFehlerExit();
    EXPECT_TRUE(m->selectionModel()->selectedIndexes().isEmpty());
    EXPECT_TRUE(k->selectionModel()->selectedIndexes().isEmpty());
    // Focus moving from a grid to a button of the window is the grid's exit.
    x.w->activateWindow();
    m->setFocus();
    m->setCurrentCell(1, 2);
    ASSERT_FALSE(m->selectionModel()->selectedIndexes().isEmpty());
    emit qApp->focusChanged(m, x.w->BReadError);
    EXPECT_TRUE(m->selectionModel()->selectedIndexes().isEmpty());
}

// Where a cell's text left ink: its first pixel row and leftmost and
// rightmost columns (first < 0: none), gridlines at the right and bottom left out.
struct Ink {
    int first = -1;
    int left = 0;
    int right = 0;
};

Ink inkIn(const QImage &image, const QRect &cell, const QColor &background)
{
    Ink ink;
    ink.left = cell.right();
    ink.right = cell.left();
    for (int y = cell.top(); y < cell.bottom(); ++y)
        for (int x = cell.left(); x < cell.right(); ++x)
            if (image.pixelColor(x, y) != background) {
                if (ink.first < 0)
                    ink.first = y;
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
            }
    return ink;
}

QImage rendered(QTableWidget *grid)
{
    QImage image(grid->viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    grid->viewport()->render(&image);
    return image;
}

TEST(FehlerWindow, CellsPaintTheirStateAndTextFourPixelsDown)
{
    Window x(OnlyDigitalOutputs);
    x.w->show();
    x.w->BReadErrorClick();
    x.words({0x0020});
    x.words({0x0031, 0});
    QTableWidget *k = x.w->SGKopplerFehler;
    ASSERT_NE(k->item(1, 1), nullptr); // every row of the word is written, set or clear
    k->item(1, 1)->setText(QStringLiteral("WWWW"));
    k->setCurrentCell(1, 1);
    const QPalette palette = k->palette();
    const QRect cell = k->visualItemRect(k->item(1, 1));
    const QRect fixed = k->visualItemRect(k->item(0, 1));
    const QImage image = rendered(k);
    // Selected cell: highlight; heading: button face; an unselected cell: base.
    EXPECT_EQ(image.pixelColor(cell.left() + 1, cell.top() + 1), palette.color(QPalette::Highlight));
    EXPECT_EQ(image.pixelColor(fixed.left() + 1, fixed.top() + 1), palette.color(QPalette::Button));
    const QRect other = k->visualItemRect(k->item(2, 1));
    EXPECT_EQ(image.pixelColor(other.left() + 1, other.top() + 1), palette.color(QPalette::Base));
    // The text: nothing in the top four pixel rows, something below them, centred.
    const Ink ink = inkIn(image, cell, palette.color(QPalette::Highlight));
    ASSERT_GE(ink.first, 0);
    EXPECT_GE(ink.first, cell.top() + 4);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, cell.center().x(), 3.0);

    // A text wider than its column keeps its beginning inside the cell.
    QTableWidget *m = x.w->SGModulFehler;
    ASSERT_EQ(x.modul(1, 4), QStringLiteral("Leerlauf Kanal 1/2, 3/4;  Kurzschluß Kanal 1/2"));
    EXPECT_EQ(m->item(1, 4)->toolTip(), x.modul(1, 4));
    const QRect wide = m->visualItemRect(m->item(1, 4));
    ASSERT_GT(QFontMetrics(m->font()).horizontalAdvance(x.modul(1, 4)), wide.width());
    const Ink clipped = inkIn(rendered(m), wide, palette.color(QPalette::Base));
    ASSERT_GE(clipped.first, 0);
    EXPECT_GE(clipped.left, wide.left() + 2);
    EXPECT_LE(clipped.left, wide.left() + 8);
    EXPECT_LE(clipped.right, wide.right() - 2);
}

} // namespace
