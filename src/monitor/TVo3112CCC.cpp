#include "monitor/TVo3112CCC.h"

#include "app/Conversions.h"
#include "app/Deklarat.h"
#include "app/IntegerField.h"
#include "app/Named.h"
#include "app/UserFiles.h"
#include "monitor/FrameDecoder.h"
#include "station/ModuleNames.h"
#include "translation/WordLists.h"

#include "app/Messages.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QTextBlock>
#include <QVBoxLayout>

std::optional<quint8> FreeComByte(const QString &cell)
{
    // The cell is read as "$0" followed by its text: hex digits, no sign.
    const std::optional<qint64> number = ParseUserInteger(QStringLiteral("$0") + cell);
    if (!number || *number > 0xFF)
        return std::nullopt;
    return static_cast<quint8>(*number);
}

TVo3112CCC::TVo3112CCC(Deklarat &d) : d(d)
{
    setObjectName(QStringLiteral("TVo3112CCC"));
    setWindowTitle(QStringLiteral("Modbus/TCP Steuerung"));

    Datei1 = menuBar()->addMenu(QStringLiteral("Datei"));
    Datei1->setObjectName(QStringLiteral("Datei1"));
    Info1 = addAction(Datei1, "Info1", QStringLiteral("Info"), &TVo3112CCC::Info1Click);
    Sprache1 = addAction(Datei1, "Sprache1", QStringLiteral("Sprache"), &TVo3112CCC::Sprache1Click);
    Datei1->addSeparator();
    Beenden1 = addAction(Datei1, "Beenden1", QStringLiteral("Beenden"), &TVo3112CCC::Beenden1Click);
    Schnittstelle1 = addBarAction("Schnittstelle1", QStringLiteral("Schnittstelle"), &TVo3112CCC::Schnittstelle1Click);
    Steuerung1 = addBarAction("Steuerung1", QStringLiteral("Steuerung"), &TVo3112CCC::Steuerung1Click);
    Parameter1 = addBarAction("Parameter1", QStringLiteral("Parameter"), &TVo3112CCC::Parameter1Click);
    // The dedicated parameter windows have no entry of their own in the classic
    // menu; a technician still needs to reach them.
    Parameterfenster1 = menuBar()->addMenu(QStringLiteral("Parameterfenster"));
    Parameterfenster1->setObjectName(QStringLiteral("Parameterfenster1"));
    Analog1 = addAction(Parameterfenster1, "Analog1", QStringLiteral("analoge Eingänge"), &TVo3112CCC::Analog1Click);
    AnalogIn32Bit1 = addAction(Parameterfenster1, "AnalogIn32Bit1", QStringLiteral("analoge Eingänge 32Bit"),
                               &TVo3112CCC::AnalogIn32Bit1Click);
    AnalogOut1 =
        addAction(Parameterfenster1, "AnalogOut1", QStringLiteral("analoge Ausgänge"), &TVo3112CCC::AnalogOut1Click);
    Digital1 =
        addAction(Parameterfenster1, "Digital1", QStringLiteral("digitale Ausgänge"), &TVo3112CCC::Digital1Click);
    Allgemein1 = addAction(Parameterfenster1, "Allgemein1", QStringLiteral("Allgemein"), &TVo3112CCC::Allgemein1Click);
    Konfiguration1 = addBarAction("Konfiguration1", QStringLiteral("Konfiguration"), &TVo3112CCC::Konfiguration1Click);
    Fehler1 = addBarAction("Fehler1", QStringLiteral("Fehler"), &TVo3112CCC::Fehler1Click);
    Statistik1 = addBarAction("Statistik1", QStringLiteral("Statistik"), &TVo3112CCC::Statistik1Click);
    Trend1 = addBarAction("Trend1", QStringLiteral("Trend"), &TVo3112CCC::Trend1Click);

    buildMonitor();

    StatusBar1 = new TStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->addPanel(150);
    StatusBar1->addPanel(150);
    StatusBar1->addPanel(50, true);
    setStatusBar(StatusBar1);

    MultiLang1 = AttachTranslation(this, d, TVo3112CCCWords() + FrameDecoderWords(), WindowFonts::Arial(), 0);
    FormCreate();
}

