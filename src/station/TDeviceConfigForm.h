#pragma once
// The configuration window: reads the coupler's identity and slot list and
// derives the station tables every other window sizes its requests from.
#include "app/TForm.h"
#include "link/Exchange.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <array>

class IntegerField;

class TDeviceConfigForm : public TForm
{
    Q_OBJECT
public:
    explicit TDeviceConfigForm(Deklarat &d);

    QLabel *Label1;
    QLineEdit *EdProdukt;
    QLabel *Label2;
    QLineEdit *EdInfo;
    QLabel *Label3;
    QLineEdit *EdVersion;
    QTableWidget *SGModuls;
    QTableWidget *SGKonfig;
    QPlainTextEdit *MDataTransfer;
    QLabel *Label4;
    QLineEdit *EHexID;
    QPushButton *BReadConfig;
    QPushButton *BCancel;
    QTimer *TimerIdentity;
    QTimer *TimerSlotList;
    QTimer *TimerHint;
    QLabel *HintWindow;

    // Catalogue identifier shown in grid columns 1..10 (index 0 unused).
    std::array<quint8, 11> ColumnIds{};
    int ReplyRetries = 0;
    QPoint LastMousePos;

    void FormCreate();
    void FormActivate();
    void EHexIDChange();
    void EHexIDExit();
    // Unit identifiers a request may go to: 0 is the serial line's broadcast.
    static constexpr qint64 MinSlaveAddress = 0x01;
    static constexpr qint64 MaxSlaveAddress = 0xF7;
    IntegerField *SlaveAddressField = nullptr;
    void BReadConfigClick();
    void BCancelClick();
    void TimerIdentityTimer();
    void TimerSlotListTimer();
    void TimerHintTimer();
    void SGModulsClick(int column, int row);
    void SGModulsDblClick(int column, int row);
    void SGModulsMouseMove(const QPoint &pos);

    // What a grid cell shows; used by the painting delegates.
    void SGModulsDrawCell(QPainter *painter, int column, int row, const QRect &rect) const;
    void SGKonfigDrawCell(QPainter *painter, int column, int row, const QRect &rect) const;

    // Hint text for a column of row 2.
    QString HintText(int column) const;
    QString DataSheetFile(int column) const;

signals:
    // The station was read: the parameter records and panels follow it.
    void configurationRead();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class ReplyCheck { Waiting, TimedOut, Arrived };
    // The start of both reply checks: waits on while retries are left, logs the
    // timeout, or takes a reply of our unit and function code.
    ReplyCheck checkReply();
    void sendRequest(quint8 length, QTimer *replyTimer);
    // An exception reply: logged and shown with its text; true if it was one.
    bool reportedException(const QString &log);
    void logLine(const QString &line);
    void showSlaveAddress();
    void storeSlaveAddress(qint64 address);
    void sendIdentityRequest();
    void sendSlotListRequest();
    void finishSlotListCheck();
    void showReadFailed();
    void redrawGrids();
    QImage emptySlot_;
    QImage brandedEmptySlot_;
    Exchange exchange_{d, ReplyRetries};
};
