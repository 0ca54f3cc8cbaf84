#include "station/TDeviceConfigForm.h"

#include "app/CellPainter.h"
#include "app/Conversions.h"
#include "app/Deklarat.h"
#include "app/IntegerField.h"
#include "app/Messages.h"
#include "app/Named.h"
#include "app/StatusDisplay.h"
#include "link/InterfaceSettings.h"
#include "link/ModbusFrame.h"
#include "link/Transport.h"
#include "station/ModulePictures.h"
#include "station/StationConfigDecode.h"
#include "translation/WordLists.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

namespace
{

constexpr int FallbackPictureWidth = 60;
constexpr int FallbackPictureHeight = 160;

QTableWidget *makeGrid(QWidget *parent, int rows, int columns)
{
    auto *grid = new QTableWidget(rows, columns, parent);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setMinimumSectionSize(1);
    grid->verticalHeader()->setMinimumSectionSize(1);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setFocusPolicy(Qt::NoFocus);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return grid;
}

} // namespace

TDeviceConfigForm::TDeviceConfigForm(Deklarat &d)
    : TForm(d, QStringLiteral("TDeviceConfigForm"), QStringLiteral("Configuration"))
{
    Label1 = named(new QLabel(QStringLiteral("Product"), this), "Label1");
    EdProdukt = named(new QLineEdit(this), "EdProdukt");
    Label2 = named(new QLabel(QStringLiteral("Manufacturer"), this), "Label2");
    EdInfo = named(new QLineEdit(this), "EdInfo");
    Label3 = named(new QLabel(QStringLiteral("Software Version"), this), "Label3");
    EdVersion = named(new QLineEdit(this), "EdVersion");
    SGModuls = named(makeGrid(this, 3, 11), "SGModuls");
    SGKonfig = named(makeGrid(this, 6, 2), "SGKonfig");
    MDataTransfer = named(new QPlainTextEdit(this), "MDataTransfer");
    MDataTransfer->setReadOnly(true);
    MDataTransfer->setLineWrapMode(QPlainTextEdit::NoWrap);
    Label4 = named(new QLabel(QStringLiteral("ID (hex)"), this), "Label4");
    EHexID = named(new QLineEdit(QStringLiteral("08"), this), "EHexID");
    BReadConfig = named(new QPushButton(QStringLiteral("Read Configuration"), this), "BReadConfig");
    BCancel = named(new QPushButton(QStringLiteral("Back"), this), "BCancel");
    TimerIdentity = new QTimer(this);
    TimerIdentity->setObjectName(QStringLiteral("TimerIdentity"));
    TimerSlotList = new QTimer(this);
    TimerSlotList->setObjectName(QStringLiteral("TimerSlotList"));
    TimerHint = new QTimer(this);
    TimerHint->setObjectName(QStringLiteral("TimerHint"));
    TimerHint->setInterval(2500);
    for (QTimer *timer : {TimerIdentity, TimerSlotList, TimerHint})
        timer->setSingleShot(true);
    HintWindow = new QLabel(this, Qt::ToolTip);
    HintWindow->setObjectName(QStringLiteral("HintWindow"));
    HintWindow->setAutoFillBackground(true);
    HintWindow->setPalette(QPalette(QColor(0xFF, 0xFF, 0xE1)));
    HintWindow->setBackgroundRole(QPalette::ToolTipBase);
    HintWindow->setAlignment(Qt::AlignCenter);
    for (QLineEdit *field : {EdProdukt, EdInfo, EdVersion})
        field->setReadOnly(true); // the coupler's texts; the word list has no entry for them

    // Both grids show nothing selected: the background, then the window's drawing.
    SGModuls->setItemDelegate(new CellPainter(
        [this](QPainter *p, const QStyleOptionViewItem &o, const QModelIndex &i) {
            p->save();
            FillCell(p, o.palette, o, i, false);
            SGModulsDrawCell(p, i.column(), i.row(), o.rect);
            p->restore();
        },
        SGModuls));
    SGKonfig->setItemDelegate(new CellPainter(
        [this](QPainter *p, const QStyleOptionViewItem &o, const QModelIndex &i) {
            p->save();
            FillCell(p, o.palette, o, i, false);
            SGKonfigDrawCell(p, i.column(), i.row(), o.rect);
            p->restore();
        },
        SGKonfig));
    SGModuls->setMouseTracking(true);
    SGModuls->viewport()->installEventFilter(this);

    // Typing "100" must not take "10" on the way: the unit is taken when the
    // field is left. 0 is the broadcast of the serial line, above F7 reserved.
    SlaveAddressField = new IntegerField(
        d, EHexID, MinSlaveAddress, MaxSlaveAddress, [this](qint64 v) { storeSlaveAddress(v); }, true,
        IntegerField::Taken::OnLeave);
    connect(BReadConfig, &QPushButton::clicked, this, [this] { BReadConfigClick(); });
    connect(BCancel, &QPushButton::clicked, this, [this] { BCancelClick(); });
    connect(TimerIdentity, &QTimer::timeout, this, [this] { TimerIdentityTimer(); });
    connect(TimerSlotList, &QTimer::timeout, this, [this] { TimerSlotListTimer(); });
    connect(TimerHint, &QTimer::timeout, this, [this] { TimerHintTimer(); });
    connect(SGModuls, &QTableWidget::cellClicked, this, [this](int r, int c) { SGModulsClick(c, r); });
    connect(SGModuls, &QTableWidget::cellDoubleClicked, this, [this](int r, int c) { SGModulsDblClick(c, r); });

    translate(TDeviceConfigFormWords(), WindowFonts::ArialEnglishDesign(), 1);
    // A reply from another unit counts as none.
    exchange_.setUnitChecked(true);
    FormCreate();
}

