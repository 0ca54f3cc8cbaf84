#include "diagnostics/TFehler.h"

#include "app/CellPainter.h"
#include "app/Deklarat.h"
#include "app/Messages.h"
#include "app/Named.h"
#include "diagnostics/ErrorFrames.h"
#include "diagnostics/ErrorTexts.h"
#include "diagnostics/TAlarmMaske.h"
#include "link/ModbusFrame.h"
#include "translation/WordLists.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QVBoxLayout>

#include <numeric>

namespace
{

constexpr int RowHeight = 24;
constexpr int CouplerRows = 16;
const std::vector<int> ModuleColumnWidths = {95, 130, 130, 130, 130};
const std::vector<int> CouplerColumnWidths = {75, 180, 50};
const char *const ModuleHeadings[] = {"@KennModul", "@KennAnaIn", "@KennKomp", "@KennAnaOut", "@KennDigOut"};
const char *const CouplerHeadings[] = {"@KennNum", "@KennGrund", "@Reset"};

// The columns, plus 2 for each column but the last, plus 7.
int panelWidth(const std::vector<int> &widths)
{
    const int n = static_cast<int>(widths.size());
    return std::accumulate(widths.begin(), widths.end(), 0) + 2 * (n - 1) + 7;
}

QTableWidget *makeGrid(QWidget *parent, const char *name, const std::vector<int> &widths, int rows)
{
    auto *grid = named(new QTableWidget(rows, static_cast<int>(widths.size()), parent), name);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setMinimumSectionSize(1);
    grid->verticalHeader()->setMinimumSectionSize(1);
    grid->verticalHeader()->setDefaultSectionSize(RowHeight);
    for (int c = 0; c < static_cast<int>(widths.size()); ++c)
        grid->setColumnWidth(c, widths[static_cast<size_t>(c)]);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid->setWordWrap(false);
    return grid;
}

// The grid's brush for the cell's state, then the text centred 4 pixels below
// the top. A text wider than its column keeps its beginning and ends in "…"
// (the whole text is the cell's tool tip) instead of losing both ends.
void paintCell(const QTableWidget *grid, QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index)
{
    painter->save();
    FillCell(painter, grid->palette(), option, index);
    painter->setFont(option.font);
    const QRect area = option.rect.adjusted(2, 4, -2, 0);
    const QFontMetrics metrics(option.font);
    const QString text = metrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight, area.width());
    painter->drawText(area, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text);
    painter->restore();
}

bool isInside(const QWidget *widget, const QWidget *area)
{
    return widget == area || area->isAncestorOf(widget);
}

} // namespace

