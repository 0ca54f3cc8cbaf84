#pragma once
// The interface window: how the coupler is reached (serial line or TCP), the
// link itself, and the interface keys of Modbus.ini.
#include "app/TForm.h"
#include "link/LinkOpen.h"
#include "link/Transport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

// The address field: opening its list or pressing Enter runs the history rule.
class TAddressComboBox : public QComboBox
{
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void showPopup() override;

signals:
    void dropDown();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

class TSIOTransfer : public TForm
{
    Q_OBJECT
public:
    explicit TSIOTransfer(Deklarat &d);
    ~TSIOTransfer() override;

    QCheckBox *CBoEthernet;
    QGroupBox *GroupBox1;
    QComboBox *CoBoCom;
    QLabel *Label1;
    QComboBox *CoBoFrame;
    QLabel *Label2;
    QComboBox *CoBoBaud;
    QCheckBox *RS485Enable;
    QCheckBox *RTS;
    QCheckBox *DTR;
    QGroupBox *GBEthernet;
    TAddressComboBox *CBAdresse;
    QLabel *Label3;
    QSpinBox *SEPort;
    QCheckBox *CBoShowMessage;
    QPushButton *OK;
    QPushButton *Cancel;
    QPushButton *BClosePort;

    Transport *Link;
    // Bounds a TCP connect to an address that never answers.
    QTimer *ConnectTimer;
    int ConnectTimeoutMs = DefaultConnectTimeoutMs;

    // The link values kept between uses of the dialog.
    int ComNumber = 3; // 1..4
    int BaudRate = 38400;
    int FrameFormat = 4; // 1..4
    int SelectedHistoryIndex = 0;

    void FormCreate();
    void CBoEthernetClick();
    void RS485EnableClick();
    void OKClick();
    void CancelClick();
    void FormClose();
    void BClosePortClick();
    void CoBoChange();
    void CBAdresseSelect(int index);
    void CBAdresseDropDown();

    void ClientSocketConnect();
    void ClientSocketDisconnect();
    void ClientSocketError(QAbstractSocket::SocketError error);
    void ConnectTimerTimer();
    // The open serial port's device went away.
    void SerialPortLost();

    void Daten_Transfer(quint8 length) { Link->Daten_Transfer(length); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void takeLinkValuesFromCombos();
    void restoreFromSettings();
    enum class SerialOpenResult { Opened, Reported, OtherFailure };
    SerialOpenResult openSerialPort();
    void setStatusPanel1(const QString &text);
    // `detail`: where and why, for the send monitor (empty: nothing to add).
    void connectionMessage(const QString &text, const QString &detail = QString());
    void connectFailed(const QString &reason);
    // A run nobody watches: AUTO on the command line, or a restart under way.
    bool unattended() const;
    void linkNote(const QString &text);
    bool portLost_ = false;
    QString connectTarget_; // "address:port" of the last connect
};
