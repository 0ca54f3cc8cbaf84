#pragma once
#include "app/StatusDisplay.h"
#include "link/Transport.h"
#include "monitor/MonitorLines.h"
#include "translation/Elements.h"
#include "translation/TMultiLang.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <optional>

class Deklarat;
class IntegerField;

// The windows the menu opens; the station shows them.
enum class MenuWindow {
    AboutBox,
    OKBottomDlg,
    SIOTransfer,
    Cont,
    Parameter,
    Fehler,
    Statistik,
    Trend,
    DeviceConfigForm,
    ParaAna,
    ParaAnaIn32Bit,
    ParaAnaOut,
    ParaDig,
    AllgePara,
};

// The main window: menu, status bar, bus monitor and free communication.
class TVo3112CCC : public QMainWindow, public MonitorSink, public StatusDisplay
{
    Q_OBJECT
public:
    explicit TVo3112CCC(Deklarat &d);

    TMultiLang *MultiLang1 = nullptr;
    QString LookupMessage(const QString &id) const { return MultiLang1->LookupMessage(id); }

    QMenu *Datei1;
    QAction *Info1;
    QAction *Sprache1;
    QAction *Beenden1;
    QAction *Schnittstelle1;
    QAction *Steuerung1;
    QAction *Parameter1;
    QAction *Konfiguration1;
    QAction *Fehler1;
    QAction *Statistik1;
    QAction *Trend1;
    QMenu *Parameterfenster1;
    QAction *Analog1;
    QAction *AnalogIn32Bit1;
    QAction *AnalogOut1;
    QAction *Digital1;
    QAction *Allgemein1;
    TStatusBar *StatusBar1;

    QGroupBox *Bus;
    QPlainTextEdit *Transmit;
    QPlainTextEdit *Receive;
    QPlainTextEdit *MDecode; // what the chosen monitor line means
    QPushButton *Active;
    QPushButton *Clear;
    QLabel *LZeilen;
    QComboBox *MonitorLines;
    QLabel *LTraffic; // sum of the traffic statistics
    QLabel *LDataTimeout;
    QLineEdit *Edit1;
    QLabel *LParaTimeout;
    QLineEdit *Edit2;
    QPushButton *Speichern;
    QLabel *LDatei;
    QLineEdit *Edit3;
    QLabel *LedSpeichern;
    QPushButton *BFreeCom;
    QWidget *PFreeCom;
    QTabWidget *TCFreeCom;
    QTableWidget *SGFreeCom;
    QPlainTextEdit *MFreeComDecode; // what the hand-made frame means
    QLabel *LSendenBis;
    QComboBox *CBBytes;
    QPushButton *BFill0x00;
    QPushButton *BSend;
    QPushButton *BAutoSend;
    QLineEdit *EAutoSend;
    QLabel *LMs;
    QTimer *TimerAutoSend;
    QTimer *MonitorFlushTimer; // hands gathered monitor lines to the memos
    static constexpr int MonitorFlushPeriodMs = 250;

    // Window state
    bool MonitorActive = true;
    int MonitorLineLimit = 100;
    bool TrafficSaving = false;
    bool FreeComOpen = false;

    // MonitorSink
    void ShowSendData(const QString &text) override;
    void ShowReceivedData(const QString &text) override;
    void AddSendSeparator() override;
    void AddReceiveSeparator() override;
    void ShowLinkNote(const QString &text) override;

    // A line of the send or receive memo was chosen: MDecode tells what it means.
    void TransmitLineChosen();
    void ReceiveLineChosen();
    void ShowDecodedLine(const QString &line, bool send);
    // The free communication's bytes changed: MFreeComDecode follows them.
    void SGFreeComChange();

    void ActiveClick();
    void ClearClick();
    void MonitorLinesChange(int index);
    // The timeout fields take 1 ms to a minute; other texts are reported when
    // the field is left and the value stays.
    static constexpr qint64 MinTimeoutMs = 1;
    static constexpr qint64 MaxTimeoutMs = 60000;
    IntegerField *DataTimeoutField = nullptr;
    IntegerField *ParaTimeoutField = nullptr;
    void Edit1Change();
    void Edit1Exit();
    void Edit2Change();
    void Edit2Exit();
    void SpeichernClick();
    void BFreeComClick();
    void BFill0x00Click();
    void BSendClick();
    void BAutoSendClick();
    void TimerAutoSendTimer();
    void setCaptionSuffix(const QString &suffix) override;

    // Shows every monitor line gathered so far (the memos get them in batches).
    void flushMonitor();
    int monitorLineCount(bool send) const { return send ? sendMemo_.lineCount() : receiveMemo_.lineCount(); }

    void FormCreate();
    void Info1Click();
    void Sprache1Click();
    void Beenden1Click();
    void Schnittstelle1Click();
    void Steuerung1Click();
    void Parameter1Click();
    void Konfiguration1Click();
    void Fehler1Click();
    void Statistik1Click();
    void Trend1Click();
    void Analog1Click();
    void AnalogIn32Bit1Click();
    void AnalogOut1Click();
    void Digital1Click();
    void Allgemein1Click();

    void ShowSlaveAddress() override;
    void setStatusPanel(int panel, const QString &text) override;
    void setTrafficSummary(const QString &summary) override;

signals:
    void windowWanted(MenuWindow which);
    // "Daten Timeout in ms" took a new value.
    void dataTimeoutChanged();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMonitor();
    void buildFreeCommunication(QWidget *parent);
    void addMonitorLine(MonitorMemo &memo, const QString &prefix, const QString &text);
    void setSavingLight(bool on);
    QAction *addAction(QMenu *menu, const char *name, const QString &caption, void (TVo3112CCC::*handler)());
    QAction *addBarAction(const char *name, const QString &caption, void (TVo3112CCC::*handler)());

    Deklarat &d;
    MonitorMemo sendMemo_{nullptr};
    MonitorMemo receiveMemo_{nullptr};
    TrafficFile traffic_;
    QDateTime monitorBaseUtc_;
    QElapsedTimer lastMonitorFlush_;
    QString captionSuffix_;
    std::optional<std::pair<QString, bool>> decodedLine_; // line shown in MDecode, and whether sent
    void lineAdded();
};

// The byte a free communication cell stands for; nothing for a text that is
// no hex number or one beyond a byte.
std::optional<quint8> FreeComByte(const QString &cell);