TFehler::TFehler(Deklarat &d) : TForm(d, QStringLiteral("TFehler"), QStringLiteral("Fehler"))
{
    PLeft = named(new QFrame(this), "PLeft");
    SGModulFehler = makeGrid(PLeft, "SGModulFehler", ModuleColumnWidths, 1);
    auto *leftLayout = new QVBoxLayout(PLeft);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(SGModulFehler);
    SGKopplerFehler = makeGrid(this, "SGKopplerFehler", CouplerColumnWidths, CouplerRows + 1);

    PButtons = named(new QFrame(this), "PButtons");
    BReadError = named(new QPushButton(QStringLiteral("Fehler lesen"), PButtons), "BReadError");
    BResetError = named(new QPushButton(QStringLiteral("Fehler zurücksetzen"), PButtons), "BResetError");
    BSetzeAlarmMask = named(new QPushButton(QStringLiteral("Setze Alarmmaske"), PButtons), "BSetzeAlarmMask");
    BReadAlarmMask = named(new QPushButton(QStringLiteral("Lese Alarmmaske"), PButtons), "BReadAlarmMask");
    BSendAlarmMask = named(new QPushButton(QStringLiteral("Sende Alarmmaske"), PButtons), "BSendAlarmMask");
    Cancel = named(new QPushButton(QStringLiteral("Zurück"), PButtons), "Cancel");
    auto *buttons = new QHBoxLayout(PButtons);
    buttons->setContentsMargins(0, 0, 0, 0);
    for (QPushButton *b : {BReadError, BResetError, BSetzeAlarmMask, BReadAlarmMask, BSendAlarmMask}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    Cancel->setAutoDefault(false);
    buttons->addWidget(Cancel);

    auto *grids = new QHBoxLayout;
    grids->addWidget(PLeft);
    grids->addWidget(SGKopplerFehler, 0, Qt::AlignTop);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grids, 1);
    layout->addWidget(PButtons);

    Anfrage = named(new QTimer(this), "Anfrage");
    Timer1 = named(new QTimer(this), "Timer1");

    SGModulFehler->setItemDelegate(new CellPainter(
        [this](QPainter *p, const QStyleOptionViewItem &o, const QModelIndex &i) { SGModulFehlerDrawCell(p, o, i); },
        SGModulFehler));
    SGKopplerFehler->setItemDelegate(new CellPainter(
        [this](QPainter *p, const QStyleOptionViewItem &o, const QModelIndex &i) { SGKopplerFehlerDrawCell(p, o, i); },
        SGKopplerFehler));

    connect(BReadError, &QPushButton::clicked, this, [this] { BReadErrorClick(); });
    connect(BResetError, &QPushButton::clicked, this, [this] { BResetErrorClick(); });
    connect(BSetzeAlarmMask, &QPushButton::clicked, this, [this] { BSetzeAlarmMaskClick(); });
    connect(BReadAlarmMask, &QPushButton::clicked, this, [this] { BReadAlarmMaskClick(); });
    connect(BSendAlarmMask, &QPushButton::clicked, this, [this] { BSendAlarmMaskClick(); });
    connect(Cancel, &QPushButton::clicked, this, [this] { CancelClick(); });
    connect(Anfrage, &QTimer::timeout, this, [this] { AnfrageTimer(); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) { focusChanged(old, now); });

    translate(TFehlerWords(), WindowFonts::Arial(), 0);
    connect(MultiLang1, &TMultiLang::translated, this, [this] { languageChanged(); });
    FormCreate();
}

void TFehler::setHeadings(QTableWidget *grid, const char *const *ids, int count)
{
    if (grid->rowCount() == 0)
        return;
    for (int c = 0; c < std::min(count, grid->columnCount()); ++c)
        setCell(grid, 0, c, LookupMessage(QString::fromLatin1(ids[c])));
}

void TFehler::languageChanged()
{
    // Grids an activation has not built yet get their headings then.
    if (CellText(SGModulFehler, 0, 0).isEmpty())
        return;
    setHeadings(SGModulFehler, ModuleHeadings, static_cast<int>(std::size(ModuleHeadings)));
    setHeadings(SGKopplerFehler, CouplerHeadings, static_cast<int>(std::size(CouplerHeadings)));
    if (shownCouplerWord_)
        showCouplerWord(*shownCouplerWord_);
    const MessageLookup lookup = [this](const QString &id) { return LookupMessage(id); };
    for (const auto &[cell, source] : shownStatus_)
        if (const std::optional<QString> text = StatusCellText(source.step, source.word, lookup))
            setCell(SGModulFehler, cell.first, cell.second, *text);
}

void TFehler::FormCreate()
{
    const int frame = 2 * SGKopplerFehler->frameWidth();
    PLeft->setFixedWidth(panelWidth(ModuleColumnWidths));
    SGKopplerFehler->setFixedSize(panelWidth(CouplerColumnWidths), (CouplerRows + 1) * RowHeight + frame);
    SGModulFehler->setMinimumHeight((CouplerRows + 1) * RowHeight + frame);
}

// A grid left for another control of this window is its exit; a message box
// or another window taking the focus is not.
void TFehler::focusChanged(QWidget *old, QWidget *now)
{
    if (!old || !now || now->window() != this)
        return;
    if (isInside(old, SGModulFehler) && !isInside(now, SGModulFehler))
        SGModulFehlerExit();
    if (isInside(old, SGKopplerFehler) && !isInside(now, SGKopplerFehler))
        SGKopplerFehlerExit();
}

void TFehler::showError(const QString &text)
{
    ShowErrorMessage(d, text);
}

QString TFehler::CellText(const QTableWidget *grid, int row, int column)
{
    const QTableWidgetItem *item = grid->item(row, column);
    return item ? item->text() : QString();
}

