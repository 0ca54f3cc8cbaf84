#include "app/Station.h"

#include "diagnostics/TAlarmMaske.h"
#include "diagnostics/TFehler.h"
#include "link/TSIOTransfer.h"
#include "link/Transport.h"
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

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QWindow>

Station::Station(const QStringList &arguments, const QString &programFolder)
{
    d.Arguments = arguments;
    QString folder = QDir::fromNativeSeparators(programFolder);
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    d.ProgramFolder = folder;
    d.setMessageSink(&dialogs_);
}

Station::~Station()
{
    automation.reset(); // the pipe server stops before the windows go
    if (link)
        link->setMonitor(nullptr);
    d.Status = nullptr;
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
    // The link exists before any window: the interface window opens and
    // closes it, the others send on it. The cycle and the automation sit on
    // the link, beneath the windows that show them.
    link = std::make_unique<Transport>(d);
    d.Link = link.get();
    cycle = std::make_unique<CycleEngine>(d);
    automation = std::make_unique<AutomationController>(d, *cycle);
    create(*this, w.Vo3112CCC);
    link->setMonitor(w.Vo3112CCC);
    d.Status = w.Vo3112CCC;
    // A box's return of the activation that went to another window is settled.
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        QObject::connect(app, &QGuiApplication::focusWindowChanged, w.Vo3112CCC, [this](QWindow *window) {
            auto *returning = qobject_cast<QWidget *>(d.activation().returning());
            if (!window || !returning || returning->windowHandle() == window)
                return;
            if (qobject_cast<QMessageBox *>(QApplication::activeWindow()))
                return; // a box, perhaps one on top of the first
            d.activation().returnWentElsewhere();
        });
    w.Vo3112CCC->show();
    create(*this, w.DeviceConfigForm);
    create(*this, w.ParaDig);
    create(*this, w.Fehler);
    create(*this, w.SIOTransfer);
    create(*this, w.ParaAna);
    create(*this, w.Cont, *cycle);
    create(*this, w.AboutBox);
    create(*this, w.OKBottomDlg);
    create(*this, w.AllgePara);
    create(*this, w.ParaAnaOut);
    create(*this, w.ParaAnaIn32Bit);
    create(*this, w.AlarmMaske);
    create(*this, w.Parameter);
    create(*this, w.Statistik);
    create(*this, w.Trend);
    w.Fehler->AlarmMaske = w.AlarmMaske;
    wireMenu();
    wireConfiguration();
    wireCycle();
}

void Station::wireMenu()
{
    QObject::connect(w.Vo3112CCC, &TVo3112CCC::windowWanted, w.Vo3112CCC, [this](MenuWindow which) {
        switch (which) {
        case MenuWindow::AboutBox:
            return ShowWindow(w.AboutBox);
        case MenuWindow::OKBottomDlg:
            return ShowWindow(w.OKBottomDlg);
        case MenuWindow::SIOTransfer:
            return ShowWindow(w.SIOTransfer);
        case MenuWindow::Cont:
            return ShowWindow(w.Cont);
        case MenuWindow::Parameter:
            return ShowWindow(w.Parameter);
        case MenuWindow::Fehler:
            return ShowWindow(w.Fehler);
        case MenuWindow::Statistik:
            return ShowWindow(w.Statistik);
        case MenuWindow::Trend:
            return ShowWindow(w.Trend);
        case MenuWindow::DeviceConfigForm:
            // Modal without blocking the caller: the event loop keeps the link
            // and the cycle running while the dialog is open.
            w.DeviceConfigForm->setWindowModality(Qt::ApplicationModal);
            return ShowWindow(w.DeviceConfigForm);
        case MenuWindow::ParaAna:
            return ShowWindow(w.ParaAna);
        case MenuWindow::ParaAnaIn32Bit:
            return ShowWindow(w.ParaAnaIn32Bit);
        case MenuWindow::ParaAnaOut:
            return ShowWindow(w.ParaAnaOut);
        case MenuWindow::ParaDig:
            return ShowWindow(w.ParaDig);
        case MenuWindow::AllgePara:
            return ShowWindow(w.AllgePara);
        }
    });
    QObject::connect(w.Cont, &TCont::TrendWindowWanted, w.Trend, [this] { ShowWindow(w.Trend); });
    QObject::connect(w.Cont, &TCont::ConfigurationWindowWanted, w.Vo3112CCC, &TVo3112CCC::Konfiguration1Click);
}

void Station::wireConfiguration()
{
    // The parameter records follow the station as it is now, before the
    // panel says so.
    QObject::connect(w.DeviceConfigForm, &TDeviceConfigForm::configurationRead, w.Parameter,
                     &TParameter::DefaultDataLaden);
}

void Station::wireCycle()
{
    TVo3112CCC *main = w.Vo3112CCC;
    TCont *cont = w.Cont;
    QObject::connect(main, &TVo3112CCC::dataTimeoutChanged, cont, &TCont::DataTimeoutChanged);
    QObject::connect(cycle.get(), &CycleEngine::InputsDecoded, w.Trend, &TTrend::AddImage);

    AutomationController *a = automation.get();
    QObject::connect(a, &AutomationController::CaptionSuffixWanted, main, [main](const QString &suffix) {
        QGuiApplication::setApplicationDisplayName(QStringLiteral("vo3112ccc") + suffix);
        main->setCaptionSuffix(suffix);
    });
    QObject::connect(a, &AutomationController::OpenLinkWanted, w.SIOTransfer, &TSIOTransfer::OKClick);
    QObject::connect(a, &AutomationController::CloseLinkWanted, w.SIOTransfer, &TSIOTransfer::BClosePortClick);
    QObject::connect(a, &AutomationController::ReadConfigurationWanted, w.DeviceConfigForm,
                     &TDeviceConfigForm::BReadConfigClick);
    QObject::connect(a, &AutomationController::ReadDmsParametersWanted, w.ParaAnaIn32Bit, [this] {
        w.ParaAnaIn32Bit->FormActivate();
        w.ParaAnaIn32Bit->ReadAnaInClick();
    });
    QObject::connect(a, &AutomationController::StartCycleWanted, cont, [cont] {
        cont->FormActivate();
        cont->BStartClick();
    });
    QObject::connect(a, &AutomationController::OutputBitsSet, cont, &TCont::ShowOutputBits);
    a->begin();
}
