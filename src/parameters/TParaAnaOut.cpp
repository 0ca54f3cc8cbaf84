#include "parameters/TParaAnaOut.h"

#include "app/CellPainter.h"
#include "app/Deklarat.h"
#include "app/IniFile.h"
#include "app/Messages.h"
#include "app/Named.h"
#include "parameters/WindowScaling.h"
#include "translation/WordLists.h"

#include <QBoxLayout>
#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>

#include <algorithm>
#include <initializer_list>
#include <numeric>

namespace
{

constexpr int GridColumns = 4;

// Grid measures follow the font, so that a scaled window keeps its proportions.
int GridRowHeight(const QFontMetrics &fm)
{
    return fm.height() * 9 / 5;
}

int TextPadding(const QFontMetrics &fm)
{
    return 2 * fm.height();
}

// Room for the arrow of the choice laid over the cell.
int ChoicePadding(const QFontMetrics &fm)
{
    return 4 * fm.height();
}

QStringList DesignTypeItems()
{
    return {QStringLiteral("0 .. 10V"), QStringLiteral("-10 .. +10V"), QStringLiteral("0 .. 20mA"),
            QStringLiteral("4 .. 20mA")};
}

} // namespace

TParaAnaOut::TParaAnaOut(Deklarat &d)
    : TForm(d, QStringLiteral("TParaAnaOut"), QStringLiteral("Parameter analoge Ausgaenge"))
{
    PTop = named(new QFrame(this), "PTop");
    PClient = named(new QFrame(this), "PClient");
    PBottom = named(new QFrame(this), "PBottom");
    for (QFrame *p : {PTop, PClient, PBottom})
        p->setFrameStyle(QFrame::Panel | QFrame::Raised);

    SgAnaOutPara = named(new QTableWidget(1, GridColumns, PClient), "SgAnaOutPara");
    SgAnaOutPara->horizontalHeader()->hide();
    SgAnaOutPara->verticalHeader()->hide();
    SgAnaOutPara->verticalHeader()->setMinimumSectionSize(10);
    SgAnaOutPara->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SgAnaOutPara->setSelectionMode(QAbstractItemView::SingleSelection);
    SgAnaOutPara->setItemDelegate(
        new CellPainter([this](QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) { PaintCenteredCell(SgAnaOutPara, painter, option, index); },
                        SgAnaOutPara));
    connect(SgAnaOutPara, &QTableWidget::cellClicked, this,
            [this](int row, int column) { SgAnaOutParaSelectCell(row, column); });
    connect(SgAnaOutPara, &QTableWidget::cellActivated, this,
            [this](int row, int column) { SgAnaOutParaSelectCell(row, column); });
    // An editor stays with its cell only while the grid does not move.
    connect(SgAnaOutPara->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { closeEditors(); });
    // The columns share whatever width the grid gets.
    SgAnaOutPara->viewport()->installEventFilter(this);

    CbAnaOutTyp = named(new QComboBox(PClient), "CbAnaOutTyp");
    CbAnaOutTyp->addItems(DesignTypeItems());
    CbAnaOutTyp->setCurrentIndex(0);
    CbAnaOutReaktion = named(new QComboBox(PClient), "CbAnaOutReaktion");
    for (QComboBox *editor : {CbAnaOutTyp, CbAnaOutReaktion})
        editor->hide();
    connect(CbAnaOutTyp, &QComboBox::activated, this, [this] { CbAnaOutTypChange(); });
    connect(CbAnaOutReaktion, &QComboBox::activated, this, [this] { CbAnaOutReaktionChange(); });

    BRead = named(new QPushButton(QStringLiteral("Lesen"), PBottom), "BRead");
    BWrite = named(new QPushButton(QStringLiteral("Schreiben"), PBottom), "BWrite");
    BCancel = named(new QPushButton(QStringLiteral("Abbrechen"), PBottom), "BCancel");
    for (QPushButton *b : {BRead, BWrite, BCancel}) {
        b->setAutoDefault(false);
        b->setEnabled(false); // usable once a configuration says how many channels there are
    }
    connect(BRead, &QPushButton::clicked, this, [this] { ReadAnaOutClick(); });
    connect(BWrite, &QPushButton::clicked, this, [this] { WriteAnaOutClick(); });
    connect(BCancel, &QPushButton::clicked, this, [this] { BackClick(); });

    Timer2 = named(new QTimer(this), "Timer2");
    Timer4 = named(new QTimer(this), "Timer4");
    connect(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
    connect(Timer4, &QTimer::timeout, this, [this] { Timer4Timer(); });

    translate(TParaAnaOutWords(), WindowFonts::Arial(), 0);
    // The grid's texts come from the word list: they follow a language switch.
    connect(MultiLang1, &TMultiLang::translated, this, [this] { ShowParams(); });
    designLayout();
    FormCreate();
    ShowParams(); // the headings; channel rows come with a configuration
}

void TParaAnaOut::designLayout()
{
    const QFontMetrics fm(font());
    const int h = CbAnaOutTyp->sizeHint().height();
    SgAnaOutPara->verticalHeader()->setDefaultSectionSize(GridRowHeight(fm));
    SgAnaOutPara->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // the columns fill the grid

    auto *top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    top->addWidget(PTop);
    top->addWidget(PClient, 1);
    top->addWidget(PBottom);
    PTop->setFixedHeight(3 * h / 4);

    auto *client = new QVBoxLayout(PClient);
    client->setContentsMargins(6, 6, 6, 6);
    client->addWidget(SgAnaOutPara);

    auto *bottom = new QHBoxLayout(PBottom);
    bottom->setContentsMargins(8, 8, 8, 8);
    bottom->setSpacing(8);
    bottom->addStretch(1);
    const int buttonWidth = fm.horizontalAdvance(QStringLiteral("Schreiben")) + 2 * h;
    for (QPushButton *b : {BRead, BWrite, BCancel}) {
        b->setMinimumWidth(buttonWidth);
        bottom->addWidget(b);
    }

    // Room for 16 channel rows under the heading, each column as wide as the
    // longest text the delivered description files give it.
    auto widest = [&fm](std::initializer_list<const char *> texts) {
        int w = 0;
        for (const char *t : texts)
            w = std::max(w, fm.horizontalAdvance(QString::fromUtf8(t)));
        return w;
    };
    const int columns = widest({"Kanal 16", "Chan. 16"}) + TextPadding(fm) +
                        widest({"-10..+10 V", "Kanal aus", "Reaction"}) + ChoicePadding(fm) +
                        widest({"letzten Wert halten"}) + ChoicePadding(fm) + widest({"Wort (hex)", "Word (hex)"}) +
                        TextPadding(fm);
    const int frame = 2 * SgAnaOutPara->frameWidth();
    const int gridHeight = (AnaOutChannels + 1) * GridRowHeight(fm) + frame + 2;
    resize(columns + frame + 12 + 2 * PClient->frameWidth(),
           PTop->height() + gridHeight + 12 + 2 * PClient->frameWidth() + BRead->sizeHint().height() + 16 +
               2 * PBottom->frameWidth());
}

void TParaAnaOut::FormCreate()
{
    // The grid scrolls its rows itself when the window is short.
    const ScreenArea screen = ScreenAreaFor(d.ForcedScreenSize);
    ApplyWindowScaling(this, screen.size);
    resize(size().boundedTo(MaxClientSize(this, screen)));
}

int TParaAnaOut::channels() const
{
    return AnaOutChannelsHandled(d.StationConfig.AnaOutCount);
}

void TParaAnaOut::reportChannelLimit()
{
    if (!channelLimit_.due(d.StationConfig.AnaOutCount, AnaOutChannels))
        return;
    ShowMessage(d, MessageKind::Information, windowTitle(), LookupMessage(QStringLiteral("@idKANAL_MAX")));
}

void TParaAnaOut::loadChannelObjects()
{
    const IniFile file(d.ProgramFolder + DescriptionFileName(d.BrandMode));
    const std::array<QString, AnaOutChannels> ids = AnaOutChannelObjects(d.StationConfig, d.ModuleCatalogue);
    for (size_t i = 0; i < ids.size(); ++i)
        ChannelObjects[i] = LoadAnaOutObject(file, ids[i]);
}

void TParaAnaOut::FormActivate()
{
    if (d.StationConfig.ConfigValid != 1) {
        ShowErrorMessage(d, LookupMessage(QStringLiteral("@idERR_CONF")));
        return;
    }
    BRead->setEnabled(true);
    BWrite->setEnabled(true);
    BCancel->setEnabled(true);
    reportChannelLimit();
    loadChannelObjects();
    ShowParams();
}

void TParaAnaOut::setCell(int row, int column, const QString &text, bool fixed)
{
    QTableWidgetItem *item = SgAnaOutPara->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        SgAnaOutPara->setItem(row, column, item);
    }
    item->setText(text);
    item->setFlags(fixed ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
}

void TParaAnaOut::ShowParams()
{
    closeEditors();
    // Without a configuration the rows stay as the last one made them.
    const int n = d.StationConfig.ConfigValid == 1 ? channels() : SgAnaOutPara->rowCount() - 1;
    SgAnaOutPara->setRowCount(n + 1);
    setCell(0, ChannelColumn, QString(), true);
    setCell(0, TypeColumn, LookupMessage(QStringLiteral("Label17")), true);
    setCell(0, ReactionColumn, LookupMessage(QStringLiteral("Label18")), true);
    setCell(0, WordColumn, LookupMessage(QStringLiteral("@idWORT")), true);
    for (int k = 1; k <= n; ++k) {
        const qint32 word = AnaOutParams[static_cast<size_t>(k - 1)];
        const AnaOutObject &object = ChannelObjects[static_cast<size_t>(k - 1)];
        setCell(k, ChannelColumn, LookupMessage(QStringLiteral("Label%1").arg(k)), true);
        for (int column : {TypeColumn, ReactionColumn}) {
            const AnaOutChoice *choice = object.choice(choiceRowOf(column));
            setCell(k, column, choice ? choice->textOf(word) : QStringLiteral("???"), false);
        }
        setCell(k, WordColumn, AnaOutWordText(word), false);
    }
    fitColumns();
}

void TParaAnaOut::fitColumns()
{
    const QFontMetrics fm(SgAnaOutPara->font());
    std::array<int, GridColumns> widths{};
    for (int column = 0; column < GridColumns; ++column) {
        int width = 0;
        for (int row = 0; row < SgAnaOutPara->rowCount(); ++row)
            if (const QTableWidgetItem *item = SgAnaOutPara->item(row, column))
                width = std::max(width, fm.horizontalAdvance(item->text()));
        const bool choice = column == TypeColumn || column == ReactionColumn;
        // A choice cell must show its editor's longest entry.
        if (choice)
            for (const AnaOutObject &object : ChannelObjects)
                if (const AnaOutChoice *c = object.choice(choiceRowOf(column)))
                    for (const QString &text : c->texts)
                        width = std::max(width, fm.horizontalAdvance(text));
        widths[static_cast<size_t>(column)] = width + (choice ? ChoicePadding(fm) : TextPadding(fm));
    }
    // The columns share the grid's width in proportion to what they need.
    const int used = std::accumulate(widths.begin(), widths.end(), 0);
    const int room = SgAnaOutPara->viewport()->width();
    if (used > 0 && room > 0) {
        int left = room;
        for (int column = 0; column < GridColumns - 1; ++column) {
            int &w = widths[static_cast<size_t>(column)];
            w = w * room / used;
            left -= w;
        }
        widths[GridColumns - 1] = left;
    }
    for (int column = 0; column < GridColumns; ++column)
        SgAnaOutPara->setColumnWidth(column, widths[static_cast<size_t>(column)]);
    SgAnaOutPara->verticalHeader()->setDefaultSectionSize(GridRowHeight(fm));
}

bool TParaAnaOut::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == SgAnaOutPara->viewport() && event->type() == QEvent::Resize)
        fitColumns();
    return TForm::eventFilter(watched, event);
}

