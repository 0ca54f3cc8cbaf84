#include "NotCurrentScreenshots.h"

#include "../transport/SimulatorProcess.h"
#include "ProgramOnSimulator.h"

#include "app/Deklarat.h"
#include "process/TCont.h"

#include <QDir>
#include <cstdio>
#include <memory>

int TakeNotCurrentScreenshots(const QString &folder, const QString &slotList)
{
    QDir().mkpath(folder);
    auto sim = std::make_unique<SimulatorProcess>(QStringList{QStringLiteral("--slots"), slotList});
    if (sim->port() == 0) {
        std::printf("simulator did not start: %s\n", qPrintable(sim->error()));
        return 1;
    }
    ProgramOnSimulator program(sim->port());
    if (!program.error().isEmpty()) {
        std::printf("%s\n", qPrintable(program.error()));
        return 1;
    }
    ProgramState &d = program.d();
    TCont &cont = *d.Cont;
    cont.show();
    cont.FormActivate();
    // Outputs the simulator loops back, so that the inputs show something.
    cont.outputCheckBox(3, 0)->setChecked(true);
    cont.outputCheckBox(3, 2)->setChecked(true);
    cont.outputCheckBox(4, 1)->setChecked(true);
    cont.BStartClick();
    RunUntil([] { return false; }, 3000);
    // The coupler goes away while the cycle runs.
    sim.reset();
    if (!RunUntil([&] { return !cont.LNotCurrent->isHidden(); }, 10000)) {
        std::printf("the values were never marked as not current\n");
        return 1;
    }
    int failures = 0;
    for (const char *language : {"de", "en"}) {
        SelectLanguage(d, QLatin1String(language) == QLatin1String("en") ? 1 : 0);
        RunUntil([] { return false; }, 500);
        const QString path = folder + QStringLiteral("/control-not-current-%1.png").arg(QLatin1String(language));
        if (!cont.grab().save(path))
            ++failures;
        std::printf("%s: %s (%s)\n", qPrintable(path), qPrintable(cont.LNotCurrent->text()),
                    failures ? "not saved" : "saved");
    }
    SelectLanguage(d, 0);
    cont.BStopClick();
    return failures ? 1 : 0;
}
