#include "app/Station.h"

#include "diagnostics/TAlarmMaske.h"
#include "diagnostics/TFehler.h"
#include "link/TSIOTransfer.h"
#include "monitor/TAboutBox.h"
#include "monitor/TStatistik.h"
#include "monitor/TVo3112CCC.h"
#include "parameters/TAllgePara.h"
#include "parameters/TParaAna.h"
#include "parameters/TParaAnaIn32Bit.h"
#include "parameters/TParaAnaOut.h"
#include "parameters/TParaDig.h"
#include "parameters/TParameter.h"
#include "process/AutomationController.h"
#include "process/CycleEngine.h"
#include "process/TCont.h"
#include "process/TTrend.h"
#include "station/TDeviceConfigForm.h"
#include "translation/TOKBottomDlg.h"

#include <QDir>
#include <QGuiApplication>
#include <QWindow>

Station::Station(const QStringList &arguments, const QString &programFolder)
{
    d.Arguments = arguments;
    QString folder = QDir::fromNativeSeparators(programFolder);
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    d.ProgramFolder = folder;
}

Station::~Station()
{
    automation.reset(); // the pipe server stops before the windows go
    while (!windows.empty())
        windows.pop_back();
}

namespace
{

template <typename Window, typename... Parts> Window *create(Station &s, Window *&slot, Parts &...parts)
{
    auto window = std::make_unique<Window>(s.d, parts...);
    slot = window.get();
    s.windows.push_back(std::move(window));
    return slot;
}

} // namespace

void Station::start()
{
    cycle = std::make_unique<CycleEngine>(d);
    automation = std::make_unique<AutomationController>(d, *cycle);
    create(*this, d.Vo3112CCC);
    // A box's return of the activation that went to another window is settled.
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        QObject::connect(app, &QGuiApplication::focusWindowChanged, d.Vo3112CCC,
                         [this](QWindow *window) { d.activation().focusMoved(window); });
    d.Vo3112CCC->show();
    create(*this, d.DeviceConfigForm);
    create(*this, d.ParaDig);
    create(*this, d.Fehler);
    create(*this, d.SIOTransfer);
    create(*this, d.ParaAna);
    create(*this, d.Cont, *cycle);
    create(*this, d.AboutBox);
    create(*this, d.OKBottomDlg);
    create(*this, d.AllgePara);
    create(*this, d.ParaAnaOut);
    create(*this, d.ParaAnaIn32Bit);
    create(*this, d.AlarmMaske);
    create(*this, d.Parameter);
    create(*this, d.Statistik);
    create(*this, d.Trend);
    wireCycle(*d.Vo3112CCC, *d.Cont, *d.Trend, *d.SIOTransfer, *d.DeviceConfigForm, *d.ParaAnaIn32Bit);
}

void Station::wireCycle(TVo3112CCC &main, TCont &cont, TTrend &trend, TSIOTransfer &link, TDeviceConfigForm &config,
                        TParaAnaIn32Bit &dms)
{
    QObject::connect(cycle.get(), &CycleEngine::InputsDecoded, &trend, &TTrend::AddImage);
    QObject::connect(&cont, &TCont::TrendWindowWanted, &trend, [&trend] { ShowWindow(&trend); });
    QObject::connect(&cont, &TCont::ConfigurationWindowWanted, &main, &TVo3112CCC::Konfiguration1Click);

    AutomationController *a = automation.get();
    QObject::connect(a, &AutomationController::CaptionSuffixWanted, &main, [&main](const QString &suffix) {
        QGuiApplication::setApplicationDisplayName(QStringLiteral("vo3112ccc") + suffix);
        main.setCaptionSuffix(suffix);
    });
    QObject::connect(a, &AutomationController::OpenLinkWanted, &link, &TSIOTransfer::OKClick);
    QObject::connect(a, &AutomationController::CloseLinkWanted, &link, &TSIOTransfer::BClosePortClick);
    QObject::connect(a, &AutomationController::ReadConfigurationWanted, &config, &TDeviceConfigForm::BReadConfigClick);
    QObject::connect(a, &AutomationController::ReadDmsParametersWanted, &dms, [&dms] {
        dms.FormActivate();
        dms.ReadAnaInClick();
    });
    QObject::connect(a, &AutomationController::StartCycleWanted, &cont, [&cont] {
        cont.FormActivate();
        cont.BStartClick();
    });
    QObject::connect(a, &AutomationController::OutputBitsSet, &cont, &TCont::ShowOutputBits);
    a->begin();
}