void TFehler::setCell(QTableWidget *grid, int row, int column, const QString &text)
{
    QTableWidgetItem *item = grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        const bool fixed = row == 0 || column == 0;
        item->setFlags(fixed ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        grid->setItem(row, column, item);
    }
    item->setText(text);
    // The columns are narrower than the longest texts.
    item->setToolTip(text.trimmed().isEmpty() ? QString() : text);
}

void TFehler::FormActivate()
{
    if (d.StationConfig.ConfigValid != 1) {
        showError(LookupMessage(QStringLiteral("@idERR_CONF")));
        return;
    }
    setUpModuleGrid();
    setUpCouplerGrid();
    PLeft->setFixedWidth(panelWidth(ModuleColumnWidths));
}

void TFehler::setUpModuleGrid()
{
    const int rows = ModuleGridRows(d.StationConfig);
    SGModulFehler->clearContents();
    SGModulFehler->setColumnCount(static_cast<int>(ModuleColumnWidths.size()));
    SGModulFehler->setRowCount(rows + 1);
    for (int c = 0; c < SGModulFehler->columnCount(); ++c)
        SGModulFehler->setColumnWidth(c, ModuleColumnWidths[static_cast<size_t>(c)]);
    setHeadings(SGModulFehler, ModuleHeadings, static_cast<int>(std::size(ModuleHeadings)));
    shownStatus_.clear(); // the cells are blanked below
    for (int r = 1; r <= rows; ++r) {
        setCell(SGModulFehler, r, 0, QString::number(r));
        for (int c = 1; c < SGModulFehler->columnCount(); ++c)
            setCell(SGModulFehler, r, c, QStringLiteral(" "));
    }
}

void TFehler::setUpCouplerGrid()
{
    SGKopplerFehler->setColumnCount(static_cast<int>(CouplerColumnWidths.size()));
    SGKopplerFehler->setRowCount(CouplerRows + 1);
    for (int c = 0; c < SGKopplerFehler->columnCount(); ++c)
        SGKopplerFehler->setColumnWidth(c, CouplerColumnWidths[static_cast<size_t>(c)]);
    setHeadings(SGKopplerFehler, CouplerHeadings, static_cast<int>(std::size(CouplerHeadings)));
    for (int r = 1; r <= CouplerRows; ++r)
        setCell(SGKopplerFehler, r, 0, QString::number(r));
}

void TFehler::send(QTimer *replyTimer)
{
    exchange_.send(replyTimer, d.ResponseInterval, d.TxLength);
}

void TFehler::sendStatusRead(int step)
{
    const std::optional<StatusRead> read = NextStatusRead(step, d.StationConfig);
    if (!read) {
        ReadStep = ReadSteps::Idle;
        return;
    }
    ReadStep = read->step;
    readQuantity_ = read->quantity;
    d.TxLength = BuildStatusRead(d.TxFrame, d.SlaveAddress, *read);
    ++d.TransactionId;
    send(Anfrage);
}

void TFehler::BReadErrorClick()
{
    sendStatusRead(ReadSteps::ErrorWord);
}

void TFehler::BResetErrorClick()
{
    // Only the reset is outstanding from here on: a running sequence has
    // given up its request, and the reset's reply is never decoded.
    ReadStep = ReadSteps::Idle;
    d.TxLength = BuildErrorReset(d.TxFrame, d.SlaveAddress);
    ++d.TransactionId;
    send(Anfrage);
}

void TFehler::CancelClick()
{
    close();
}

void TFehler::AnfrageTimer()
{
    switch (exchange_.tick(Anfrage)) {
    case ReplyOutcome::Idle:
    case ReplyOutcome::Pending:
        return;
    case ReplyOutcome::TimedOut:
        ReadStep = ReadSteps::Idle;
        showError(QStringLiteral("Timeout"));
        return;
    case ReplyOutcome::Exception:
        ReadStep = ReadSteps::Idle;
        showError(ExceptionText(d.RxFrame[8]));
        return;
    case ReplyOutcome::Data:
        decodeReply();
        if (ReadStep != ReadSteps::Idle)
            sendStatusRead(ReadStep);
        return;
    }
}