void TParaAnaOut::closeEditors()
{
    CbAnaOutTyp->hide();
    CbAnaOutReaktion->hide();
    editRow_ = 0;
}

void TParaAnaOut::SgAnaOutParaSelectCell(int row, int column)
{
    closeEditors();
    if (row < 1 || row >= SgAnaOutPara->rowCount() || (column != TypeColumn && column != ReactionColumn))
        return;
    const AnaOutChoice *choice = ChannelObjects[static_cast<size_t>(row - 1)].choice(choiceRowOf(column));
    if (!choice)
        return; // nothing the description file offers for this word
    QComboBox *editor = column == TypeColumn ? CbAnaOutTyp : CbAnaOutReaktion;
    editor->clear();
    editor->addItems(choice->texts);
    // A word whose bits match no entry shows no selection and stays as it is.
    editor->setCurrentIndex(choice->indexOf(AnaOutParams[static_cast<size_t>(row - 1)]));
    const QRect cell = SgAnaOutPara->visualRect(SgAnaOutPara->model()->index(row, column));
    const QPoint at = SgAnaOutPara->viewport()->mapTo(PClient, cell.topLeft());
    editor->setGeometry(QRect(at, cell.size()));
    editRow_ = row;
    editor->show();
    editor->raise();
    editor->setFocus();
}

