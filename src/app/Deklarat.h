#pragma once
// The shared station state: every process-wide item under its own name,
// grouped by concern so that a helper can take only the slice it uses
// (`LineState &` for a frame builder, `ProcessImageState &` for the pipe).
// It holds no window: `Station` wires the windows. main() and vo3112ctl
// create one; tests create a fresh one each.
#include "app/ActivationGuard.h"
#include "app/CommandLine.h"
#include "app/Messages.h"
#include "app/StationTypes.h"
#include "parameters/ParameterRecords.h"
#include "station/ModuleCatalogue.h"
#include "translation/TranslationRegistry.h"

#include <QDateTime>
#include <QSize>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

class StatusDisplay;
class Transport;

// Frame buffers and link state.
struct LineState {
    std::array<quint8, FrameBufferSize> TxFrame{};
    std::array<quint8, FrameBufferSize> RxFrame{};
    quint16 RxCount = 0;
    quint8 TxLength = 0;
    quint16 TransactionId = 0;
    quint8 SlaveAddress = 8;
    quint8 TcpConnected = 0;
    quint8 EthernetSelected = 0;
    QString TxHexText;
    QString SettingsPath = QStringLiteral("Modbus.ini");
    // The link to the coupler, created before any window; null in tests of
    // pure code.
    Transport *Link = nullptr;
};

struct TimingState {
    qint32 ResponseInterval = 100;
    qint32 DataTimeout = 100;
    qint32 ParaTimeout = 500;
    quint16 RetryLimit = 5;
};

// What the configuration read found, and the module names it is shown with.
struct StationState {
    quint8 StationFlags = 0;
    StationConfiguration StationConfig;
    quint8 BrandMode = 0;
    std::array<QString, 256> ModuleShortNames;
    ModuleCatalogueTable ModuleCatalogue; // from the description file of the brand
};

// Process image and output images.
struct ProcessImageState {
    std::array<qint32, 16> AnaInValues{};                   // the first 16 channels, as the pipe carries them
    std::array<qint32, MaxAnalogChannels> AnaInAllValues{}; // every channel: display and log
    std::array<quint8, 12> DigInBytes{};
    std::array<quint16, MaxAnalogChannels> AnaOutValues{};
    std::array<quint8, SlotCount + 1> DigOutSlotBytes{}; // index 1..9
    std::array<quint8, 12> DigOutBytes{};
};

// Parameter memory of the station, rebuilt by the overview after every
// configuration read, and the position whose editor is open.
struct ParameterState {
    StationPositionTable StationPositions;
    quint8 SelectedPosition = 0;
};

// Start-up and automation state.
struct AutomationState {
    QStringList Arguments; // command-line arguments after the program name
    CommandLineOptions CommandLine;
    quint16 AutostartStep = 0;
    quint8 AutostartConfigAttempts = 0;
    quint8 ReadConfigOnAutostart = 1;
    quint8 PipeControl = 0;
    QDateTime StartTimeStamp;
};

struct LanguageState {
    quint8 CurrentLanguage = 0;
    TranslationRegistry Translations;
};

class Deklarat : public LineState,
                 public TimingState,
                 public StationState,
                 public ProcessImageState,
                 public ParameterState,
                 public AutomationState,
                 public LanguageState
{
public:
    Deklarat();
    Deklarat(const Deklarat &) = delete;
    Deklarat &operator=(const Deklarat &) = delete;

    // Where message boxes go: standard error unless the program or a test
    // puts its own sink in.
    MessageSink &messages() { return *sink_; }
    void setMessageSink(MessageSink *sink) { sink_ = sink ? sink : &consoleSink_; }
    // Keeps a box's return of the activation from re-running a window's
    // activation steps.
    ActivationGuard &activation() { return activation_; }

    // The main window's status bar and caption; null: nobody shows them.
    StatusDisplay *Status = nullptr;

    // The common caption of error boxes ("@idERR").
    QString errorCaption() const;

    // Folder of the program file, with a trailing separator.
    QString ProgramFolder;

    // The screen the dedicated parameter windows lay themselves out for; empty
    // for the primary screen. Tests set it to try other screens.
    QSize ForcedScreenSize;

private:
    ConsoleMessageSink consoleSink_;
    MessageSink *sink_ = &consoleSink_;
    ActivationGuard activation_;
};