QAction *TVo3112CCC::addAction(QMenu *menu, const char *name, const QString &caption, void (TVo3112CCC::*handler)())
{
    QAction *action = menu->addAction(caption);
    action->setParent(this);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

QAction *TVo3112CCC::addBarAction(const char *name, const QString &caption, void (TVo3112CCC::*handler)())
{
    auto *action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    menuBar()->addAction(action);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void TVo3112CCC::FormCreate()
{
    d.ResponseInterval = 100;
    d.DataTimeout = 100;
    d.ParaTimeout = 500;
    d.TransactionId = 0;
    d.CommandLine = ParseCommandLine(d.Arguments);
    d.BrandMode = d.CommandLine.Valko ? 1 : 0;
    d.ModuleShortNames = BuiltInShortNames(d.BrandMode);
    d.StartTimeStamp = QDateTime::currentDateTime();
    monitorBaseUtc_ = d.StartTimeStamp.toUTC();
    d.SettingsPath = SettingsFileFor(d.ProgramFolder, UserSettingsFolder());
    ShowSlaveAddress();
    StatusBar1->setPanelText(2, QStringLiteral(" keine Konfiguration geladen "));
    connect(MultiLang1, &TMultiLang::translated, this, [this] {
        if (!captionSuffix_.isEmpty())
            setWindowTitle(windowTitle() + captionSuffix_);
        // Decoded frames in the new language.
        if (decodedLine_)
            ShowDecodedLine(decodedLine_->first, decodedLine_->second);
        SGFreeComChange();
        // The list gives the closed panel's caption; an open one closes.
        if (FreeComOpen)
            BFreeCom->setText(LookupMessage(QStringLiteral("@BFreeComClose")));
    });
}

void TVo3112CCC::setCaptionSuffix(const QString &suffix)
{
    if (captionSuffix_.isEmpty())
        setWindowTitle(windowTitle() + suffix);
    captionSuffix_ = suffix;
}

void TVo3112CCC::ShowSlaveAddress()
{
    StatusBar1->setPanelText(0, QStringLiteral(" Slaveadress: ") + HexText(d.SlaveAddress, 2));
}

void TVo3112CCC::setStatusPanel(int panel, const QString &text)
{
    StatusBar1->setPanelText(panel, text);
}

void TVo3112CCC::setTrafficSummary(const QString &summary)
{
    if (LTraffic)
        LTraffic->setText(summary);
}

void TVo3112CCC::Info1Click()
{
    emit windowWanted(MenuWindow::AboutBox);
}
void TVo3112CCC::Sprache1Click()
{
    emit windowWanted(MenuWindow::OKBottomDlg);
}
void TVo3112CCC::Beenden1Click()
{
    close();
}
void TVo3112CCC::Schnittstelle1Click()
{
    emit windowWanted(MenuWindow::SIOTransfer);
}
void TVo3112CCC::Steuerung1Click()
{
    emit windowWanted(MenuWindow::Cont);
}
void TVo3112CCC::Parameter1Click()
{
    emit windowWanted(MenuWindow::Parameter);
}
void TVo3112CCC::Fehler1Click()
{
    emit windowWanted(MenuWindow::Fehler);
}
void TVo3112CCC::Statistik1Click()
{
    emit windowWanted(MenuWindow::Statistik);
}
void TVo3112CCC::Trend1Click()
{
    emit windowWanted(MenuWindow::Trend);
}

void TVo3112CCC::Konfiguration1Click()
{
    emit windowWanted(MenuWindow::DeviceConfigForm);
}

void TVo3112CCC::Analog1Click()
{
    emit windowWanted(MenuWindow::ParaAna);
}
void TVo3112CCC::AnalogIn32Bit1Click()
{
    emit windowWanted(MenuWindow::ParaAnaIn32Bit);
}
void TVo3112CCC::AnalogOut1Click()
{
    emit windowWanted(MenuWindow::ParaAnaOut);
}
void TVo3112CCC::Digital1Click()
{
    emit windowWanted(MenuWindow::ParaDig);
}
void TVo3112CCC::Allgemein1Click()
{
    emit windowWanted(MenuWindow::AllgePara);
}

void TVo3112CCC::closeEvent(QCloseEvent *event)
{
    // Close an open TCP connection first, but never wait for it forever: a
    // coupler that does not answer the close must not keep the program alive.
    if (d.Link && d.Link->ClientSocket->state() != QAbstractSocket::UnconnectedState) {
        QTcpSocket *socket = d.Link->ClientSocket;
        socket->disconnectFromHost();
        if (socket->state() != QAbstractSocket::UnconnectedState) {
            QEventLoop loop;
            QTimer::singleShot(3000, &loop, &QEventLoop::quit);
            connect(socket, &QTcpSocket::disconnected, &loop, &QEventLoop::quit);
            loop.exec();
            if (socket->state() != QAbstractSocket::UnconnectedState)
                socket->abort();
        }
    }
    TimerAutoSend->stop();
    traffic_.close();
    event->accept();
    QCoreApplication::quit();
}

namespace
{

QString hex2(int value)
{
    return HexText(static_cast<quint64>(value), 2);
}

} // namespace

void TVo3112CCC::buildMonitor()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("PMain"));
    auto *layout = new QVBoxLayout(central);

    Bus = named(new QGroupBox(QStringLiteral("Busverkehr"), central), "Bus");
    Transmit = named(new QPlainTextEdit(Bus), "Transmit");
    Receive = named(new QPlainTextEdit(Bus), "Receive");
    for (QPlainTextEdit *memo : {Transmit, Receive}) {
        memo->setReadOnly(true);
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setMinimumSize(360, 260);
        QFont mono(QStringLiteral("Liberation Mono"));
        mono.setStyleHint(QFont::Monospace);
        // Hex digits need no shaping; skipping it halves the cost of laying out a batch.
        mono.setStyleStrategy(QFont::PreferNoShaping);
        memo->setFont(mono);
        // Flat scroll bars: the style's gradients are redrawn with every batch and
        // cost more than the text.
        memo->setStyleSheet(QStringLiteral(
            "QScrollBar:vertical{background:#ececec;width:14px;margin:0}"
            "QScrollBar:horizontal{background:#ececec;height:14px;margin:0}"
            "QScrollBar::handle{background:#b4b4b4;min-height:24px;min-width:24px;border-radius:3px;margin:2px}"
            "QScrollBar::handle:hover{background:#989898}"
            "QScrollBar::add-line,QScrollBar::sub-line{width:0;height:0}"
            "QScrollBar::add-page,QScrollBar::sub-page{background:none}"));
    }
    sendMemo_ = MonitorMemo(Transmit);
    receiveMemo_ = MonitorMemo(Receive);
    sendMemo_.setInitialText(QStringLiteral("Senden"));
    receiveMemo_.setInitialText(QStringLiteral("Empfangen"));
    Active = named(new QPushButton(QStringLiteral("Aktiv"), Bus), "Active");
    Clear = named(new QPushButton(QStringLiteral("Löschen"), Bus), "Clear");
    LZeilen = named(new QLabel(QStringLiteral("Zeilen"), Bus), "LZeilen");
    MonitorLines = named(new QComboBox(Bus), "MonitorLines");
    MonitorLines->setEditable(true);
    MonitorLines->setInsertPolicy(QComboBox::NoInsert);
    MonitorLines->addItems({"10", "20", "50", "100", "200", "500", "1000"});
    MonitorLines->setCurrentIndex(3);
    auto *busLayout = new QGridLayout(Bus);
    busLayout->addWidget(Transmit, 0, 0, 1, 4);
    busLayout->addWidget(Receive, 0, 4, 1, 4);
    busLayout->addWidget(Active, 1, 0);
    busLayout->addWidget(Clear, 1, 1);
    busLayout->addWidget(LZeilen, 1, 2, Qt::AlignRight);
    busLayout->addWidget(MonitorLines, 1, 3);
    LTraffic = named(new QLabel(Bus), "LTraffic");
    busLayout->addWidget(LTraffic, 1, 4, 1, 4);
    MDecode = named(new QPlainTextEdit(Bus), "MDecode");
    MDecode->setReadOnly(true);
    MDecode->setMaximumHeight(150);
    MDecode->setFont(Transmit->font());
    busLayout->addWidget(MDecode, 2, 0, 1, 8);
    layout->addWidget(Bus, 1);

    auto *settings = new QHBoxLayout;
    LDataTimeout = named(new QLabel(QStringLiteral("Daten Timeout in ms"), central), "LDataTimeout");
    Edit1 = named(new QLineEdit(QStringLiteral("100"), central), "Edit1");
    LParaTimeout = named(new QLabel(QStringLiteral("Para Timeout in ms"), central), "LParaTimeout");
    Edit2 = named(new QLineEdit(QStringLiteral("500"), central), "Edit2");
    for (QLineEdit *edit : {Edit1, Edit2})
        edit->setMaximumWidth(70);
    Speichern = named(new QPushButton(QStringLiteral("Speichern"), central), "Speichern");
    LDatei = named(new QLabel(QStringLiteral("Datei:"), central), "LDatei");
    Edit3 = named(new QLineEdit(QStringLiteral("Datenverkehr.txt"), central), "Edit3");
    LedSpeichern = named(new QLabel(central), "LedSpeichern");
    LedSpeichern->setFixedSize(14, 14);
    BFreeCom = named(new QPushButton(QStringLiteral("freie Kommunikation"), central), "BFreeCom");
    settings->addWidget(LDataTimeout);
    settings->addWidget(Edit1);
    settings->addSpacing(12);
    settings->addWidget(LParaTimeout);
    settings->addWidget(Edit2);
    settings->addSpacing(12);
    settings->addWidget(Speichern);
    settings->addWidget(LDatei);
    settings->addWidget(Edit3, 1);
    settings->addWidget(LedSpeichern);
    settings->addSpacing(12);
    settings->addWidget(BFreeCom);
    layout->addLayout(settings);

    buildFreeCommunication(central);
    layout->addWidget(PFreeCom);
    auto *sendRow = new QHBoxLayout;
    BSend = named(new QPushButton(QStringLiteral("Senden"), central), "BSend");
    BAutoSend = named(new QPushButton(QStringLiteral("zykl. Senden"), central), "BAutoSend");
    EAutoSend = named(new QLineEdit(QStringLiteral("1000"), central), "EAutoSend");
    EAutoSend->setMaximumWidth(70);
    LMs = named(new QLabel(QStringLiteral("ms"), central), "LMs");
    sendRow->addWidget(BSend);
    sendRow->addWidget(BAutoSend);
    sendRow->addWidget(EAutoSend);
    sendRow->addWidget(LMs);
    sendRow->addStretch();
    layout->addLayout(sendRow);
    for (QWidget *w :
         {static_cast<QWidget *>(PFreeCom), static_cast<QWidget *>(BSend), static_cast<QWidget *>(BAutoSend),
          static_cast<QWidget *>(EAutoSend), static_cast<QWidget *>(LMs)})
        w->hide();

    TimerAutoSend = new QTimer(this);
    TimerAutoSend->setObjectName(QStringLiteral("TimerAutoSend"));
    MonitorFlushTimer = new QTimer(this);
    MonitorFlushTimer->setObjectName(QStringLiteral("MonitorFlushTimer"));
    MonitorFlushTimer->setSingleShot(true);
    // At most four batches a second: each one repaints both memos, which costs
    // more than the frames themselves on a fast cycle, and nobody reads faster.
    MonitorFlushTimer->setInterval(MonitorFlushPeriodMs);
    connect(MonitorFlushTimer, &QTimer::timeout, this, [this] { flushMonitor(); });
    setSavingLight(false);
    setCentralWidget(central);

    // A line chosen by click or cursor key; lines the monitor adds move no cursor the user holds.
    connect(Transmit, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        if (Transmit->hasFocus())
            TransmitLineChosen();
    });
    connect(Receive, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        if (Receive->hasFocus())
            ReceiveLineChosen();
    });
    connect(SGFreeCom, &QTableWidget::itemChanged, this, [this] { SGFreeComChange(); });
    connect(CBBytes, &QComboBox::currentIndexChanged, this, [this] { SGFreeComChange(); });
    connect(Active, &QPushButton::clicked, this, [this] { ActiveClick(); });
    connect(Clear, &QPushButton::clicked, this, [this] { ClearClick(); });
    connect(MonitorLines, &QComboBox::activated, this, [this](int i) { MonitorLinesChange(i); });
    // A minute is the longest a technician would wait for one reply; 0 would
    // flood the coupler.
    DataTimeoutField = new IntegerField(d, Edit1, MinTimeoutMs, MaxTimeoutMs, [this](qint64 v) {
        d.DataTimeout = static_cast<qint32>(v);
        emit dataTimeoutChanged();
    });
    ParaTimeoutField = new IntegerField(d, Edit2, MinTimeoutMs, MaxTimeoutMs,
                                        [this](qint64 v) { d.ParaTimeout = static_cast<qint32>(v); });
    // The value in force counts at once: the field shows it again after a refusal.
    DataTimeoutField->setShownAfterRefusal([this] { return QString::number(d.DataTimeout); });
    ParaTimeoutField->setShownAfterRefusal([this] { return QString::number(d.ParaTimeout); });
    connect(Speichern, &QPushButton::clicked, this, [this] { SpeichernClick(); });
    connect(BFreeCom, &QPushButton::clicked, this, [this] { BFreeComClick(); });
    connect(BFill0x00, &QPushButton::clicked, this, [this] { BFill0x00Click(); });
    connect(BSend, &QPushButton::clicked, this, [this] { BSendClick(); });
    connect(BAutoSend, &QPushButton::clicked, this, [this] { BAutoSendClick(); });
    connect(TimerAutoSend, &QTimer::timeout, this, [this] { TimerAutoSendTimer(); });
}