void TFehler::decodeReply()
{
    switch (ReadStep) {
    case ReadSteps::ErrorWord: {
        const std::vector<quint16> words = ReplyWords(d.RxFrame, d.RxCount, 1);
        if (!words.empty())
            showCouplerWord(words[0]);
        ReadStep = ReadSteps::AnaIn;
        break;
    }
    case ReadSteps::AnaIn:
    case ReadSteps::Compensation:
    case ReadSteps::AnaOut:
    case ReadSteps::DigOut:
        showStatusWords(ReadStep, ReplyWords(d.RxFrame, d.RxCount, readQuantity_));
        ReadStep = ReadStep == ReadSteps::DigOut ? ReadSteps::Idle : ReadStep + 1;
        break;
    case ReadSteps::AlarmMask: {
        const std::vector<quint16> words = ReplyWords(d.RxFrame, d.RxCount, 1);
        if (!words.empty() && AlarmMaske) {
            AlarmMaske->AlarmMaskWord = words[0];
            AlarmMaske->ShowMask(words[0]);
        }
        ReadStep = ReadSteps::Idle;
        break;
    }
    default: // the reset's reply: checked, nothing to show
        break;
    }
}

void TFehler::showCouplerWord(quint16 word)
{
    shownCouplerWord_ = word;
    const QStringList texts = CouplerErrorTexts(word, [this](const QString &id) { return LookupMessage(id); });
    for (int bit = 0; bit < CouplerRows; ++bit)
        setCell(SGKopplerFehler, bit + 1, 1, texts[bit]);
}

void TFehler::showStatusWords(int step, const std::vector<quint16> &words)
{
    // Column 1 analog inputs .. column 4 digital output modules.
    const int column = step - ReadSteps::AnaIn + 1;
    // Counts read since the activation built the grid may be larger.
    const int rows = std::min(static_cast<int>(words.size()), SGModulFehler->rowCount() - 1);
    const MessageLookup lookup = [this](const QString &id) { return LookupMessage(id); };
    for (int n = 1; n <= rows; ++n) {
        const quint16 word = words[static_cast<size_t>(n - 1)];
        if (const std::optional<QString> text = StatusCellText(step, word, lookup)) {
            setCell(SGModulFehler, n, column, *text);
            shownStatus_[{n, column}] = {step, word};
        }
    }
}

void TFehler::BSetzeAlarmMaskClick()
{
    if (!AlarmMaske)
        return;
    AlarmMaske->show();
    AlarmMaske->raise();
    AlarmMaske->activateWindow();
}

void TFehler::BReadAlarmMaskClick()
{
    d.TxLength = BuildAlarmMaskRead(d.TxFrame, d.SlaveAddress);
    ++d.TransactionId;
    send(Anfrage);
    ReadStep = ReadSteps::AlarmMask;
    readQuantity_ = 1;
    BSetzeAlarmMaskClick();
}

void TFehler::BSendAlarmMaskClick()
{
    quint16 mask = 0;
    if (TAlarmMaske *window = AlarmMaske) {
        window->AlarmMaskWord = MergeAlarmMask(window->AlarmMaskWord, window->CheckedBits());
        mask = window->AlarmMaskWord;
        window->close();
    }
    // The write replaces whatever read was outstanding.
    ReadStep = ReadSteps::Idle;
    d.TxLength = BuildAlarmMaskWrite(d.TxFrame, d.SlaveAddress, mask);
    send(Timer1);
}

void TFehler::Timer1Timer()
{
    switch (exchange_.tick(Timer1)) {
    case ReplyOutcome::Idle:
    case ReplyOutcome::Pending:
    case ReplyOutcome::Data: // a successful write is silent
        return;
    case ReplyOutcome::TimedOut:
        showError(QStringLiteral("Timeout"));
        return;
    case ReplyOutcome::Exception:
        showError(ExceptionText(d.RxFrame[8]));
        return;
    }
}

void TFehler::SGModulFehlerDrawCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index)
{
    paintCell(SGModulFehler, painter, option, index);
}

void TFehler::SGKopplerFehlerDrawCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index)
{
    paintCell(SGKopplerFehler, painter, option, index);
}

void TFehler::SGModulFehlerExit()
{
    SGModulFehler->clearSelection();
    SGModulFehler->setCurrentItem(nullptr);
}

void TFehler::SGKopplerFehlerExit()
{
    SGKopplerFehler->clearSelection();
    SGKopplerFehler->setCurrentItem(nullptr);
}
