#pragma once
// What a window test needs of the program: a fresh state in its own program
// folder, the line, captured message boxes and a recording status bar. No
// other window exists, and nothing is wired to the window under test.
#include "HandReply.h"
#include "app/Deklarat.h"
#include "app/Messages.h"
#include "app/StatusDisplay.h"
#include "link/Transport.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <array>
#include <memory>
#include <type_traits>

// The main window's status bar panels, caption suffix and traffic sum, as
// other windows set them.
struct RecordingStatus : StatusDisplay {
    explicit RecordingStatus(const Deklarat &d) : d(d) {}
    void setStatusPanel(int panel, const QString &text) override;
    void setCaptionSuffix(const QString &text) override { captionSuffix = text; }
    void setTrafficSummary(const QString &text) override { trafficSummary = text; }
    void ShowSlaveAddress() override;
    QString panelText(int panel) const;

    const Deklarat &d;
    std::array<QString, 3> panels;
    QString captionSuffix;
    QString trafficSummary;
};

// The state and the line without windows, set up as the program start leaves
// them before its first window: settings file and data files in `folder`.
struct BareProgram {
    explicit BareProgram(const QStringList &arguments = {}, QSize screen = QSize(1280, 1024));
    ~BareProgram();
    BareProgram(const BareProgram &) = delete;
    BareProgram &operator=(const BareProgram &) = delete;

    QTemporaryDir folder; // the program folder: Modbus.ini and data go here
    RecordingMessageSink sink;
    Deklarat d;
    RecordingStatus status{d};
    std::unique_ptr<Transport> link; // created before any window, as at start-up
};

// One window of type `W` built on a bare program; destroyed before the line.
// The main window is the line's monitor and the status display, as in the
// program.
template <typename W> struct OneWindow : BareProgram {
    explicit OneWindow(const QStringList &arguments = {}, QSize screen = QSize(1280, 1024))
        : BareProgram(arguments, screen), window(std::make_unique<W>(d)), w(window.get())
    {
        if constexpr (std::is_base_of_v<MonitorSink, W>)
            link->setMonitor(w);
        if constexpr (std::is_base_of_v<StatusDisplay, W>)
            d.Status = w;
    }
    ~OneWindow()
    {
        link->setMonitor(nullptr);
        d.Status = &status;
    }
    OneWindow(const OneWindow &) = delete;
    OneWindow &operator=(const OneWindow &) = delete;
    std::unique_ptr<W> window;
    W *w;
};