void TDeviceConfigForm::FormCreate()
{
    if (const std::optional<qint64> address = SlaveAddressField->value())
        d.SlaveAddress = static_cast<quint8>(*address);
    d.ModuleCatalogue = LoadModuleCatalogue(d.ProgramFolder, d.BrandMode);
    emptySlot_ = ModulePicture(EmptySlotPictureFile(d.ProgramFolder, d.BrandMode));
    brandedEmptySlot_ = ModulePicture(EmptySlotPictureFile(d.ProgramFolder, 1));

    const int columnWidth = brandedEmptySlot_.isNull() ? FallbackPictureWidth : brandedEmptySlot_.width();
    const int pictureHeight = brandedEmptySlot_.isNull() ? FallbackPictureHeight : brandedEmptySlot_.height();
    for (int c = 0; c < 11; ++c)
        SGModuls->setColumnWidth(c, columnWidth);
    SGModuls->setRowHeight(0, 24);
    SGModuls->setRowHeight(1, 24);
    SGModuls->setRowHeight(2, pictureHeight);
    SGKonfig->setColumnWidth(0, 220);
    SGKonfig->setColumnWidth(1, 50);
    for (int r = 0; r < 6; ++r)
        SGKonfig->setRowHeight(r, 24);

    // Fixed layout: the grids' sizes follow from their cells.
    const int margin = 8;
    const int gridWidth = 11 * columnWidth + 14;
    const int gridHeight = 24 + 24 + pictureHeight + 6;
    int y = margin;
    const int fieldWidth = (gridWidth - 2 * margin) / 3;
    const QList<std::pair<QLabel *, QLineEdit *>> top = {{Label1, EdProdukt}, {Label2, EdInfo}, {Label3, EdVersion}};
    for (int i = 0; i < top.size(); ++i) {
        const int x = margin + i * (fieldWidth + margin);
        top[i].first->setGeometry(x, y, fieldWidth, 18);
        top[i].second->setGeometry(x, y + 18, fieldWidth, 24);
    }
    y += 18 + 24 + margin;
    SGModuls->setGeometry(margin, y, gridWidth, gridHeight);
    y += gridHeight + 10;
    const int konfigWidth = 220 + 50 + 5;
    const int konfigHeight = 6 * 24 + 9;
    SGKonfig->setGeometry(margin, y, konfigWidth, konfigHeight);
    MDataTransfer->setGeometry(margin + konfigWidth + 10, y, gridWidth - konfigWidth - 10, konfigHeight);
    y += konfigHeight + margin;
    Label4->setGeometry(margin, y + 4, 60, 20);
    EHexID->setGeometry(margin + 64, y, 40, 26);
    BReadConfig->setGeometry(gridWidth + margin - 2 * 150 - margin, y, 150, 28);
    BCancel->setGeometry(gridWidth + margin - 150, y, 150, 28);
    setFixedSize(gridWidth + 2 * margin, y + 28 + margin);
}

