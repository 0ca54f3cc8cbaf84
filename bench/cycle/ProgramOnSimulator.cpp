#include "ProgramOnSimulator.h"

#include "link/TSIOTransfer.h"
#include "monitor/TVo3112CCC.h"
#include "station/TDeviceConfigForm.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>

bool RunUntil(const std::function<bool()> &done, int timeoutMs)
{
    if (done())
        return true;
    QEventLoop loop;
    // The predicate is looked at now and then; the deadline ends the wait.
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    look.start(5);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

ProgramOnSimulator::ProgramOnSimulator(quint16 port)
{
    QFile ini(folder_.filePath(QStringLiteral("Modbus.ini")));
    if (!ini.open(QIODevice::WriteOnly)) {
        error_ = QStringLiteral("cannot write ") + ini.fileName();
        return;
    }
    ini.write("[Schnittstelle]\nEthernet=1\nEthAdresse=127.0.0.1\nEthPort=" + QByteArray::number(port) + "\n");
    ini.close();
    station_ = std::make_unique<Station>(QStringList{}, folder_.path());
    station_->d.setMessageSink(&sink_);
    station_->start();

    ProgramState &dk = d();
    dk.SIOTransfer->CBoShowMessage->setChecked(false); // no "connected" box
    dk.SIOTransfer->OKClick();
    if (!RunUntil([&] { return dk.TcpConnected == 1; }, 5000)) {
        error_ = QStringLiteral("no TCP connection to the simulator on port %1").arg(port);
        return;
    }
    dk.DeviceConfigForm->BReadConfigClick();
    if (!RunUntil([&] { return dk.StationConfig.ConfigValid == 1; }, 10000)) {
        error_ = QStringLiteral("the configuration read did not finish");
        return;
    }
    // The read ends with an information box; anything else is a fault.
    for (const MessageRequest &box : sink_.boxes)
        if (box.kind != MessageKind::Information)
            error_ = QStringLiteral("configuration read: ") + box.text;
    sink_.clear();
}

ProgramOnSimulator::~ProgramOnSimulator() = default;

void ProgramOnSimulator::setDataTimeout(int ms)
{
    d().Vo3112CCC->Edit1->setText(QString::number(ms));
    d().Vo3112CCC->Edit1Change();
}

void ProgramOnSimulator::setParaTimeout(int ms)
{
    d().Vo3112CCC->Edit2->setText(QString::number(ms));
    d().Vo3112CCC->Edit2Change();
}