void TVo3112CCC::buildFreeCommunication(QWidget *parent)
{
    PFreeCom = named(new QWidget(parent), "PFreeCom");
    TCFreeCom = named(new QTabWidget(PFreeCom), "TCFreeCom");
    auto *page = new QWidget;
    TCFreeCom->addTab(page, QStringLiteral("Kommunikation"));

    SGFreeCom = named(new QTableWidget(6, 17, page), "SGFreeCom");
    SGFreeCom->horizontalHeader()->hide();
    SGFreeCom->verticalHeader()->hide();
    SGFreeCom->horizontalHeader()->setMinimumSectionSize(10);
    SGFreeCom->verticalHeader()->setMinimumSectionSize(10);
    // Cells are 32 x 18: a small font keeps "0x0F" whole.
    QFont cellFont = SGFreeCom->font();
    cellFont.setPixelSize(10);
    SGFreeCom->setFont(cellFont);
    SGFreeCom->setTextElideMode(Qt::ElideNone);
    SGFreeCom->setWordWrap(false);
    SGFreeCom->setStyleSheet(QStringLiteral("QTableWidget::item { padding: 0px; }"));
    for (int c = 0; c < 17; ++c)
        SGFreeCom->setColumnWidth(c, 32);
    for (int r = 0; r < 6; ++r)
        SGFreeCom->setRowHeight(r, 18);
    auto fixedCell = [this](int row, int column, const QString &text) {
        auto *item = new QTableWidgetItem(text);
        item->setFlags(Qt::ItemIsEnabled);
        item->setTextAlignment(Qt::AlignCenter);
        item->setBackground(palette().button());
        SGFreeCom->setItem(row, column, item);
    };
    fixedCell(0, 0, QStringLiteral("hex"));
    for (int c = 1; c <= 16; ++c)
        fixedCell(0, c, QStringLiteral("0x") + hex2(c - 1));
    for (int r = 1; r <= 5; ++r) {
        fixedCell(r, 0, QStringLiteral("0x") + hex2((r - 1) * 16));
        for (int c = 1; c <= 16; ++c) {
            auto *item = new QTableWidgetItem(QStringLiteral("00"));
            item->setTextAlignment(Qt::AlignCenter);
            SGFreeCom->setItem(r, c, item);
        }
    }
    SGFreeCom->setFixedSize(17 * 32 + 4, 6 * 18 + 4);
    SGFreeCom->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SGFreeCom->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    LSendenBis = named(new QLabel(QStringLiteral("Senden bis"), page), "LSendenBis");
    CBBytes = named(new QComboBox(page), "CBBytes");
    CBBytes->addItem(QStringLiteral("NULL"));
    for (int i = 0; i < 80; ++i)
        CBBytes->addItem(QStringLiteral("0x") + hex2(i));
    CBBytes->setCurrentIndex(0);
    BFill0x00 = named(new QPushButton(QStringLiteral("Fülle mit 0"), page), "BFill0x00");

    MFreeComDecode = named(new QPlainTextEdit(page), "MFreeComDecode");
    MFreeComDecode->setReadOnly(true);
    MFreeComDecode->setFixedHeight(6 * 18 + 4);

    auto *pageLayout = new QGridLayout(page);
    pageLayout->addWidget(SGFreeCom, 0, 0, 3, 1);
    pageLayout->addWidget(LSendenBis, 0, 1);
    pageLayout->addWidget(CBBytes, 1, 1);
    pageLayout->addWidget(BFill0x00, 2, 1);
    pageLayout->addWidget(MFreeComDecode, 0, 2, 3, 1);
    auto *panelLayout = new QVBoxLayout(PFreeCom);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(TCFreeCom);
}