void TDeviceConfigForm::showEvent(QShowEvent *event)
{
    TForm::showEvent(event);
    FormActivate();
}

void TDeviceConfigForm::FormActivate()
{
    qint64 address = d.SlaveAddress;
    const QString stored = ReadSlaveAddressText(d.SettingsPath);
    if (StrToIntReported(d, stored, address)) {
        if (address >= MinSlaveAddress && address <= MaxSlaveAddress)
            d.SlaveAddress = static_cast<quint8>(address);
        else
            ReportConversionError(d, OutOfRangeText(stored, RangeText(MinSlaveAddress, MaxSlaveAddress)));
    }
    const QString text = HexText(d.SlaveAddress, 2);
    if (EHexID->text() == text)
        EHexIDChange(); // the field change runs as if the text was set anew
    else
        EHexID->setText(text);
    redrawGrids();
}

void TDeviceConfigForm::EHexIDChange()
{
    SlaveAddressField->changed();
}

void TDeviceConfigForm::EHexIDExit()
{
    SlaveAddressField->left();
}

void TDeviceConfigForm::storeSlaveAddress(qint64 address)
{
    d.SlaveAddress = static_cast<quint8>(address);
    WriteSlaveAddress(d.SettingsPath, d.SlaveAddress);
}

void TDeviceConfigForm::showSlaveAddress()
{
    if (d.Status)
        d.Status->ShowSlaveAddress();
}

void TDeviceConfigForm::BReadConfigClick()
{
    // A read from a unit the field does not show would be a read of another station.
    const std::optional<qint64> address = SlaveAddressField->value();
    if (!address) {
        ShowErrorMessage(
            d, FieldRefusalText(LookupMessage(QStringLiteral("@idFIELD_BAD")), Label4->text(), *SlaveAddressField));
        return;
    }
    d.SlaveAddress = static_cast<quint8>(*address);
    showSlaveAddress();
    StationConfiguration &c = d.StationConfig;
    c.AnaInCount = c.AnaIn32Count = c.AnaOutCount = c.DigInCount = c.DigOutCount = 0;
    c.SlotModuleIds.fill(0);
    sendIdentityRequest();
}

void TDeviceConfigForm::sendRequest(quint8 length, QTimer *replyTimer)
{
    d.TxLength = length;
    ++d.TransactionId;
    exchange_.send(replyTimer, ConfigReplyPeriod(d.ResponseInterval), d.TxLength);
}

void TDeviceConfigForm::sendIdentityRequest()
{
    sendRequest(BuildIdentityRequest(d.TxFrame, d.SlaveAddress), TimerIdentity);
}

void TDeviceConfigForm::sendSlotListRequest()
{
    sendRequest(BuildSlotListRequest(d.TxFrame, d.SlaveAddress), TimerSlotList);
}

TDeviceConfigForm::ReplyCheck TDeviceConfigForm::checkReply()
{
    const ReplyOutcome outcome = exchange_.tick();
    if (outcome == ReplyOutcome::Idle)
        return ReplyCheck::Waiting; // nothing asked: a stray tick
    d.StationConfig.ConfigValid = 0;
    if (outcome == ReplyOutcome::Pending)
        return ReplyCheck::Waiting;
    if (outcome == ReplyOutcome::TimedOut) {
        d.StationFlags &= ~StationFlag::ConfigAnswered;
        logLine(QStringLiteral("Antwort : Timeout"));
        return ReplyCheck::TimedOut;
    }
    d.StationFlags |= StationFlag::ConfigAnswered;
    WriteSlaveAddress(d.SettingsPath, d.SlaveAddress);
    return ReplyCheck::Arrived;
}

