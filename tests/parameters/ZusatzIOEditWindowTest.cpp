// The additional I/O editor as the overview opens it for a slot: title,
// channel and object tabs, the digital and mixed object panels, functions from
// the function code file, working copies, and the read and write of every
// module kind's parameter block.
#include "ParameterFixture.h"

#include "parameters/TParameter.h"
#include "parameters/TZusatzIOEdit.h"

#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace
{

using parameterfixture::ParameterOverview;

// Slots: 1, 2 digital outputs; 3, 4, 5 digital inputs; 6 analog input
// (4 channels); 7 thermocouple; 8, 9 strain gauges.
struct IoEditor : ParameterOverview {
    explicit IoEditor(const QByteArray &funcCode = parameterfixture::FuncCodeFile,
                      std::initializer_list<quint16> slotIds = {1, 1, 2, 2, 2, 4, 14, 10, 10})
        : ParameterOverview(funcCode)
    {
        configure(slotIds);
        overview->DefaultDataLaden();
    }
    ~IoEditor()
    {
        if (QDialog *editor = overview->OpenEditor())
            editor->reject();
    }
    TZusatzIOEdit *open(int slot)
    {
        overview->SGParamDblClick(slot + 1, 1);
        w = qobject_cast<TZusatzIOEdit *>(overview->OpenEditor());
        return w;
    }
    QStringList tabs(const QTabBar *bar) const
    {
        QStringList names;
        for (int i = 0; i < bar->count(); ++i)
            names << bar->tabText(i);
        return names;
    }
    bool objectEditorShown() const { return w->PObjectEditor->isVisibleTo(w); }
    std::vector<int> tx(int from, int count) const
    {
        return std::vector<int>(d.TxFrame.begin() + from, d.TxFrame.begin() + from + count);
    }
    const ObjectEntry &stored(int slot, int channel, int e) const
    {
        const StationPosition &p = d.StationPositions[size_t(slot)];
        return (channel == 0 ? *p.ModuleParams : *p.ChannelParams[size_t(channel)]).ObjectEntries[size_t(e)];
    }
    const ObjectEntry &working(int e) { return w->CurrentRecord()->ObjectEntries[size_t(e)]; }
    // A read reply carrying `registers`.
    void readReply(const std::vector<quint16> &registers)
    {
        std::vector<quint8> pdu = {8, 4, quint8(2 * registers.size())};
        for (quint16 r : registers)
            pdu.insert(pdu.end(), {quint8(r >> 8), quint8(r)});
        HandReply(d, pdu);
    }
    void writeReply() { HandReply(d, {8, 0x10, d.TxFrame[8], d.TxFrame[9], d.TxFrame[10], d.TxFrame[11]}); }

    TZusatzIOEdit *w = nullptr;
};

TEST(ZusatzIOEditWindow, DigitalModuleOpensWithItsObjects)
{
    IoEditor e;
    ASSERT_NE(e.open(2), nullptr);
    EXPECT_EQ(e.d.SelectedPosition, 2);
    EXPECT_EQ(e.w->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(e.w->windowTitle(), QStringLiteral("Eigenschaften - Knoten: 1, Slot: 2 - NX 651 8 x DO 24 V DC"));
    EXPECT_EQ(e.w->size(), QSize(575, 391));
    EXPECT_TRUE(e.w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(e.w->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(e.w->TCKanal->count(), 0);
    EXPECT_EQ(e.tabs(e.w->TCCanObject), (QStringList{"Bits", "Zahl", "Versatz", "Anders"}));
    EXPECT_EQ(e.w->TCCanObject->currentIndex(), 0);
    // Function 0, the first offered to digital outputs, shows the objects.
    EXPECT_EQ(e.w->FunctionTable, (std::vector<quint8>{0}));
    EXPECT_EQ(e.w->CBFunction->currentText(), QStringLiteral("Standardbetrieb"));
    EXPECT_FALSE(e.w->CBFunction->isVisibleTo(e.w));
    EXPECT_TRUE(e.objectEditorShown());
    EXPECT_EQ(e.w->CurrentRecord()->Function(), 0);
    EXPECT_EQ(e.d.StationPositions[2].ModuleParams->Function(), 255) << "the stored record until Schreiben";
    EXPECT_EQ(e.w->OKBtn->text(), QStringLiteral("Schreiben"));
}

TEST(ZusatzIOEditWindow, EnglishTitleAndChannelTabs)
{
    ParameterOverview s;
    SelectLanguage(s.d, 1);
    s.configure({4});
    s.overview->DefaultDataLaden();
    s.overview->SGParamDblClick(2, 1);
    auto *w = qobject_cast<TZusatzIOEdit *>(s.overview->OpenEditor());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Properties - Node: 1, Slot: 1 - NX 621-0 4 x AI Strom"));
    ASSERT_EQ(w->TCKanal->count(), 4);
    EXPECT_EQ(w->TCKanal->tabText(0), QStringLiteral("Channel 1"));
    EXPECT_EQ(w->TCKanal->tabText(3), QStringLiteral("Channel 4"));
    EXPECT_EQ(w->CBFunction->itemText(0), QStringLiteral("Standard operation"));
    EXPECT_EQ(w->CancelBtn->text(), QStringLiteral("Back"));
    w->reject();
}

TEST(ZusatzIOEditWindow, DigitalObjectPanel)
{
    IoEditor e;
    e.open(1);
    EXPECT_TRUE(e.w->PDigObj->isVisibleTo(e.w));
    EXPECT_FALSE(e.w->PMixObj->isVisibleTo(e.w));
    EXPECT_EQ(e.w->CBoBit[0]->text(), QStringLiteral("Bit null"));
    EXPECT_EQ(e.w->CBoBit[1]->text(), QStringLiteral("Bit drei"));
    EXPECT_TRUE(e.w->CBoBit[0]->isChecked());
    EXPECT_TRUE(e.w->CBoBit[1]->isChecked());
    for (int i = 2; i < 8; ++i)
        EXPECT_FALSE(e.w->CBoBit[size_t(i)]->isVisibleTo(e.w)) << i;

    e.w->CBoBit[1]->setChecked(false);
    EXPECT_EQ(e.working(0), (ObjectEntry{"DoBits", 0x01, 0}));
    EXPECT_EQ(e.stored(1, 0, 0), (ObjectEntry{"DoBits", 0x09, 1}));
}

TEST(ZusatzIOEditWindow, MixedObjectPanel)
{
    IoEditor e;
    e.open(1);
    e.w->TCCanObject->setCurrentIndex(1); // DoNum, 0x1105
    EXPECT_TRUE(e.w->PMixObj->isVisibleTo(e.w));
    EXPECT_FALSE(e.w->PDigObj->isVisibleTo(e.w));
    EXPECT_EQ(e.w->LMix[0]->text(), QStringLiteral("Zahl (0..100)"));
    EXPECT_TRUE(e.w->EMix0->isVisibleTo(e.w));
    EXPECT_FALSE(e.w->CBMix[0]->isVisibleTo(e.w));
    EXPECT_EQ(e.w->EMix0->text(), QStringLiteral("5"));
    EXPECT_EQ(e.w->CBoMixBit[0]->text(), QStringLiteral("Melden"));
    EXPECT_TRUE(e.w->CBoMixBit[0]->isChecked());
    EXPECT_FALSE(e.w->CBoMixBit[1]->isVisibleTo(e.w));
    EXPECT_EQ(e.w->LMix[1]->text(), QStringLiteral("Modus"));
    EXPECT_EQ(e.w->CBMix[1]->currentText(), QStringLiteral("langsam"));
    EXPECT_FALSE(e.w->CBMix[2]->isVisibleTo(e.w));
    EXPECT_EQ(e.w->CBoMixBit[1]->objectName(), QStringLiteral("CBOMixBit1"));

    struct Step {
        const char *typed;
        const char *shown;
        qint64 value;
    };
    const Step steps[] = {{"250", "100", 0x1100 | 100}, {"-5", "0", 0x1100}, {"42", "42", 0x1100 | 42}};
    for (const Step &s : steps) {
        SCOPED_TRACE(s.typed);
        e.w->EMix0->setText(QString::fromLatin1(s.typed));
        e.w->PMixObjChange();
        EXPECT_EQ(e.w->EMix0->text(), QString::fromLatin1(s.shown));
        EXPECT_EQ(e.working(1), (ObjectEntry{"DoNum", s.value, 0}));
    }
    e.w->CBMix[1]->setCurrentIndex(2);
    EXPECT_EQ(e.working(1).Value, 0x2100 | 42);
    e.w->CBoMixBit[0]->setChecked(false);
    EXPECT_EQ(e.working(1).Value, 0x2000 | 42);

    // Enter in the field takes it, and does not close the dialog.
    e.w->EMix0->setText(QStringLiteral("7"));
    QTest::keyClick(e.w->EMix0, Qt::Key_Return);
    EXPECT_EQ(e.working(1).Value, 0x2000 | 7);
    EXPECT_TRUE(e.w->isVisible());

    // A text that is no number: reported, the stored value stays and shows again.
    e.w->EMix0->setText(QStringLiteral("viel"));
    e.w->PMixObjChange();
    ASSERT_EQ(e.sink.conversionErrors.size(), 1u);
    EXPECT_EQ(e.working(1).Value, 0x2000 | 7);
    EXPECT_EQ(e.w->EMix0->text(), QStringLiteral("7"));
}

TEST(ZusatzIOEditWindow, LeavingTheNumberForAnotherTabTakesIt)
{
    IoEditor e;
    e.open(1);
    e.w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(e.w));
    e.w->TCCanObject->setCurrentIndex(1);
    e.w->EMix0->setFocus();
    e.w->EMix0->selectAll();
    QTest::keyClicks(e.w->EMix0, QStringLiteral("33"));
    const QRect tab = e.w->TCCanObject->tabRect(0);
    QTest::mouseClick(e.w->TCCanObject, Qt::LeftButton, {}, tab.center());
    EXPECT_EQ(e.w->TCCanObject->currentIndex(), 0);
    EXPECT_EQ(e.working(1).Value, 0x1100 | 33);
}

TEST(ZusatzIOEditWindow, SignedNumberAndUnknownObjectKind)
{
    IoEditor e;
    e.open(1);
    e.w->TCCanObject->setCurrentIndex(2); // DoSign: one signed byte, default -5
    EXPECT_EQ(e.w->EMix0->text(), QStringLiteral("-5"));
    EXPECT_FALSE(e.w->CBoMixBit[0]->isChecked()) << "the number's sign is no flag";
    e.w->EMix0->setText(QStringLiteral("-120"));
    e.w->PMixObjChange();
    EXPECT_EQ(e.w->EMix0->text(), QStringLiteral("-100"));
    EXPECT_EQ(e.working(2).Value, 0x9C);
    e.w->CBoMixBit[0]->setChecked(true);
    EXPECT_EQ(e.working(2).Value, 0x19C);

    // An object of neither kind shows an empty area.
    e.w->TCCanObject->setCurrentIndex(3);
    EXPECT_FALSE(e.w->PDigObj->isVisibleTo(e.w));
    EXPECT_FALSE(e.w->PMixObj->isVisibleTo(e.w));
    EXPECT_EQ(e.working(3).Value, 7);
}

TEST(ZusatzIOEditWindow, ValueRowsAndAnObjectWithoutName)
{
    IoEditor e(parameterfixture::FuncCodeFile, {9});
    e.open(1);
    // The nameless object gets no tab; the tab after it shows its own entry.
    EXPECT_EQ(e.tabs(e.w->TCCanObject), (QStringList{"Filter", "Bits"}));
    EXPECT_EQ(e.w->CBMix[0]->currentText(), QStringLiteral("10 ms"));
    EXPECT_EQ(e.w->CBMix[1]->currentText(), QStringLiteral("ein"));
    EXPECT_FALSE(e.w->EMix0->isVisibleTo(e.w));
    e.w->CBMix[0]->setCurrentIndex(1);
    EXPECT_EQ(e.working(0).Value, 0x11);
    e.w->TCCanObject->setCurrentIndex(1);
    EXPECT_EQ(e.w->CurrentEntry(), 2);
    EXPECT_EQ(e.w->CBoBit[0]->text(), QStringLiteral("Bit null"));
    e.w->CBoBit[0]->setChecked(false);
    EXPECT_EQ(e.working(2).Value, 0x08);
    EXPECT_EQ(e.working(1).Value, 1) << "the nameless object is not touched";
}

TEST(ZusatzIOEditWindow, ChannelTabsAndFunctions)
{
    IoEditor e;
    e.open(6); // analog input, 4 channels; functions 0, 5, 255 for it
    EXPECT_EQ(e.tabs(e.w->TCKanal), (QStringList{"Kanal 1", "Kanal 2", "Kanal 3", "Kanal 4"}));
    EXPECT_EQ(e.w->FunctionTable, (std::vector<quint8>{0, 5, 255}));
    EXPECT_EQ(e.tabs(e.w->TCCanObject), (QStringList{"Messbereich", "Filter", "Diagnose", "Grenzwert"}));
    EXPECT_TRUE(e.objectEditorShown());

    // The user cannot pick a function; set one by hand, then change channels:
    // the new channel starts with the first function again.
    e.w->CBFunction->setCurrentIndex(2);
    e.w->CBFunctionChange();
    EXPECT_FALSE(e.objectEditorShown());
    EXPECT_EQ(e.w->CurrentRecord()->Function(), 255);
    e.w->TCKanal->setCurrentIndex(2);
    EXPECT_TRUE(e.objectEditorShown());
    EXPECT_EQ(e.w->CurrentRecord()->Function(), 0);
    EXPECT_EQ(e.w->WorkChannels[3]->Function(), 0);
    EXPECT_EQ(e.w->WorkChannels[1]->Function(), 255);
    EXPECT_EQ(e.w->CBMix[0]->currentText(), QStringLiteral("4..20 mA"));
}

TEST(ZusatzIOEditWindow, FunctionCodeFileRules)
{
    struct Case {
        const char *what;
        QByteArray funcCode;
        int slot;
        bool shown;
        int function; // of the current working record
    };
    // Analog inputs get 255 alone; digital outputs 0.
    const QByteArray hideOnly = "[Function_0xFF]\nText0=Aus\nType=0x01\n[Function_0x00]\nText0=Normal\nType=0x0C\n";
    // Digital modules get 1 and 255; analog modules nothing.
    const QByteArray noZero = "[Function_0x01]\nText0=Zähler\nType=0x0C\n[Function_0xFF]\nText0=Aus\nType=0x0C\n";
    const Case cases[] = {
        {"analog input, 255 first: hidden", hideOnly, 6, false, 255},
        {"analog input, 0 first", parameterfixture::FuncCodeFile, 6, true, 0},
        {"digital output: 0 shows", hideOnly, 1, true, 0},
        {"digital output: 1 leaves it hidden", noZero, 1, false, 1},
        {"digital input: 1 leaves it hidden", noZero, 3, false, 1},
        {"analog input, nothing offered: hidden, 255 kept", noZero, 6, false, 255},
        {"no file", QByteArray(), 1, false, 255},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        IoEditor e(c.funcCode);
        if (c.funcCode.isEmpty())
            QFile::remove(e.d.ProgramFolder + QStringLiteral("FuncCode.cfg"));
        ASSERT_NE(e.open(c.slot), nullptr);
        EXPECT_EQ(e.objectEditorShown(), c.shown);
        EXPECT_EQ(e.w->CurrentRecord()->Function(), c.function);
    }
}

TEST(ZusatzIOEditWindow, ReadOfEveryKind)
{
    struct Case {
        const char *what;
        int slot;
        int channelTab;
        std::vector<int> request;
        std::vector<quint16> reply;
    };
    const Case cases[] = {
        {"second digital output module", 2, -1, {8, 4, 0x26, 0x04, 0, 4}, {0x0006, 0x0021, 0x0000, 0x00FF}},
        {"third digital input module", 5, -1, {8, 4, 0x28, 0x02, 0, 1}, {0x0021}},
        {"analog input, channel 4", 6, 3, {8, 4, 0x20, 0x12, 0, 4}, {1, 2, 3, 0xFFFE}},
        {"thermocouple after four channels, tab 2", 7, 1, {8, 4, 0x20, 0x1E, 0, 6}, {0, 1, 2, 3, 4, 0x8000}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        IoEditor e;
        e.open(c.slot);
        if (c.channelTab >= 0)
            e.w->TCKanal->setCurrentIndex(c.channelTab);
        const quint16 id = e.d.TransactionId;
        e.w->ReadBtnClick();
        EXPECT_EQ(e.tx(6, 6), c.request);
        EXPECT_EQ(e.d.TxLength, 12);
        EXPECT_EQ(e.d.TransactionId, quint16(id + 1));
        EXPECT_FALSE(e.w->ReadBtn->isEnabled());
        EXPECT_TRUE(e.w->TmReadPara->isActive());
        EXPECT_EQ(e.w->TmReadPara->interval(), e.d.ResponseInterval);
        e.readReply(c.reply);
        e.w->TmReadParaTimer();
        EXPECT_TRUE(e.sink.boxes.empty());
        EXPECT_TRUE(e.w->ReadBtn->isEnabled());
        for (size_t k = 0; k < c.reply.size(); ++k) {
            EXPECT_EQ(e.working(int(k)).Value, c.reply[k]) << "entry " << k;
            EXPECT_EQ(e.working(int(k)).Valid, 0) << "entry " << k;
        }
    }
}

TEST(ZusatzIOEditWindow, ReadShowsTheObjectAgain)
{
    IoEditor e;
    e.open(1);
    e.w->ReadBtnClick();
    e.readReply({0x0001, 0x0133, 0x00F6, 0});
    e.w->TmReadParaTimer();
    EXPECT_TRUE(e.w->CBoBit[0]->isChecked());
    EXPECT_FALSE(e.w->CBoBit[1]->isChecked());
    e.w->TCCanObject->setCurrentIndex(1);
    EXPECT_EQ(e.w->EMix0->text(), QStringLiteral("51"));
    EXPECT_TRUE(e.w->CBoMixBit[0]->isChecked());
    EXPECT_EQ(e.w->CBMix[1]->currentIndex(), 0);
    e.w->TCCanObject->setCurrentIndex(2);
    EXPECT_EQ(e.w->EMix0->text(), QStringLiteral("-10"));
}

TEST(ZusatzIOEditWindow, WriteStoresTheCopiesAndSendsTheBlock)
{
    IoEditor e;
    e.open(1);
    e.w->CBoBit[0]->setChecked(false);
    e.w->TCCanObject->setCurrentIndex(1);
    e.w->EMix0->setText(QStringLiteral("77"));
    e.w->PMixObjChange();
    const quint16 id = e.d.TransactionId;
    e.w->OKBtnClick();
    EXPECT_EQ(e.d.TransactionId, quint16(id + 1));
    EXPECT_EQ(e.d.TxLength, 21);
    EXPECT_EQ(e.tx(6, 15), (std::vector<int>{8, 0x10, 0x26, 0x00, 0, 4, 8, 0x00, 0x08, 0x11, 0x4D, 0x00, 0xFB, 0, 7}));
    EXPECT_TRUE(e.w->TmWritePara->isActive());
    EXPECT_EQ(e.stored(1, 0, 0), (ObjectEntry{"DoBits", 0x08, 0}));
    EXPECT_EQ(e.stored(1, 0, 1), (ObjectEntry{"DoNum", 0x1100 | 77, 0}));
    EXPECT_EQ(e.d.StationPositions[1].ModuleParams->Function(), 0);
    EXPECT_TRUE(e.w->isVisible()) << "the window stays open";
    e.writeReply();
    e.w->TmWriteParaTimer();
    EXPECT_TRUE(e.sink.boxes.empty());
    EXPECT_FALSE(e.w->TmWrite32Para->isActive());
}

TEST(ZusatzIOEditWindow, BackDropsTheCopies)
{
    IoEditor e;
    e.open(6);
    e.w->TCKanal->setCurrentIndex(1);
    e.w->CBMix[0]->setCurrentIndex(0);
    EXPECT_EQ(e.working(0).Value, 0);
    QPointer<TZusatzIOEdit> w = e.w;
    e.w->CancelBtn->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    EXPECT_EQ(e.stored(6, 2, 0), (ObjectEntry{"AiRange", 2, 1}));
    // Opened again: the stored values.
    e.open(6);
    e.w->TCKanal->setCurrentIndex(1);
    EXPECT_EQ(e.w->CBMix[0]->currentText(), QStringLiteral("4..20 mA"));
}

TEST(ZusatzIOEditWindow, StrainGaugeReadsAndWritesBothBlocks)
{
    IoEditor e;
    // As the module after a 32-bit pair: FirstIndex 0, First32Index 2.
    e.d.StationPositions[8].FirstIndex = 0;
    e.d.StationPositions[8].First32Index = 2;
    e.open(8);
    EXPECT_EQ(e.tabs(e.w->TCCanObject).size(), 7);
    e.w->ReadBtnClick();
    EXPECT_EQ(e.tx(6, 6), (std::vector<int>{8, 4, 0x20, 0x00, 0, 3}));
    e.readReply({1, 2, 0x0003});
    e.w->TmReadParaTimer();
    EXPECT_EQ(e.tx(6, 6), (std::vector<int>{8, 4, 0x22, 0x0E, 0, 7}));
    EXPECT_TRUE(e.w->TmRead32Para->isActive());
    EXPECT_FALSE(e.w->ReadBtn->isEnabled());
    EXPECT_EQ(e.working(2).Value, 3);
    e.readReply({0x0010, 0x0001, 0x86A0, 0xFFFF, 0xFF38, 0x0001, 0x0000});
    e.w->TmRead32ParaTimer();
    EXPECT_TRUE(e.w->ReadBtn->isEnabled());
    EXPECT_EQ(e.working(3), (ObjectEntry{"Avg", 0x10, 0}));
    EXPECT_EQ(e.working(4), (ObjectEntry{"Load", 100000, 0}));
    EXPECT_EQ(e.working(5), (ObjectEntry{"Tara", 0xFFFFFF38LL, 0}));
    EXPECT_EQ(e.working(6), (ObjectEntry{"Limit32", 0x10000, 0}));
    e.w->TCCanObject->setCurrentIndex(5);
    EXPECT_EQ(e.w->EMix0->text(), QStringLiteral("-200"));

    e.w->EMix0->setText(QStringLiteral("-300"));
    e.w->PMixObjChange();
    e.w->OKBtnClick();
    EXPECT_EQ(e.d.TxLength, 19);
    EXPECT_EQ(e.tx(6, 13), (std::vector<int>{8, 0x10, 0x20, 0x00, 0, 3, 6, 0, 1, 0, 2, 0, 3}));
    EXPECT_TRUE(e.w->TmWritePara->isActive());
    const quint16 id = e.d.TransactionId;
    e.writeReply();
    e.w->TmWriteParaTimer();
    // After the first write's reply: the second block, 7 registers.
    EXPECT_EQ(e.d.TransactionId, quint16(id + 1));
    EXPECT_EQ(e.d.TxLength, 27);
    EXPECT_EQ(e.tx(6, 21), (std::vector<int>{8,    0x10, 0x22, 0x0E, 0,    7,    14,   0x00, 0x10, 0x00, 0x01,
                                             0x86, 0xA0, 0xFF, 0xFF, 0xFE, 0xD4, 0x00, 0x01, 0x00, 0x00}));
    EXPECT_TRUE(e.w->TmWrite32Para->isActive());
    e.writeReply();
    e.w->TmWrite32ParaTimer();
    EXPECT_TRUE(e.sink.boxes.empty());
    EXPECT_FALSE(e.w->TmWrite32Para->isActive());
}

TEST(ZusatzIOEditWindow, TimeoutsExceptionsAndOnlyTheOwnReply)
{
    IoEditor e;
    e.d.RetryLimit = 1;
    e.open(2);
    e.w->ReadBtnClick();
    // Another window's reply (function 23) is not the editor's.
    HandReply(e.d, {8, 23, 2, 0, 0});
    e.w->TmReadParaTimer();
    EXPECT_TRUE(e.w->TmReadPara->isActive());
    e.w->TmReadParaTimer();
    ASSERT_EQ(e.sink.boxes.size(), 1u);
    EXPECT_EQ(e.sink.boxes[0].text, QStringLiteral("Timeout"));
    EXPECT_EQ(e.sink.boxes[0].caption, QStringLiteral("Fehler"));
    EXPECT_FALSE(e.w->ReadBtn->isEnabled()) << "after a timeout until the window opens again";

    e.sink.clear();
    e.w->ReadBtnClick();
    HandReply(e.d, {8, 0x84, 2});
    e.w->TmReadParaTimer();
    ASSERT_EQ(e.sink.boxes.size(), 1u);
    EXPECT_EQ(e.sink.boxes[0].text, QStringLiteral(" Fehler Illegal Data Adress"));
    EXPECT_TRUE(e.w->ReadBtn->isEnabled());
    EXPECT_EQ(e.working(0).Valid, 1) << "nothing is stored";

    e.sink.clear();
    e.w->OKBtnClick();
    HandReply(e.d, {8, 0x90, 1});
    e.w->TmWriteParaTimer();
    ASSERT_EQ(e.sink.boxes.size(), 1u);
    EXPECT_EQ(e.sink.boxes[0].text, QStringLiteral(" Fehler Illegal Function"));
}

TEST(ZusatzIOEditWindow, StrainGaugeSecondExchangesTakeOnlyTheirOwnReplies)
{
    IoEditor g;
    g.open(8);
    g.w->ReadBtnClick();
    g.readReply({1, 2, 3});
    g.w->TmReadParaTimer();
    g.readReply({1, 2, 3}); // three registers where seven were asked for
    g.w->TmRead32ParaTimer();
    EXPECT_TRUE(g.w->TmRead32Para->isActive());
    HandReply(g.d, {8, 0x84, 4});
    g.w->TmRead32ParaTimer();
    ASSERT_EQ(g.sink.boxes.size(), 1u);
    EXPECT_EQ(g.sink.boxes[0].text, QStringLiteral(" Fehler "));
    EXPECT_TRUE(g.w->ReadBtn->isEnabled());
    EXPECT_EQ(g.working(3).Valid, 1);

    g.sink.clear();
    g.w->OKBtnClick();
    g.writeReply();
    g.w->TmWriteParaTimer();
    HandReply(g.d, {8, 0x06, 0x22, 0x0E, 0, 7}); // function 6 is no reply to a write of 16
    g.w->TmWrite32ParaTimer();
    EXPECT_TRUE(g.w->TmWrite32Para->isActive());
    HandReply(g.d, {8, 0x90, 2});
    g.w->TmWrite32ParaTimer();
    ASSERT_EQ(g.sink.boxes.size(), 1u);
    EXPECT_EQ(g.sink.boxes[0].text, QStringLiteral(" Fehler Illegal Data Adress"));
}

// A write gives up a read that still waits: the read button is usable again
// and a late tick of the read's timer checks nothing. A read that ended in a
// timeout leaves the button as it was.
TEST(ZusatzIOEditWindow, WriteGivesUpAWaitingRead)
{
    struct Case {
        const char *name;
        int slot;
        bool strainGaugeSecondRead; // the first read answered, the 32-bit one waits
        bool timedOut;
        bool readUsable;
    };
    const Case cases[] = {
        {"first read waiting", 2, false, false, true},
        {"32-bit read waiting", 8, true, false, true},
        {"read timed out", 2, false, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        IoEditor e;
        e.d.RetryLimit = 0;
        ASSERT_NE(e.open(c.slot), nullptr);
        e.w->ReadBtnClick();
        if (c.strainGaugeSecondRead) {
            e.readReply({1, 2, 3});
            e.w->TmReadParaTimer();
            ASSERT_TRUE(e.w->TmRead32Para->isActive());
        }
        if (c.timedOut) {
            e.w->TmReadParaTimer();
            ASSERT_EQ(e.sink.boxes.size(), 1u);
        }
        ASSERT_FALSE(e.w->ReadBtn->isEnabled());
        e.w->OKBtnClick();
        EXPECT_EQ(e.w->ReadBtn->isEnabled(), c.readUsable);
        EXPECT_FALSE(e.w->TmReadPara->isActive());
        EXPECT_FALSE(e.w->TmRead32Para->isActive());
        ASSERT_TRUE(e.w->TmWritePara->isActive());
        e.w->TmReadParaTimer();
        e.w->TmRead32ParaTimer();
        EXPECT_TRUE(e.w->TmWritePara->isActive()) << "the write still waits";
        EXPECT_EQ(e.sink.boxes.size(), c.timedOut ? 1u : 0u);
        e.writeReply();
        e.w->TmWriteParaTimer();
        EXPECT_FALSE(e.w->TmWritePara->isActive());
    }
}

TEST(ZusatzIOEditWindow, ModuleWithoutParameterBlockIsRefused)
{
    // Module 3 is not in the fixture file: no kind, no records.
    IoEditor e(parameterfixture::FuncCodeFile, {3});
    ASSERT_NE(e.open(1), nullptr);
    EXPECT_EQ(e.w->TCCanObject->count(), 0);
    EXPECT_EQ(e.w->CurrentRecord(), nullptr);
    e.d.TxLength = 0;
    const quint16 id = e.d.TransactionId;
    e.w->ReadBtnClick();
    e.w->OKBtnClick();
    EXPECT_EQ(e.d.TxLength, 0);
    EXPECT_EQ(e.d.TransactionId, id);
    EXPECT_FALSE(e.w->TmReadPara->isActive());
    EXPECT_FALSE(e.w->TmWritePara->isActive());
    ASSERT_EQ(e.sink.boxes.size(), 2u);
    EXPECT_EQ(e.sink.boxes[0].text,
              QStringLiteral("Dieses Modul hat keine Parameter, die gelesen oder geschrieben werden können"));
    EXPECT_TRUE(e.w->ReadBtn->isEnabled());
}

} // namespace