void TVo3112CCC::setSavingLight(bool on)
{
    LedSpeichern->setStyleSheet(on ? QStringLiteral("background:#1db31d;border-radius:7px;")
                                   : QStringLiteral("background:#d02020;border-radius:7px;"));
}

void TVo3112CCC::addMonitorLine(MonitorMemo &memo, const QString &prefix, const QString &text)
{
    if (!MonitorActive)
        return;
    // UTC on both sides: the same difference, without a time zone lookup per line.
    const QString line = MonitorLine(prefix, MonitorSeconds(monitorBaseUtc_, QDateTime::currentDateTimeUtc()), text);
    if (TrafficSaving && traffic_.isOpen() && !traffic_.writeLine(line)) {
        // Stop at the first failure: one clear message instead of one per frame.
        const QString reason = traffic_.errorString();
        traffic_.close();
        TrafficSaving = false;
        setSavingLight(false);
        ShowErrorMessage(d, Edit3->text() + QStringLiteral(": ") + reason);
    }
    memo.addLine(line, MonitorLineLimit);
    lineAdded();
}

void TVo3112CCC::lineAdded()
{
    if (MonitorFlushTimer->isActive())
        return;
    // After a rest the line is shown with the next turn of the event loop;
    // while lines keep coming, one batch a period.
    const qint64 since = lastMonitorFlush_.isValid() ? lastMonitorFlush_.elapsed() : MonitorFlushPeriodMs;
    MonitorFlushTimer->start(static_cast<int>(std::max<qint64>(0, MonitorFlushPeriodMs - since)));
}

