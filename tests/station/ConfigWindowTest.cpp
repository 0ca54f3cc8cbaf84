#include "OneWindow.h"

#include "link/InterfaceSettings.h"
#include "station/TDeviceConfigForm.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

struct ConfigFixture : OneWindow<TDeviceConfigForm> {
    void reply(const QByteArray &frameFromIndex6)
    {
        HandReply(d, std::vector<quint8>(frameFromIndex6.begin(), frameFromIndex6.end()));
    }
    void identityReply(char unit = 8)
    {
        QByteArray pdu = QByteArray(1, unit) + QByteArray::fromHex("2B0E010100000300");
        pdu += QByteArray::fromHex("0004") + "ACME";
        pdu += QByteArray::fromHex("0006") + "VO3112";
        pdu += QByteArray::fromHex("0203") + "1.00";
        reply(pdu);
    }
    void slotListReply(const QByteArray &slots9)
    {
        QByteArray pdu = QByteArray::fromHex("08041C"
                                             "0006"
                                             "0002"
                                             "0004"
                                             "000C"
                                             "000C");
        for (char id : slots9)
            pdu += QByteArray::fromHex("00") + QByteArray(1, id);
        reply(pdu);
    }
    QStringList log() const { return w->MDataTransfer->toPlainText().split(QLatin1Char('\n')); }
};

TEST(ConfigWindow, ActivationTakesTheSlaveAddressFromTheSettingsFile)
{
    ConfigFixture f;
    WriteSlaveAddress(f.d.SettingsPath, 16);
    f.w->FormActivate();
    EXPECT_EQ(f.d.SlaveAddress, 16);
    EXPECT_EQ(f.w->EHexID->text(), QStringLiteral("10"));
    EXPECT_EQ(ReadSlaveAddressText(f.d.SettingsPath), QStringLiteral("16"));
    f.w->EHexID->setText(QStringLiteral("1F"));
    EXPECT_EQ(f.d.SlaveAddress, 0x1F);
    EXPECT_EQ(ReadSlaveAddressText(f.d.SettingsPath), QStringLiteral("31"));
    f.w->EHexID->setText(QStringLiteral("xy"));
    emit f.w->EHexID->editingFinished();
    EXPECT_EQ(f.d.SlaveAddress, 0x1F);
    ASSERT_EQ(f.sink.conversionErrors.size(), 1u);
}

