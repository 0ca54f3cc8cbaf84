#pragma once
// The shared station state: every process-wide item under its own name, and a
// pointer to each window. main() creates one; tests create a fresh one each.
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
#include <memory>

class TVo3112CCC;
class TDeviceConfigForm;
class TParaDig;
class TFehler;
class TSIOTransfer;
class TParaAna;
class TCont;
class TAboutBox;
class TOKBottomDlg;
class TAllgePara;
class TParaAnaOut;
class TParaAnaIn32Bit;
class TAlarmMaske;
class TParameter;
class Transport;
class TStatistik;
class TTrend;

class Deklarat
{
public:
    Deklarat();
    Deklarat(const Deklarat &) = delete;
    Deklarat &operator=(const Deklarat &) = delete;

    // Frame buffers and link state
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

    // Timing
    qint32 ResponseInterval = 100;
    qint32 DataTimeout = 100;
    qint32 ParaTimeout = 500;
    quint16 RetryLimit = 5;

    quint8 StationFlags = 0;
    StationConfiguration StationConfig;

    // Process image and output images
    std::array<qint32, 16> AnaInValues{};                   // the first 16 channels, as the pipe carries them
    std::array<qint32, MaxAnalogChannels> AnaInAllValues{}; // every channel: display and log
    std::array<quint8, 12> DigInBytes{};
    std::array<quint16, MaxAnalogChannels> AnaOutValues{};
    std::array<quint8, SlotCount + 1> DigOutSlotBytes{}; // index 1..9
    std::array<quint8, 12> DigOutBytes{};

    // Module names
    quint8 BrandMode = 0;
    std::array<QString, 256> ModuleShortNames;
    ModuleCatalogueTable ModuleCatalogue; // from the description file of the brand

    // Parameter memory of the station, rebuilt by the overview after every
    // configuration read, and the position whose editor is open.
    StationPositionTable StationPositions;
    quint8 SelectedPosition = 0;

    // Start-up and automation state
    QStringList Arguments; // command-line arguments after the program name
    CommandLineOptions CommandLine;
    quint16 AutostartStep = 0;
    quint8 AutostartConfigAttempts = 0;
    quint8 ReadConfigOnAutostart = 1;
    quint8 PipeControl = 0;
    QDateTime StartTimeStamp;

    // Languages
    quint8 CurrentLanguage = 0;
    TranslationRegistry Translations;

    // Windows, in creation order
    TVo3112CCC *Vo3112CCC = nullptr;
    TDeviceConfigForm *DeviceConfigForm = nullptr;
    TParaDig *ParaDig = nullptr;
    TFehler *Fehler = nullptr;
    TSIOTransfer *SIOTransfer = nullptr;
    TParaAna *ParaAna = nullptr;
    TCont *Cont = nullptr;
    TAboutBox *AboutBox = nullptr;
    TOKBottomDlg *OKBottomDlg = nullptr;
    TAllgePara *AllgePara = nullptr;
    TParaAnaOut *ParaAnaOut = nullptr;
    TParaAnaIn32Bit *ParaAnaIn32Bit = nullptr;
    TAlarmMaske *AlarmMaske = nullptr;
    TParameter *Parameter = nullptr;
    TStatistik *Statistik = nullptr;
    TTrend *Trend = nullptr;

    // The link of the interface window; null until that window exists.
    Transport *Link = nullptr;

    // Where message boxes go; real dialogs unless replaced.
    MessageSink &messages() { return *sink_; }
    void setMessageSink(MessageSink *sink) { sink_ = sink ? sink : &dialogSink_; }
    // Keeps a box's return of the activation from re-running a window's
    // activation steps.
    ActivationGuard &activation() { return activation_; }

    // The common caption of error boxes ("@idERR" of the interface window).
    QString errorCaption() const;

    // Folder of the program file, with a trailing separator.
    QString ProgramFolder;

    // The screen the dedicated parameter windows lay themselves out for; empty
    // for the primary screen. Tests set it to try other screens.
    QSize ForcedScreenSize;

private:
    DialogMessageSink dialogSink_;
    MessageSink *sink_ = &dialogSink_;
    ActivationGuard activation_;
};

// Switches every window to a language and remembers it.
void SelectLanguage(Deklarat &d, quint8 language);