void TVo3112CCC::flushMonitor()
{
    MonitorFlushTimer->stop();
    lastMonitorFlush_.start();
    sendMemo_.flush();
    receiveMemo_.flush();
}

void TVo3112CCC::ShowSendData(const QString &text)
{
    addMonitorLine(sendMemo_, QStringLiteral("TxD "), text);
}

void TVo3112CCC::ShowReceivedData(const QString &text)
{
    addMonitorLine(receiveMemo_, QStringLiteral("RxD "), text);
}

void TVo3112CCC::AddSendSeparator()
{
    sendMemo_.addLine(QStringLiteral(" "), MonitorLineLimit);
    lineAdded();
}

void TVo3112CCC::AddReceiveSeparator()
{
    receiveMemo_.addLine(QStringLiteral(" "), MonitorLineLimit);
    lineAdded();
}

void TVo3112CCC::ShowLinkNote(const QString &text)
{
    sendMemo_.addLine(text, MonitorLineLimit);
    lineAdded();
}

void TVo3112CCC::ActiveClick()
{
    MonitorActive = !MonitorActive;
    Active->setText(MonitorActive ? QStringLiteral("Active") : QStringLiteral("Not Active"));
    Transmit->setEnabled(MonitorActive);
    Receive->setEnabled(MonitorActive);
}

