#include "monitor/TVo3112CCC.h"

#include "app/Conversions.h"
#include "app/Deklarat.h"
#include "diagnostics/TFehler.h"
#include "link/TSIOTransfer.h"
#include "monitor/TAboutBox.h"
#include "parameters/TAllgePara.h"
#include "parameters/TParaAna.h"
#include "parameters/TParaAnaIn32Bit.h"
#include "parameters/TParaAnaOut.h"
#include "parameters/TParaDig.h"
#include "parameters/TParameter.h"
#include "process/TCont.h"
#include "station/ModuleNames.h"
#include "station/TDeviceConfigForm.h"
#include "translation/TOKBottomDlg.h"
#include "translation/WordLists.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenuBar>

void ShowWindow(QWidget *window)
{
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

TVo3112CCC::TVo3112CCC(Deklarat &d) : d(d)
{
    setObjectName(QStringLiteral("TVo3112CCC"));
    setWindowTitle(QStringLiteral("Modbus/TCP Steuerung"));
    resize(800, 600);

    Datei1 = menuBar()->addMenu(QStringLiteral("Datei"));
    Datei1->setObjectName(QStringLiteral("Datei1"));
    Info1 = addAction(Datei1, "Info1", QStringLiteral("Info"), &TVo3112CCC::Info1Click);
    Sprache1 = addAction(Datei1, "Sprache1", QStringLiteral("Sprache"), &TVo3112CCC::Sprache1Click);
    Datei1->addSeparator();
    Beenden1 = addAction(Datei1, "Beenden1", QStringLiteral("Beenden"), &TVo3112CCC::Beenden1Click);
    Schnittstelle1 = addBarAction("Schnittstelle1", QStringLiteral("Schnittstelle"),
                                  &TVo3112CCC::Schnittstelle1Click);
    Steuerung1 = addBarAction("Steuerung1", QStringLiteral("Steuerung"), &TVo3112CCC::Steuerung1Click);
    Parameter1 = addBarAction("Parameter1", QStringLiteral("Parameter"), &TVo3112CCC::Parameter1Click);
    // The dedicated parameter windows have no entry of their own in the classic
    // menu; a technician still needs to reach them.
    Parameterfenster1 = menuBar()->addMenu(QStringLiteral("Parameterfenster"));
    Parameterfenster1->setObjectName(QStringLiteral("Parameterfenster1"));
    Analog1 = addAction(Parameterfenster1, "Analog1", QStringLiteral("analoge Eingänge"),
                        &TVo3112CCC::Analog1Click);
    AnalogIn32Bit1 = addAction(Parameterfenster1, "AnalogIn32Bit1",
                               QStringLiteral("analoge Eingänge 32Bit"), &TVo3112CCC::AnalogIn32Bit1Click);
    AnalogOut1 = addAction(Parameterfenster1, "AnalogOut1", QStringLiteral("analoge Ausgänge"),
                           &TVo3112CCC::AnalogOut1Click);
    Digital1 = addAction(Parameterfenster1, "Digital1", QStringLiteral("digitale Ausgänge"),
                         &TVo3112CCC::Digital1Click);
    Allgemein1 = addAction(Parameterfenster1, "Allgemein1", QStringLiteral("Allgemein"),
                           &TVo3112CCC::Allgemein1Click);
    Konfiguration1 = addBarAction("Konfiguration1", QStringLiteral("Konfiguration"),
                                  &TVo3112CCC::Konfiguration1Click);
    Fehler1 = addBarAction("Fehler1", QStringLiteral("Fehler"), &TVo3112CCC::Fehler1Click);

    StatusBar1 = new TStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->addPanel(150);
    StatusBar1->addPanel(150);
    StatusBar1->addPanel(50);
    setStatusBar(StatusBar1);

    MultiLang1 = AttachTranslation(this, d, TVo3112CCCWords(), WindowFonts::Arial(), 0);
    FormCreate();
}

QAction *TVo3112CCC::addAction(QMenu *menu, const char *name, const QString &caption,
                               void (TVo3112CCC::*handler)())
{
    QAction *action = menu->addAction(caption);
    action->setParent(this);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

QAction *TVo3112CCC::addBarAction(const char *name, const QString &caption,
                                  void (TVo3112CCC::*handler)())
{
    auto *action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    menuBar()->addAction(action);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void TVo3112CCC::FormCreate()
{
    d.ResponseInterval = 100;
    d.DataTimeout = 100;
    d.ParaTimeout = 500;
    d.TransactionId = 0;
    d.CommandLine = ParseCommandLine(d.Arguments);
    d.BrandMode = d.CommandLine.Valko ? 1 : 0;
    d.ModuleShortNames = BuiltInShortNames(d.BrandMode);
    d.StartTimeStamp = QDateTime::currentDateTime();
    d.SettingsPath = d.ProgramFolder + QStringLiteral("Modbus.ini");
    ShowSlaveAddress();
    StatusBar1->setPanelText(2, QStringLiteral(" keine Konfiguration geladen "));
}

void TVo3112CCC::ShowSlaveAddress()
{
    StatusBar1->setPanelText(0, QStringLiteral(" Slaveadress: ") + HexText(d.SlaveAddress, 2));
}

void TVo3112CCC::Info1Click() { ShowWindow(d.AboutBox); }
void TVo3112CCC::Sprache1Click() { ShowWindow(d.OKBottomDlg); }
void TVo3112CCC::Beenden1Click() { close(); }
void TVo3112CCC::Schnittstelle1Click() { ShowWindow(d.SIOTransfer); }
void TVo3112CCC::Steuerung1Click() { ShowWindow(d.Cont); }
void TVo3112CCC::Parameter1Click() { ShowWindow(d.Parameter); }
void TVo3112CCC::Fehler1Click() { ShowWindow(d.Fehler); }

void TVo3112CCC::Konfiguration1Click()
{
    if (!d.DeviceConfigForm)
        return;
    // Modal without blocking the caller: the event loop keeps the link and the
    // cycle running while the dialog is open.
    d.DeviceConfigForm->setWindowModality(Qt::ApplicationModal);
    ShowWindow(d.DeviceConfigForm);
}

void TVo3112CCC::Analog1Click() { ShowWindow(d.ParaAna); }
void TVo3112CCC::AnalogIn32Bit1Click() { ShowWindow(d.ParaAnaIn32Bit); }
void TVo3112CCC::AnalogOut1Click() { ShowWindow(d.ParaAnaOut); }
void TVo3112CCC::Digital1Click() { ShowWindow(d.ParaDig); }
void TVo3112CCC::Allgemein1Click() { ShowWindow(d.AllgePara); }

void TVo3112CCC::closeEvent(QCloseEvent *event)
{
    event->accept();
    QCoreApplication::quit();
}