// Typed key by key, the field is only on its way: "100" must not take 0x10 on
// the way. A unit is taken when the field is left, and only 01 to F7.
TEST(ConfigWindow, TheIdFieldTakesATypedUnitWhenLeftAndOnlyFrom01ToF7)
{
    struct Case {
        const char *typed;
        int unit; // SlaveAddress and settings file afterwards; 0x1F is the one before
        bool reported;
    };
    const Case cases[] = {
        {"100", 0x1F, true}, {"0", 0x1F, true},  {"00", 0x1F, true},    {"F8", 0x1F, true},
        {"", 0x1F, true},    {"0x", 0x1F, true}, {"-1", 0x1F, true},    {"xy", 0x1F, true},
        {"F7", 0xF7, false}, {"1", 0x01, false}, {"0x20", 0x20, false}, {"$2a", 0x2A, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        ConfigFixture f;
        WriteSlaveAddress(f.d.SettingsPath, 0x1F);
        f.w->FormActivate();
        f.sink.clear();
        f.w->EHexID->selectAll();
        QTest::keyClick(f.w->EHexID, Qt::Key_Backspace);
        for (const char *key = c.typed; *key; ++key) {
            QTest::keyClick(f.w->EHexID, *key);
            EXPECT_EQ(f.d.SlaveAddress, 0x1F); // nothing taken while typing
            EXPECT_EQ(ReadSlaveAddressText(f.d.SettingsPath), QStringLiteral("31"));
        }
        EXPECT_TRUE(f.sink.conversionErrors.empty());
        emit f.w->EHexID->editingFinished();
        EXPECT_EQ(f.d.SlaveAddress, c.unit);
        EXPECT_EQ(ReadSlaveAddressText(f.d.SettingsPath), QString::number(c.unit));
        EXPECT_EQ(f.sink.conversionErrors.size(), c.reported ? 1u : 0u);

        // A read goes to the unit the field shows, or not at all.
        f.d.TxFrame.fill(0);
        f.w->BReadConfigClick();
        if (c.reported) {
            ASSERT_EQ(f.sink.boxes.size(), 1u);
            EXPECT_TRUE(f.sink.boxes[0].text.contains(QStringLiteral("ID (hex)")));
            EXPECT_TRUE(f.sink.boxes[0].text.contains(QStringLiteral("01 .. F7")));
            EXPECT_FALSE(f.w->TimerIdentity->isActive());
            EXPECT_EQ(f.d.TxFrame[7], 0);
        } else {
            EXPECT_TRUE(f.sink.boxes.empty());
            EXPECT_TRUE(f.w->TimerIdentity->isActive());
            EXPECT_EQ(f.d.TxFrame[6], c.unit);
        }
    }
}

TEST(ConfigWindow, ReadingTheStationStepByStep)
{
    ConfigFixture f;
    f.d.TransactionId = 9;
    f.w->BReadConfigClick();
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(f.d.TxFrame.data() + 6), 5).toHex(), QByteArray("082b0e0100"));
    EXPECT_EQ(f.d.TxLength, 11);
    EXPECT_EQ(f.d.TransactionId, 10);
    EXPECT_TRUE(f.w->TimerIdentity->isActive());
    EXPECT_EQ(f.w->TimerIdentity->interval(), 600);

    f.identityReply();
    f.w->TimerIdentityTimer();
    EXPECT_EQ(f.w->EdInfo->text(), QStringLiteral("ACME"));
    EXPECT_EQ(f.w->EdProdukt->text(), QStringLiteral("VO3112"));
    EXPECT_EQ(f.w->EdVersion->text(), QStringLiteral("1.00"));
    EXPECT_EQ(f.d.StationFlags & StationFlag::ConfigAnswered, StationFlag::ConfigAnswered);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(f.d.TxFrame.data() + 6), 6).toHex(),
              QByteArray("08041000000e"));
    EXPECT_EQ(f.d.TxLength, 12);
    EXPECT_EQ(f.d.TransactionId, 11);
    EXPECT_TRUE(f.w->TimerSlotList->isActive());

    f.slotListReply(QByteArray::fromHex("0206070104 0A0E0500"));
    f.w->TimerSlotListTimer();
    const StationConfiguration &c = f.d.StationConfig;
    EXPECT_EQ(c.ConfigValid, 1);
    EXPECT_EQ(c.AnaInCount, 6);
    EXPECT_EQ(c.AnaIn32Count, 2);
    EXPECT_EQ(c.SlotModuleIds[6], 10);
    EXPECT_EQ(c.DigOutModuleCount, 2);
    EXPECT_EQ(c.TempChannelCount, 2);
    EXPECT_EQ(f.w->ColumnIds[1], 245);
    EXPECT_EQ(f.w->ColumnIds[2], 2);
    EXPECT_EQ(f.w->ColumnIds[10], 0);
    EXPECT_EQ(f.status.panelText(2), QStringLiteral(" Konfiguration geladen "));
    EXPECT_EQ(f.status.panelText(0), QStringLiteral(" Slaveadress: 08"));
    const QStringList log = f.log();
    ASSERT_GE(log.size(), 5);
    EXPECT_EQ(log[0], QStringLiteral("Antwort : ADR: 08  Code: 2B"));
    EXPECT_EQ(log[1], QStringLiteral("Antwort : ADR: 08  Code: 04  Bytecount: 1C"));
    EXPECT_TRUE(log[2].startsWith(QStringLiteral("  Data :   00  00")));
    EXPECT_EQ(log.size(), 2 + 3); // 37 bytes: two full lines and one of five
    EXPECT_EQ(ReadSlaveAddressText(f.d.SettingsPath), QStringLiteral("8"));
    EXPECT_TRUE(f.sink.boxes.empty());
}