void TVo3112CCC::ClearClick()
{
    sendMemo_.clear();
    receiveMemo_.clear();
}

void TVo3112CCC::MonitorLinesChange(int index)
{
    bool ok = false;
    const int limit = MonitorLines->itemText(index).toInt(&ok);
    if (ok)
        MonitorLineLimit = limit;
}

void TVo3112CCC::Edit1Change()
{
    DataTimeoutField->changed();
}

void TVo3112CCC::Edit1Exit()
{
    DataTimeoutField->left();
}

void TVo3112CCC::Edit2Change()
{
    ParaTimeoutField->changed();
}

void TVo3112CCC::Edit2Exit()
{
    ParaTimeoutField->left();
}

void TVo3112CCC::SpeichernClick()
{
    if (!TrafficSaving) {
        const OutputPlace place = PlaceOutputFile(Edit3->text());
        QString error;
        if (!traffic_.open(place.path, &error)) {
            ShowErrorMessage(d, place.path + QStringLiteral(": ") + error);
            return;
        }
        if (place.inDocumentsFolder)
            ShowOutputFolderMessage(d, place.path);
        TrafficSaving = true;
        setSavingLight(true);
    } else {
        TrafficSaving = false;
        setSavingLight(false);
        traffic_.close();
    }
}

void TVo3112CCC::BFreeComClick()
{
    const bool show = !FreeComOpen;
    if (show && d.TcpConnected != 1)
        return;
    FreeComOpen = show;
    for (QWidget *w :
         {static_cast<QWidget *>(PFreeCom), static_cast<QWidget *>(BSend), static_cast<QWidget *>(BAutoSend),
          static_cast<QWidget *>(EAutoSend), static_cast<QWidget *>(LMs)})
        w->setVisible(show);
    BFreeCom->setText(LookupMessage(show ? QStringLiteral("@BFreeComClose") : QStringLiteral("@BFreeCom")));
}

