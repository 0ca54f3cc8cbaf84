#include "TestStation.h"

#include "app/TForm.h"
#include "diagnostics/TFehler.h"
#include "link/TSIOTransfer.h"
#include "monitor/TAboutBox.h"
#include "monitor/TVo3112CCC.h"
#include "parameters/TAllgePara.h"
#include "parameters/TParaAna.h"
#include "parameters/TParaAnaIn32Bit.h"
#include "parameters/TParaAnaOut.h"
#include "parameters/TParaDig.h"
#include "parameters/TParameter.h"
#include "process/TCont.h"
#include "station/TDeviceConfigForm.h"
#include "translation/TOKBottomDlg.h"

#include "monitor/TStatistik.h"
#include "process/TTrend.h"
#include <QMenuBar>

#include <gtest/gtest.h>

namespace
{

QAction *findAction(QWidget *window, const char *name)
{
    return window->findChild<QAction *>(QString::fromLatin1(name));
}

TEST(MainWindow, StatusBarAtStart)
{
    TestStation t;
    TStatusBar *bar = t.d.Vo3112CCC->StatusBar1;
    ASSERT_EQ(bar->panelCount(), 3);
    EXPECT_EQ(bar->panel(0)->minimumWidth(), 150);
    EXPECT_EQ(bar->panel(0)->maximumWidth(), 150);
    EXPECT_EQ(bar->panel(1)->maximumWidth(), 150);
    EXPECT_GE(bar->panel(2)->minimumWidth(), 50);
    EXPECT_EQ(bar->panelText(0), QStringLiteral(" Slaveadress: 08"));
    EXPECT_EQ(bar->panelText(1), QString());
    EXPECT_EQ(bar->panelText(2), QStringLiteral(" keine Konfiguration geladen "));
}

TEST(MainWindow, MenuCaptionsInBothLanguages)
{
    TestStation t;
    struct Row {
        const char *name;
        const char *german;
        const char *english;
    };
    const Row rows[] = {
        {"Info1", "Info", "About"},
        {"Sprache1", "Sprache", "Language"},
        {"Beenden1", "Beenden", "Exit"},
        {"Schnittstelle1", "Schnittstelle", "Interface"},
        {"Steuerung1", "Steuerung", "Control"},
        {"Parameter1", "Parameter", "Parameter"},
        {"Konfiguration1", "Konfiguration", "Configuration"},
        {"Fehler1", "Fehler", "Error"},
        {"Analog1", "analoge Eingänge", "analog In"},
        {"AnalogIn32Bit1", "analoge Eingänge 32Bit", "analog In 32Bit"},
        {"AnalogOut1", "analoge Ausgänge", "analog Out"},
        {"Digital1", "digitale Ausgänge", "digital Out"},
        {"Allgemein1", "Allgemein", "General"},
        {"Statistik1", "Statistik", "Statistics"},
        {"Trend1", "Trend", "Trend"},
    };
    for (int language : {0, 1}) {
        SelectLanguage(t.d, static_cast<quint8>(language));
        EXPECT_EQ(t.d.Vo3112CCC->Datei1->title(), language ? "File" : "Datei");
        for (const Row &row : rows) {
            QAction *action = findAction(t.d.Vo3112CCC, row.name);
            ASSERT_NE(action, nullptr) << row.name;
            EXPECT_EQ(action->text(), QString::fromUtf8(language ? row.english : row.german));
        }
    }
}

TEST(MainWindow, MenuEntriesShowTheirWindows)
{
    TestStation t;
    struct Row {
        const char *action;
        QWidget *window;
    };
    ProgramState &d = t.d;
    const Row rows[] = {
        {"Info1", d.AboutBox},        {"Sprache1", d.OKBottomDlg}, {"Schnittstelle1", d.SIOTransfer},
        {"Steuerung1", d.Cont},       {"Parameter1", d.Parameter}, {"Konfiguration1", d.DeviceConfigForm},
        {"Fehler1", d.Fehler},        {"Analog1", d.ParaAna},      {"AnalogIn32Bit1", d.ParaAnaIn32Bit},
        {"AnalogOut1", d.ParaAnaOut}, {"Digital1", d.ParaDig},     {"Allgemein1", d.AllgePara},
        {"Statistik1", d.Statistik},  {"Trend1", d.Trend},
    };
    for (const Row &row : rows) {
        ASSERT_FALSE(row.window->isVisible()) << row.action;
        findAction(d.Vo3112CCC, row.action)->trigger();
        EXPECT_TRUE(row.window->isVisible()) << row.action;
        row.window->hide();
    }
    findAction(d.Vo3112CCC, "Konfiguration1")->trigger();
    EXPECT_EQ(d.DeviceConfigForm->windowModality(), Qt::ApplicationModal);
}

TEST(MainWindow, ExitClosesTheMainWindow)
{
    TestStation t;
    findAction(t.d.Vo3112CCC, "Beenden1")->trigger();
    EXPECT_FALSE(t.d.Vo3112CCC->isVisible());
}

TEST(AboutBox, ShowsTitleVersionAndDateAndClosesWithOk)
{
    TestStation t;
    TAboutBox *about = t.d.AboutBox;
    EXPECT_EQ(about->ProductName->text(), QStringLiteral("Modbus/TCP Control"));
    EXPECT_EQ(about->Version->text(), QStringLiteral("Version 1.00"));
    EXPECT_FALSE(about->Copyright->text().isEmpty());
    t.d.Vo3112CCC->Info1Click();
    ASSERT_TRUE(about->isVisible());
    about->OKButton->click();
    EXPECT_FALSE(about->isVisible());
    SelectLanguage(t.d, 1);
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About"));
}

TEST(LanguageDialog, ChoosingAnEntrySwitchesEveryWindowAtOnce)
{
    TestStation t;
    TOKBottomDlg *dialog = t.d.OKBottomDlg;
    EXPECT_EQ(dialog->size(), QSize(172, 110));
    EXPECT_EQ(dialog->ComboBox1->currentText(), QStringLiteral("Deutsch"));
    t.d.Vo3112CCC->Sprache1Click();
    dialog->ComboBox1->setCurrentIndex(0);
    dialog->ComboBox1Change();
    EXPECT_EQ(t.d.CurrentLanguage, 1);
    // Hidden windows follow too.
    EXPECT_EQ(t.d.DeviceConfigForm->windowTitle(), QStringLiteral("Configuration"));
    EXPECT_EQ(t.d.Fehler->windowTitle(), QStringLiteral("Error"));
    EXPECT_EQ(t.d.Vo3112CCC->windowTitle(), QStringLiteral("Modbus/TCP Control"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Language"));
    for (const auto &w : t.station.windows)
        EXPECT_EQ(w->findChild<TMultiLang *>()->ActiveLanguage(), 1) << w->metaObject()->className();
    dialog->OKBtnClick();
    EXPECT_FALSE(dialog->isVisible());
    // Opening it again keeps the last selection.
    t.d.Vo3112CCC->Sprache1Click();
    EXPECT_EQ(dialog->ComboBox1->currentText(), QStringLiteral("Englisch"));
    dialog->ComboBox1->setCurrentIndex(1);
    dialog->ComboBox1Change();
    EXPECT_EQ(t.d.CurrentLanguage, 0);
    EXPECT_EQ(t.d.DeviceConfigForm->windowTitle(), QStringLiteral("Konfiguration"));
}

TEST(LanguageDialog, WindowCreatedLaterStartsInTheCurrentLanguage)
{
    TestStation t;
    SelectLanguage(t.d, 1);
    TDeviceConfigForm later(t.d);
    EXPECT_EQ(later.windowTitle(), QStringLiteral("Configuration"));
    EXPECT_EQ(later.MultiLang1->ActiveLanguage(), 1);
}

} // namespace
