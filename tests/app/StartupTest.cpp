#include "TestStation.h"

#include "app/TForm.h"
#include "monitor/TVo3112CCC.h"
#include "translation/TMultiLang.h"

#include <QFile>
#include <gtest/gtest.h>

namespace
{

TEST(Startup, WindowsAreCreatedInOrderWithTheirTitlesAndOnlyTheMainOneIsShown)
{
    TestStation t;
    struct Row {
        const char *className;
        QString germanTitle;
    };
    const Row rows[] = {
        {"TVo3112CCC", "Modbus/TCP Steuerung"},
        {"TDeviceConfigForm", "Konfiguration"},
        {"TParaDig", "digitale Parameter"},
        {"TFehler", "Fehler"},
        {"TSIOTransfer", "Schnittstelle"},
        {"TParaAna", "analoge Parameter"},
        {"TCont", "Steuerung"},
        {"TAboutBox", "Info"},
        {"TOKBottomDlg", "Sprache"},
        {"TAllgePara", "Allgemeine Parameter"},
        {"TParaAnaOut", "Parameter analoge Ausgaenge"},
        {"TParaAnaIn32Bit", "Parameter Analoge Eingänge 32Bit"},
        {"TAlarmMaske", "Alarm Maske"},
        {"TParameter", "Parameter"},
        {"TStatistik", "Statistik"},
        {"TTrend", "Trend"},
    };
    ASSERT_EQ(t.station.windows.size(), std::size(rows));
    const auto &components = t.d.Translations.components();
    ASSERT_EQ(components.size(), std::size(rows));
    for (size_t i = 0; i < std::size(rows); ++i) {
        QWidget *w = t.station.windows[i].get();
        EXPECT_EQ(w->metaObject()->className(), QString::fromLatin1(rows[i].className));
        EXPECT_EQ(w->windowTitle(), rows[i].germanTitle) << rows[i].className;
        EXPECT_EQ(w->isVisible(), i == 0) << rows[i].className;
        // The registry holds the windows' components in creation order.
        EXPECT_EQ(components[i]->owner(), w) << rows[i].className;
        EXPECT_EQ(components[i]->ActiveLanguage(), 0);
        EXPECT_EQ(components[i]->Languages, 2);
    }
    EXPECT_TRUE(t.sink.boxes.empty());
}

TEST(Startup, InitialValuesOfTheSharedState)
{
    TestStation t;
    const ProgramState &d = t.d;
    EXPECT_TRUE(std::all_of(d.TxFrame.begin(), d.TxFrame.end(), [](quint8 b) { return b == 0; }));
    EXPECT_TRUE(std::all_of(d.RxFrame.begin(), d.RxFrame.end(), [](quint8 b) { return b == 0; }));
    EXPECT_EQ(d.TxFrame.size(), 264u);
    EXPECT_EQ(d.RxFrame.size(), 264u);
    EXPECT_EQ(d.RxCount, 0);
    EXPECT_EQ(d.TxLength, 0);
    EXPECT_EQ(d.TransactionId, 0);
    EXPECT_EQ(d.SlaveAddress, 8);
    EXPECT_EQ(d.TcpConnected, 0);
    EXPECT_EQ(d.EthernetSelected, 0);
    EXPECT_TRUE(d.TxHexText.isEmpty());
    EXPECT_EQ(d.SettingsPath, t.folder.path() + QStringLiteral("/Modbus.ini"));
    EXPECT_EQ(d.ResponseInterval, 100);
    EXPECT_EQ(d.DataTimeout, 100);
    EXPECT_EQ(d.ParaTimeout, 500);
    EXPECT_EQ(d.RetryLimit, 5);
    EXPECT_EQ(d.StationFlags, 0);
    EXPECT_EQ(d.StationConfig.ConfigValid, 0);
    EXPECT_EQ(d.StationConfig.AnaInCount + d.StationConfig.AnaIn32Count + d.StationConfig.AnaOutCount +
                  d.StationConfig.DigInCount + d.StationConfig.DigOutCount,
              0);
    EXPECT_EQ(d.BrandMode, 0);
    EXPECT_EQ(d.AutostartStep, 0);
    EXPECT_EQ(d.AutostartConfigAttempts, 0);
    EXPECT_EQ(d.ReadConfigOnAutostart, 1);
    EXPECT_EQ(d.PipeControl, 0);
    EXPECT_EQ(d.CurrentLanguage, 0);
    EXPECT_TRUE(d.StartTimeStamp.isValid());
    EXPECT_FALSE(d.CommandLine.AutoStart);
    EXPECT_TRUE(d.CommandLine.ServerName.isEmpty());
    EXPECT_EQ(d.ModuleShortNames[1], QStringLiteral("NX651"));
}

TEST(Startup, SlaveAddressStaysEightWhateverTheSettingsFileHolds)
{
    // The settings file is read only when the configuration window is activated.
    QTemporaryDir dir;
    QFile ini(dir.path() + QStringLiteral("/Modbus.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Slave]\nAdresse=33\n");
    ini.close();
    Station station({}, dir.path());
    RecordingMessageSink sink;
    station.d.setMessageSink(&sink);
    station.start();
    EXPECT_EQ(station.d.SlaveAddress, 8);
    EXPECT_EQ(station.d.Vo3112CCC->StatusBar1->panelText(0), QStringLiteral(" Slaveadress: 08"));
}

TEST(Startup, ValkoSelectsTheBrandedNames)
{
    TestStation t({"valko"});
    EXPECT_EQ(t.d.BrandMode, 1);
    EXPECT_EQ(t.d.ModuleShortNames[133], QStringLiteral("QA3135"));
    EXPECT_EQ(t.d.ModuleShortNames[200], QString());
    TestStation neutral;
    EXPECT_EQ(neutral.d.ModuleShortNames[133], QStringLiteral("NX631-1"));
    EXPECT_EQ(neutral.d.ModuleShortNames[200], QStringLiteral("specific"));
    EXPECT_EQ(neutral.d.ModuleShortNames[12], QString());
    EXPECT_EQ(neutral.d.ModuleShortNames[13], QString());
    EXPECT_EQ(neutral.d.ModuleShortNames[0], QStringLiteral("empty"));
}

TEST(Startup, CommandLineIsEvaluatedByTheMainWindow)
{
    TestStation t({"x", "SERVER7", "AUTO", "DMS"});
    EXPECT_TRUE(t.d.CommandLine.AutoStart);
    EXPECT_EQ(t.d.CommandLine.ServerName, QStringLiteral("SERVER7"));
    EXPECT_TRUE(t.d.CommandLine.ReadDmsParameters);
    EXPECT_FALSE(t.d.CommandLine.WaitBeforeOpen);
}

} // namespace