TEST(ConfigWindow, SilentCouplerTimesOutAfterTheRetries)
{
    ConfigFixture f;
    f.d.RetryLimit = 2;
    f.d.StationFlags = StationFlag::ConfigAnswered;
    f.w->BReadConfigClick();
    for (int tick = 0; tick < 2; ++tick) {
        f.w->TimerIdentityTimer();
        EXPECT_TRUE(f.w->TimerIdentity->isActive()) << tick;
    }
    f.w->TimerIdentityTimer();
    EXPECT_FALSE(f.w->TimerIdentity->isActive());
    EXPECT_FALSE(f.w->TimerSlotList->isActive());
    EXPECT_EQ(f.log(), QStringList{"Antwort : Timeout"});
    EXPECT_EQ(f.d.StationFlags & StationFlag::ConfigAnswered, 0);
    EXPECT_EQ(f.d.StationConfig.ConfigValid, 0);
}

TEST(ConfigWindow, RepliesThatAreNotOursCountAsNoReply)
{
    ConfigFixture f;
    f.d.RetryLimit = 0;
    f.w->BReadConfigClick();
    f.identityReply(9); // another unit
    f.w->TimerIdentityTimer();
    EXPECT_EQ(f.log(), QStringList{"Antwort : Timeout"});
    f.w->BReadConfigClick();
    f.identityReply();
    f.w->TimerIdentityTimer();
    // A process data reply arriving while the slot list is awaited.
    f.reply(QByteArray::fromHex("0817020000"));
    f.w->TimerSlotListTimer();
    EXPECT_EQ(f.d.StationConfig.ConfigValid, 0);
    EXPECT_EQ(f.log().last(), QStringLiteral("Antwort : Timeout"));
}

TEST(ConfigWindow, ExceptionToTheSlotListShowsTheLogTextInABox)
{
    ConfigFixture f;
    f.w->BReadConfigClick();
    f.identityReply();
    f.w->TimerIdentityTimer();
    f.reply(QByteArray::fromHex("088401"));
    f.w->TimerSlotListTimer();
    ASSERT_EQ(f.sink.boxes.size(), 1u);
    EXPECT_EQ(f.sink.boxes[0].text, QStringLiteral("Antwort : ADR: 08  Code: 84 Fehler Illegal Function"));
    EXPECT_EQ(f.sink.boxes[0].caption, QStringLiteral("Fehler"));
    EXPECT_EQ(f.sink.boxes[0].kind, MessageKind::Error);
    EXPECT_EQ(f.d.StationConfig.ConfigValid, 0);
    EXPECT_EQ(f.status.panelText(2), QStringLiteral(" keine Konfiguration geladen "));
}

TEST(ConfigWindow, ExceptionToTheIdentityStopsBeforeTheSlotList)
{
    ConfigFixture f;
    f.w->BReadConfigClick();
    f.reply(QByteArray::fromHex("08AB02"));
    f.d.TxFrame[7] = 0;
    f.w->TimerIdentityTimer();
    ASSERT_EQ(f.sink.boxes.size(), 1u);
    EXPECT_EQ(f.sink.boxes[0].text, QStringLiteral("Antwort : ADR: 08  Code: AB Fehler Illegal Data Adress"));
    EXPECT_FALSE(f.w->TimerSlotList->isActive());
    EXPECT_EQ(f.d.TxFrame[7], 0); // nothing sent
}

