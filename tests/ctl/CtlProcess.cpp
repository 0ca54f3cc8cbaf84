#include "CtlProcess.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

QJsonObject CtlRun::json() const
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(out, &error);
    // One document and one line: a second document would not parse.
    if (error.error != QJsonParseError::NoError || !document.isObject() || out.count('\n') != 1)
        return {};
    return document.object();
}

CtlRun RunCtl(const QStringList &arguments, const CtlPlace &place, int timeoutMs)
{
    QTemporaryDir freshHome;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Never the user's own settings: the run's HOME decides ~/.config.
    env.insert(QStringLiteral("HOME"), place.home.isEmpty() ? freshHome.path() : place.home);
    env.remove(QStringLiteral("XDG_CONFIG_HOME"));
    // No display of any kind: every run proves the program needs none.
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    QProcess process;
    process.setProcessEnvironment(env);
    if (place.asNobody) {
        QStringList wrapped = {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                               QStringLiteral("--clear-groups"), place.program};
        wrapped += arguments;
        process.start(QStringLiteral("setpriv"), wrapped);
    } else {
        process.start(place.program, arguments);
    }
    CtlRun run;
    QElapsedTimer clock;
    clock.start();
    if (!process.waitForStarted(5000))
        return run;
    const bool ended = process.waitForFinished(timeoutMs);
    run.ms = clock.elapsed();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    if (ended && process.exitStatus() == QProcess::NormalExit)
        run.exit = process.exitCode();
    else
        process.kill();
    return run;
}

QString TcpOf(quint16 port)
{
    return QStringLiteral("127.0.0.1:%1").arg(port);
}