void TVo3112CCC::BFill0x00Click()
{
    for (int r = 1; r <= 5; ++r)
        for (int c = 1; c <= 16; ++c)
            SGFreeCom->item(r, c)->setText(QStringLiteral("00"));
}

void TVo3112CCC::BSendClick()
{
    const int k = CBBytes->currentIndex();
    if (k <= 0)
        return;
    // The identifier advances with every press, even when a cell does not convert.
    ++d.TransactionId;
    // Convert every cell first: a bad cell stops the send before a byte changes.
    std::array<quint8, 80> bytes{};
    for (int i = 1; i <= k; ++i) {
        const QTableWidgetItem *cell = SGFreeCom->item((i - 1) / 16 + 1, (i - 1) % 16 + 1);
        const QString text = cell ? cell->text() : QString();
        const std::optional<quint8> byte = FreeComByte(text);
        if (!byte) {
            // A cell beyond one byte is refused rather than sent as its low byte.
            const std::optional<qint64> number = ParseUserInteger(QStringLiteral("$0") + text);
            ReportConversionError(d, number ? OutOfRangeText(text, QStringLiteral("00 .. FF"))
                                            : InvalidIntegerText(QStringLiteral("$0") + text));
            return;
        }
        bytes[static_cast<size_t>(i - 1)] = *byte;
    }
    std::copy(bytes.begin(), bytes.begin() + k, d.TxFrame.begin());
    Daten_Transfer(d, static_cast<quint8>(k));
}

void TVo3112CCC::BAutoSendClick()
{
    if (BAutoSend->text() == QLatin1String("Start")) {
        int period = 1000;
        if (const auto parsed = ParseUserInteger(EAutoSend->text()); parsed && *parsed > 0 && *parsed <= 0x7FFFFFFF)
            period = static_cast<int>(*parsed);
        EAutoSend->setText(QString::number(period));
        TimerAutoSend->setInterval(period);
        BAutoSend->setText(QStringLiteral("Stop"));
        TimerAutoSend->start();
    } else {
        BAutoSend->setText(QStringLiteral("Start"));
        TimerAutoSend->stop();
    }
}

void TVo3112CCC::TimerAutoSendTimer()
{
    BSendClick();
}

void TVo3112CCC::TransmitLineChosen()
{
    ShowDecodedLine(Transmit->textCursor().block().text(), true);
}

void TVo3112CCC::ReceiveLineChosen()
{
    ShowDecodedLine(Receive->textCursor().block().text(), false);
}

void TVo3112CCC::ShowDecodedLine(const QString &line, bool send)
{
    decodedLine_ = std::make_pair(line, send);
    MDecode->setPlainText(DecodedLineText(line, send ? FrameDirection::Request : FrameDirection::Reply,
                                          [this](const QString &id) { return LookupMessage(id); }));
}

void TVo3112CCC::SGFreeComChange()
{
    if (!MFreeComDecode || !MultiLang1)
        return;
    // The grid holds the frame buffer from byte 0: the unit identifier is byte 6.
    const int k = CBBytes->currentIndex();
    QByteArray pdu;
    for (int i = 7; i <= k; ++i) {
        const QTableWidgetItem *cell = SGFreeCom->item((i - 1) / 16 + 1, (i - 1) % 16 + 1);
        const std::optional<quint8> value = FreeComByte(cell ? cell->text() : QString());
        if (!value) {
            MFreeComDecode->clear();
            return;
        }
        pdu.append(static_cast<char>(*value));
    }
    if (pdu.isEmpty()) {
        MFreeComDecode->clear();
        return;
    }
    const DecodedFrame frame = DecodePdu(reinterpret_cast<const quint8 *>(pdu.constData()),
                                         static_cast<int>(pdu.size()), FrameDirection::Request);
    MFreeComDecode->setPlainText(DecodedFrameText(frame, [this](const QString &id) { return LookupMessage(id); }));
}