// Whatever way a read fails, nothing on screen goes on claiming the station
// read before: the status bar and the identity fields follow ConfigValid.
TEST(ConfigWindow, AFailedReadTakesBackTheLoadedStationFromTheScreen)
{
    enum class Step { Identity, SlotList };
    enum class Reply { None, OtherUnit, Exception };
    struct Case {
        const char *name;
        Step failingStep;
        Reply reply;
    };
    const Case cases[] = {
        {"identity unanswered", Step::Identity, Reply::None},
        {"identity from another unit", Step::Identity, Reply::OtherUnit},
        {"identity exception", Step::Identity, Reply::Exception},
        {"slot list unanswered", Step::SlotList, Reply::None},
        {"slot list from another unit", Step::SlotList, Reply::OtherUnit},
        {"slot list exception", Step::SlotList, Reply::Exception},
    };
    const QByteArray slotIds = QByteArray::fromHex("020607010400000000");
    for (const Case &c : cases) {
        ConfigFixture f;
        f.d.RetryLimit = 0;
        f.w->BReadConfigClick();
        f.identityReply();
        f.w->TimerIdentityTimer();
        f.slotListReply(slotIds);
        f.w->TimerSlotListTimer();
        ASSERT_EQ(f.d.StationConfig.ConfigValid, 1) << c.name;
        ASSERT_EQ(f.status.panelText(2), QStringLiteral(" Konfiguration geladen ")) << c.name;
        ASSERT_EQ(f.w->EdProdukt->text(), QStringLiteral("VO3112")) << c.name;

        f.w->BReadConfigClick();
        if (c.failingStep == Step::SlotList) {
            f.identityReply();
            f.w->TimerIdentityTimer();
            ASSERT_TRUE(f.w->TimerSlotList->isActive()) << c.name;
        }
        QTimer *timer = c.failingStep == Step::Identity ? f.w->TimerIdentity : f.w->TimerSlotList;
        const char function = c.failingStep == Step::Identity ? '\x2B' : '\x04';
        if (c.reply == Reply::OtherUnit)
            f.reply(QByteArray::fromHex("09") + QByteArray(1, function) + QByteArray::fromHex("020000"));
        else if (c.reply == Reply::Exception)
            f.reply(QByteArray::fromHex("08") + QByteArray(1, static_cast<char>(function | 0x80)) +
                    QByteArray::fromHex("02"));
        if (c.failingStep == Step::Identity)
            f.w->TimerIdentityTimer();
        else
            f.w->TimerSlotListTimer();
        EXPECT_FALSE(timer->isActive()) << c.name;
        EXPECT_EQ(f.d.StationConfig.ConfigValid, 0) << c.name;
        EXPECT_EQ(f.status.panelText(2), QStringLiteral(" keine Konfiguration geladen ")) << c.name;
        EXPECT_TRUE(f.w->EdInfo->text().isEmpty()) << c.name;
        EXPECT_TRUE(f.w->EdProdukt->text().isEmpty()) << c.name;
        EXPECT_TRUE(f.w->EdVersion->text().isEmpty()) << c.name;
        EXPECT_EQ(f.sink.boxes.size(), c.reply == Reply::Exception ? 1u : 0u) << c.name;

        // Read again with the coupler answering: the station is back.
        f.w->BReadConfigClick();
        f.identityReply();
        f.w->TimerIdentityTimer();
        f.slotListReply(slotIds);
        f.w->TimerSlotListTimer();
        EXPECT_EQ(f.status.panelText(2), QStringLiteral(" Konfiguration geladen ")) << c.name;
        EXPECT_EQ(f.w->EdInfo->text(), QStringLiteral("ACME")) << c.name;
    }
}

TEST(ConfigWindow, HintAndDataSheetOfAColumn)
{
    ConfigFixture f;
    f.d.ModuleCatalogue[5].ShortName = QStringLiteral("NX 631-0");
    f.d.ModuleCatalogue[5].AddName = QStringLiteral("4 x AO");
    f.w->BReadConfigClick();
    f.identityReply();
    f.w->TimerIdentityTimer();
    f.slotListReply(QByteArray::fromHex("050001000000000000"));
    f.w->TimerSlotListTimer();
    EXPECT_EQ(f.w->HintText(2), QStringLiteral("NX 631-0 4 x AO"));
    EXPECT_EQ(f.w->HintText(3), QStringLiteral("Leer"));
    SelectLanguage(f.d, 1);
    EXPECT_EQ(f.w->HintText(3), QStringLiteral("empty"));
    EXPECT_EQ(f.w->DataSheetFile(2), f.d.ProgramFolder + QStringLiteral("Pdf/NUV/NX 631FB.pdf"));
    f.w->SGModulsClick(2, 2);
    EXPECT_TRUE(f.w->HintWindow->isVisible());
    EXPECT_EQ(f.w->HintWindow->text(), QStringLiteral("NX 631-0 4 x AO"));
    f.w->SGModulsClick(2, 1);
    EXPECT_FALSE(f.w->HintWindow->isVisible());
    f.w->SGModulsDblClick(3, 2); // no data sheet there: reported, not silent
    ASSERT_EQ(f.sink.boxes.size(), 1u);
}

} // namespace
