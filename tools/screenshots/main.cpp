// Screenshots of windows that need a station behind them, for docs/screenshots.
// Run on a display of the size to be shown, e.g.
//   Xvfb :99 -screen 0 1366x768x24 &  DISPLAY=:99 build/vo3112shots docs/screenshots
// It saves the whole screen with the window on it, so that what does not fit
// shows as cut off.
#include "app/Deklarat.h"
#include "app/Station.h"
#include "monitor/TVo3112CCC.h"
#include "parameters/TParaDig.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QThread>

#include <cstdio>

namespace
{

void settle(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QSize screen = QGuiApplication::primaryScreen()->size();
    const QString size = QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height());

    RecordingMessageSink sink; // nobody clicks boxes away here
    Station station({}, QCoreApplication::applicationDirPath());
    ProgramState &d = station.d;
    d.setMessageSink(&sink);
    station.start();
    d.Vo3112CCC->hide();

    // A station with nine digital output modules of eight channels.
    d.StationConfig.ConfigValid = 1;
    d.StationConfig.DigOutCount = 72;
    d.StationConfig.DigOutModuleCount = 9;
    TParaDig *w = d.ParaDig;
    for (int n = 1; n <= 72; ++n)
        w->FailStates.choose(n, static_cast<DigOutChoice>(n % 3));

    const struct {
        quint8 language;
        const char *suffix;
    } languages[] = {{0, "de"}, {1, "en"}};
    int failures = 0;
    for (const auto &l : languages) {
        SelectLanguage(d, l.language);
        w->show();
        w->move(0, 0);
        w->activateWindow();
        settle(500);
        w->FormActivate();
        w->ShowFailStates();
        settle(300);
        const QString path = QStringLiteral("%1/digital-params-%2-%3.png").arg(folder, size, QLatin1String(l.suffix));
        const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
        if (!shot.save(path))
            ++failures;
        std::printf("%s: window %dx%d at %d,%d on %s\n", qPrintable(path), w->frameGeometry().width(),
                    w->frameGeometry().height(), w->frameGeometry().x(), w->frameGeometry().y(), qPrintable(size));
        w->hide();
    }
    return failures == 0 ? 0 : 1;
}
