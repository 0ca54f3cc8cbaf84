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
    wireCycle();
}

void Station::wireCycle()
{
    TCont *cont = d.Cont;
    TVo3112CCC *main = d.Vo3112CCC;
    QObject::connect(cycle.get(), &CycleEngine::InputsDecoded, d.Trend, &TTrend::AddImage);
    QObject::connect(cont, &TCont::TrendWindowWanted, d.Trend, [this] { ShowWindow(d.Trend); });
    QObject::connect(cont, &TCont::ConfigurationWindowWanted, main, &TVo3112CCC::Konfiguration1Click);

    AutomationController *a = automation.get();
    QObject::connect(a, &AutomationController::CaptionSuffixWanted, main, [main](const QString &suffix) {
        QGuiApplication::setApplicationDisplayName(QStringLiteral("vo3112ccc") + suffix);
        main->setCaptionSuffix(suffix);
    });
    QObject::connect(a, &AutomationController::OpenLinkWanted, d.SIOTransfer, &TSIOTransfer::OKClick);
    QObject::connect(a, &AutomationController::CloseLinkWanted, d.SIOTransfer, &TSIOTransfer::BClosePortClick);
    QObject::connect(a, &AutomationController::ReadConfigurationWanted, d.DeviceConfigForm,
                     &TDeviceConfigForm::BReadConfigClick);
    QObject::connect(a, &AutomationController::ReadDmsParametersWanted, d.ParaAnaIn32Bit, [this] {
        d.ParaAnaIn32Bit->FormActivate();
        d.ParaAnaIn32Bit->ReadAnaInClick();
    });
    QObject::connect(a, &AutomationController::StartCycleWanted, cont, [cont] {
        cont->FormActivate();
        cont->BStartClick();
    });
    QObject::connect(a, &AutomationController::OutputBitsSet, cont, &TCont::ShowOutputBits);
    a->begin();
}
