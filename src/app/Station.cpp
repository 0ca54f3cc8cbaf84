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
    while (!windows.empty())
        windows.pop_back();
}

namespace
{

template <typename Window> Window *create(Station &s, Window *&slot)
{
    auto window = std::make_unique<Window>(s.d);
    slot = window.get();
    s.windows.push_back(std::move(window));
    return slot;
}

} // namespace

void Station::start()
{
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
    create(*this, d.Cont);
    create(*this, d.AboutBox);
    create(*this, d.OKBottomDlg);
    create(*this, d.AllgePara);
    create(*this, d.ParaAnaOut);
    create(*this, d.ParaAnaIn32Bit);
    create(*this, d.AlarmMaske);
    create(*this, d.Parameter);
    create(*this, d.Statistik);
    create(*this, d.Trend);
}