void TDeviceConfigForm::logLine(const QString &line)
{
    MDataTransfer->appendPlainText(line);
}

bool TDeviceConfigForm::reportedException(const QString &log)
{
    if (!(d.RxFrame[7] & 0x80))
        return false;
    const QString text = log + ExceptionText(d.RxFrame[8]);
    logLine(text);
    ShowErrorMessage(d, text);
    return true;
}

void TDeviceConfigForm::TimerIdentityTimer()
{
    const ReplyCheck check = checkReply();
    if (check == ReplyCheck::Waiting)
        return;
    if (check == ReplyCheck::TimedOut) {
        showReadFailed();
        return;
    }
    const QString log = QStringLiteral("Antwort : ") + ReplyHeaderText(d.RxFrame);
    if (reportedException(log)) {
        showReadFailed();
        return;
    }
    logLine(log);
    const DeviceIdentity identity = DecodeIdentity(d.RxFrame, d.RxCount);
    EdInfo->setText(identity.Manufacturer);
    EdProdukt->setText(identity.Product);
    EdVersion->setText(identity.Version);
    sendSlotListRequest();
}

void TDeviceConfigForm::TimerSlotListTimer()
{
    const ReplyCheck check = checkReply();
    if (check == ReplyCheck::Waiting)
        return;
    if (check == ReplyCheck::TimedOut) {
        showReadFailed();
        finishSlotListCheck();
        return;
    }
    const QString log = QStringLiteral("Antwort : ") + ReplyHeaderText(d.RxFrame);
    if (reportedException(log)) {
        showReadFailed();
        finishSlotListCheck();
        return;
    }
    StationConfiguration &c = d.StationConfig;
    c.ConfigValid = 1;
    logLine(log + QStringLiteral("  Bytecount: ") + HexText(d.RxFrame[8], 2));
    for (const QString &line : ReplyDataLines(d.RxFrame, d.RxCount))
        logLine(line);
    DecodeSlotList(d.RxFrame, d.RxCount, c);
    ColumnIds[1] = 245;
    for (int column = 2; column <= 10; ++column)
        ColumnIds[static_cast<size_t>(column)] =
            static_cast<quint8>(c.SlotModuleIds[static_cast<size_t>(column - 1)] & 0xFF);
    redrawGrids();
    DeriveAnalogTables(c);
    // The parameter records follow the station as it is now.
    emit configurationRead();
    if (d.Status)
        d.Status->setStatusPanel(2, QStringLiteral(" Konfiguration geladen "));
    finishSlotListCheck();
}

void TDeviceConfigForm::finishSlotListCheck()
{
    d.StationConfig.DigOutModuleCount = CountDigitalOutputModules(d.StationConfig);
    showSlaveAddress();
}

// ConfigValid is 0 now: neither the status bar nor the identity fields may go
// on showing a station that was not read.
void TDeviceConfigForm::showReadFailed()
{
    EdInfo->clear();
    EdProdukt->clear();
    EdVersion->clear();
    redrawGrids();
    if (d.Status)
        d.Status->setStatusPanel(2, QStringLiteral(" keine Konfiguration geladen "));
}

void TDeviceConfigForm::redrawGrids()
{
    SGModuls->viewport()->update();
    SGKonfig->viewport()->update();
}

void TDeviceConfigForm::BCancelClick()
{
    close();
}

