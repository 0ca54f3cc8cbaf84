#pragma once
// Figure 2: how many frames per second the main window's bus monitor takes,
// with the line limit at 1000 and the traffic file on.
#include <QString>

struct MonitorFigures {
    int frames = 0;
    double framesPerSecond = 0;
    double framesPerCpuSecond = 0; // the same over this process's CPU time: less
                                   // swayed by other load on the machine
    long rssKiB[4] = {};           // before, at 10 %, 50 % and 100 % of the run
    qint64 fileLines = 0;
    int sendLines = 0; // left in the memos at the end
    int receiveLines = 0;
    int lineLimit = 0;
    QString error;
};

// With `repaintEachFrame` the event loop runs after every frame, as it does
// when each reply is its own socket event; otherwise every 1000 frames, which
// leaves the monitor's own work.
MonitorFigures MeasureMonitor(int frames, bool repaintEachFrame);