void TParaAnaOut::chosen(QComboBox *editor, int column)
{
    const int row = editRow_;
    if (row < 1 || row > AnaOutChannels)
        return;
    const AnaOutChoice *choice = ChannelObjects[static_cast<size_t>(row - 1)].choice(choiceRowOf(column));
    if (choice) {
        qint32 &word = AnaOutParams[static_cast<size_t>(row - 1)];
        word = choice->applied(word, editor->currentIndex());
    }
    ShowParams();
}

void TParaAnaOut::CbAnaOutTypChange()
{
    chosen(CbAnaOutTyp, TypeColumn);
}

void TParaAnaOut::CbAnaOutReaktionChange()
{
    chosen(CbAnaOutReaktion, ReactionColumn);
}

void TParaAnaOut::ReadAnaOutClick()
{
    readChannels_ = channels();
    d.TxLength = BuildAnaOutReadRequest(d.TxFrame, d.SlaveAddress, readChannels_);
    ++d.TransactionId;
    exchange_.send(Timer2, d.ResponseInterval, d.TxLength);
}

void TParaAnaOut::Timer2Timer()
{
    const ReplyOutcome outcome = exchange_.tick(Timer2);
    if (outcome == ReplyOutcome::Idle || outcome == ReplyOutcome::Pending)
        return;
    if (outcome == ReplyOutcome::TimedOut) {
        ShowErrorMessage(d, QStringLiteral("Timeout"));
        return;
    }
    if (outcome == ReplyOutcome::Exception) {
        ShowErrorMessage(d, BareExceptionText(d.RxFrame[8]));
        return;
    }
    AnaOutBlock received = AnaOutParams;
    if (!DecodeAnaOutReply(d.RxFrame, d.RxCount, readChannels_, received))
        return; // never the case for a reply the helper hands over
    AnaOutParams = received;
    loadChannelObjects();
    ShowParams();
}

void TParaAnaOut::WriteAnaOutClick()
{
    const int n = channels();
    const quint8 length = BuildAnaOutWriteRequest(d.TxFrame, d.SlaveAddress, n, AnaOutParams);
    if (n == 0) {
        d.TxLength = 0;
        return;
    }
    d.TxLength = length;
    ++d.TransactionId;
    exchange_.send(Timer4, d.ResponseInterval, d.TxLength);
}

void TParaAnaOut::Timer4Timer()
{
    const ReplyOutcome outcome = exchange_.tick(Timer4);
    if (outcome == ReplyOutcome::Idle || outcome == ReplyOutcome::Pending)
        return;
    if (outcome == ReplyOutcome::TimedOut)
        ShowErrorMessage(d, QStringLiteral("Timeout"));
    else if (outcome == ReplyOutcome::Exception)
        ShowErrorMessage(d, ExceptionText(d.RxFrame[8]));
}

void TParaAnaOut::BackClick()
{
    closeEditors();
    close();
}