void TDeviceConfigForm::SGModulsDrawCell(QPainter *painter, int column, int row, const QRect &rect) const
{
    if (row == 0 && column >= 2) {
        painter->drawText(rect.adjusted(0, 4, 0, 0), Qt::AlignHCenter | Qt::AlignTop,
                          QStringLiteral("Slot %1").arg(column - 1));
        return;
    }
    if (column < 1)
        return;
    if (d.StationConfig.ConfigValid != 1) {
        if (row == 2 && !brandedEmptySlot_.isNull())
            painter->drawImage(rect.topLeft(), brandedEmptySlot_);
        return;
    }
    const int id = ColumnIds[static_cast<size_t>(column)];
    const CatalogueEntry &entry = d.ModuleCatalogue[static_cast<size_t>(id)];
    if (row == 1) {
        painter->drawText(rect.adjusted(0, 8, 0, 0), Qt::AlignHCenter | Qt::AlignTop, GridShortName(entry.ShortName));
    } else if (row == 2) {
        const QImage picture = id == 0 ? emptySlot_ : ModulePicture(entry.PictureFile);
        if (picture.isNull())
            painter->fillRect(rect, SGModuls->palette().window());
        else
            painter->drawImage(rect.topLeft(), picture);
    }
}

void TDeviceConfigForm::SGKonfigDrawCell(QPainter *painter, int column, int row, const QRect &rect) const
{
    if (d.StationConfig.ConfigValid != 1)
        return;
    static const char *const Keys[] = {"@AnaIn", "@AnaIn32Bit", "@AnaOut", "@DigIn", "@DigOut"};
    const StationConfiguration &c = d.StationConfig;
    const quint16 counts[] = {c.AnaInCount, c.AnaIn32Count, c.AnaOutCount, c.DigInCount, c.DigOutCount};
    if (row == 0 && column == 1)
        painter->drawText(rect, Qt::AlignCenter, LookupMessage(QStringLiteral("@Number")));
    else if (row >= 1 && column == 0)
        painter->drawText(rect.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          LookupMessage(QString::fromLatin1(Keys[row - 1])));
    else if (row >= 1 && column == 1)
        painter->drawText(rect, Qt::AlignCenter, QString::number(counts[row - 1]));
}

QString TDeviceConfigForm::HintText(int column) const
{
    const CatalogueEntry &entry = d.ModuleCatalogue[ColumnIds[static_cast<size_t>(column)]];
    if (GridShortName(entry.ShortName) == QLatin1String("----"))
        return LookupMessage(QStringLiteral("@empty"));
    return entry.ShortName + QLatin1Char(' ') + entry.AddName;
}

QString TDeviceConfigForm::DataSheetFile(int column) const
{
    const CatalogueEntry &entry = d.ModuleCatalogue[ColumnIds[static_cast<size_t>(column)]];
    return DataSheetPath(d.ProgramFolder, d.BrandMode, entry.ShortName);
}

void TDeviceConfigForm::SGModulsMouseMove(const QPoint &pos)
{
    LastMousePos = pos;
}

void TDeviceConfigForm::SGModulsClick(int column, int row)
{
    HintWindow->hide();
    TimerHint->stop();
    if (row != 2 || column < 1 || column > 10)
        return;
    const QString text = HintText(column);
    const QFontMetrics metrics(HintWindow->font());
    HintWindow->setText(text);
    HintWindow->resize(metrics.horizontalAdvance(text) + 10, metrics.height() + 2);
    HintWindow->move(SGModuls->x() + LastMousePos.x() + x() + 20, SGModuls->y() + LastMousePos.y() + y() + 95);
    HintWindow->show();
    TimerHint->start();
}

void TDeviceConfigForm::TimerHintTimer()
{
    TimerHint->stop();
    HintWindow->hide();
}

void TDeviceConfigForm::SGModulsDblClick(int column, int row)
{
    if (row != 2 || column < 1 || column > 10)
        return;
    const QString path = DataSheetFile(column);
    if (!QFileInfo::exists(path) || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        ShowErrorMessage(d, path);
}

bool TDeviceConfigForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == SGModuls->viewport() && event->type() == QEvent::MouseMove)
        SGModulsMouseMove(static_cast<QMouseEvent *>(event)->position().toPoint());
    return TForm::eventFilter(watched, event);
}
