#pragma once
// The control window: shows and drives the process data cycle (the engine),
// displays the inputs, takes the outputs and switches the process value log.
#include "app/TForm.h"
#include "process/CycleEngine.h"
#include "process/ProcessImage.h"

#include <QCheckBox>
#include <QDateTime>
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
    TCont(Deklarat &d, CycleEngine &engine);

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

    CycleEngine &engine;
    // The engine's timers and state, under the window's names.
    QTimer *Anfrage;
    QTimer *Antwort;
    QTimer *Timer1;
    QTimer *SaveTimer;
    QTimer *DisplayTimer; // paces showing the inputs
    static constexpr int DisplayPeriodMs = 100;

    quint8 &CycleRunning;
    int &ResponseRetries;
    quint8 Logging = 0;

    static constexpr const char *LogFileName = "data_log.csv";
    // Zero point of the log's seconds: the program start, taken at creation.
    QDateTime &LogTimeBase;

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

    // The output bits were set from elsewhere (the pipe): the boxes follow.
    void ShowOutputBits();

    const ValueFreshness &freshness() const { return engine.freshness(); }

signals:
    // Timer1 took the window away: the configuration window is wanted.
    void ConfigurationWindowWanted();
    void TrendWindowWanted();

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
    QPalette liveInputPalette_;
    // Greys the inputs and shows the line while they are not current.
    void showFreshness();
    // Texts looked up at run time, again after a language switch.
    void setGridHeadings(QTableWidget *grid);
    void languageChanged();
    bool reportingMissingConfiguration_ = false;
};
