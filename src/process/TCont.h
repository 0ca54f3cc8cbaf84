#pragma once
// The control window: the cyclic process data exchange with the coupler, the
// display of the inputs, the entry of the outputs and the process value log.
#include "app/TForm.h"
#include "link/Exchange.h"
#include "process/CyclePacer.h"
#include "process/ProcessImage.h"
#include "process/TServerThread.h"
#include "process/ValueFreshness.h"
#include "process/ValueLog.h"

#include <QCheckBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <array>
#include <functional>

class QPainter;
class QStyleOptionViewItem;
class QModelIndex;

class TCont : public TForm
{
    Q_OBJECT
public:
    explicit TCont(Deklarat &d);

    // Band 1: digital inputs; band 2: digital outputs. Index = slot 1..9.
    QGroupBox *GroupBox1;
    QGroupBox *GroupBox2;
    std::array<QGroupBox *, SlotCount + 1> InputGroups{};  // GroupBox6 .. GroupBox14
    std::array<QGroupBox *, SlotCount + 1> OutputGroups{}; // GroupBox15 .. GroupBox23
    std::array<QCheckBox *, 145> CheckBox{};               // CheckBox1 .. CheckBox144
    std::array<QLineEdit *, 19> Edit{};                    // Edit1 .. Edit18
    std::array<QLabel *, 21> Label{};                      // Label1 .. Label20

    // Band 3: analog values.
    QWidget *PAnalog;
    QLabel *LAnaInput;
    QTableWidget *SG_ProValueIn;
    QLabel *LAnaOutput;
    QTableWidget *SG_ProValueOut;
    // Shown while the inputs are not the coupler's current values.
    QLabel *LNotCurrent;

    // Band 4: log and cycle buttons.
    QWidget *PBottom;
    QPushButton *BSave;
    QLineEdit *ESaveTime;
    QPushButton *BStart;
    QPushButton *BStop;
    QPushButton *BBack;
    QPushButton *BTrend; // opens the trend window

    QTimer *Anfrage;
    QTimer *Antwort;
    QTimer *Timer1;
    QTimer *SaveTimer;
    QTimer *TimerAutoRestart; // watches the sequence after a restart request
    QTimer *DisplayTimer;     // paces showing the inputs
    static constexpr int DisplayPeriodMs = 100;

    quint8 CycleRunning = 0;
    int ResponseRetries = 0;
    quint8 Logging = 0;

    static constexpr const char *LogFileName = "data_log.csv";
    // Zero point of the log's seconds: the program start, taken at creation.
    QDateTime LogTimeBase;

    // Check box of bit 0..7 of slot 1..9.
    QCheckBox *inputCheckBox(int slot, int bit) const;
    QCheckBox *outputCheckBox(int slot, int bit) const;

    void FormActivate();
    void BStartClick();
    void BStopClick();
    void BBackClick();
    void BTrendClick();
    void AnfrageTimer();
    void AntwortTimer();
    void Timer1Timer();
    // Decodes the analog inputs of the reply in RxFrame into the image.
    void analog_Input_ist_update();
    void ShowAnalogInputs();
    void ShowDigitalInputs();
    void DisplayTimerTimer();
    // An output check box (CheckBox73 .. CheckBox144) was clicked or set.
    void OutputCheckBoxClick(int number);
    void SG_ProValueInExit();
    void SG_ProValueOutExit();
    // A cell of the output grid was committed: a value is taken, anything
    // else reported and the cell given back its last value.
    void SG_ProValueOutCellChange(int row, int column);
    // DataTimeout changed: a waiting request or reply check takes the new
    // period at once.
    void DataTimeoutChanged();
    void SG_ProValueInDrawCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index);
    void SG_ProValueOutDrawCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index);

    void BSaveClick();
    void SaveTimerTimer();
    void ESaveTimeExit();

    // Pipe interface and automatic restart
    void AutoRestart();
    void TimerAutoRestartTimer();
    void ApplyPipeRequest(const PipeMessage &request);
    PipeMessage CurrentPipeResponse() const;

    const ValueFreshness &freshness() const { return freshness_; }
    TServerThread *pipeServer() const { return pipeServer_.get(); }

    // Whether the unattended start is still stepping (the restart waits for it).
    std::function<bool()> autostartRunning;

signals:
    // A process data reply was decoded into AnaInAllValues and DigInBytes.
    void InputsDecoded();
    void trendWanted();
    // The station is not configured: the configuration window instead.
    void configurationWanted();
    // The restart command went out: the coupler drops the TCP connection.
    void closePortWanted();
    // The restart runs the unattended start again.
    void autostartWanted();

protected:
    void activated() override { FormActivate(); }

private:
    void buildDigitalBand(QGroupBox *band, bool inputs);
    void buildAnalogBand();
    void buildBottomBand();
    void connectHandlers();
    void FormCreate();
    void focusChanged(QWidget *old, QWidget *now);
    void reportMissingConfiguration();
    void layOutSlotGroups();
    void setUpGrid(QTableWidget *grid, int channels);
    void takeAnalogOutputs();
    std::array<QString, MaxAnalogChannels> outputTexts_; // last taken text per output row
    bool fillingOutputs_ = false;
    void stopLogging();
    void logFileFailed(const QString &error);

    DigitalInputLayout shownInputs_;
    // What the input grid shows, so that a cycle rewrites only changed cells.
    AnalogInTable shownAnaIn_{};
    int decodedAnaIn_ = 0;      // channels of the last reply
    bool imageWaiting_ = false; // a reply not shown yet
    void imageChanged();
    ValueFreshness freshness_;
    QPalette liveInputPalette_;
    // Greys the inputs and shows the line while they are not current.
    void showFreshness();
    // Texts looked up at run time, again after a language switch.
    void setGridHeadings(QTableWidget *grid);
    void languageChanged();
    ValueLogFile log_;
    QString logPath_; // where the current recording goes
    Exchange cycleExchange_{d, ResponseRetries};
    CyclePacer pacer_;
    QElapsedTimer cycleClock_;
    bool reportingMissingConfiguration_ = false;
    void startPipeServer();
    // Declared in this order: the server thread stops before its bridge goes.
    PipeBridge pipeBridge_;
    std::unique_ptr<TServerThread> pipeServer_;
};
