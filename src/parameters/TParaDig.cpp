#include "parameters/TParaDig.h"

#include "app/Deklarat.h"
#include "app/Messages.h"
#include "app/Named.h"
#include "parameters/DigOutFrames.h"
#include "parameters/WindowScaling.h"
#include "translation/WordLists.h"

#include <QBoxLayout>
#include <QEvent>
#include <QRadioButton>

namespace
{

const QColor Silver(192, 192, 192);

QStringList DesignItems()
{
    return {QStringLiteral("letzter Wert"), QStringLiteral("Sichere 0"), QStringLiteral("Sichere 1")};
}

void paintSilver(QWidget *w)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, Silver);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

// Hidden columns and channels keep their place, so that the columns shown
// stand where they always stand.
void keepPlaceWhenHidden(QWidget *w)
{
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
}

} // namespace

TParaDig::TParaDig(Deklarat &d) : TForm(d, QStringLiteral("TParaDig"), QStringLiteral("digitale Parameter"))
{
    for (int c = 1; c <= DigOutModules; ++c) {
        QGroupBox *column = named(new QGroupBox(this), QStringLiteral("GroupBox%1").arg(c));
        QFont bold = column->font();
        bold.setBold(true);
        column->setFont(bold);
        GroupBox[static_cast<size_t>(c)] = column;
        for (int i = 1; i <= DigOutChannelsPerModule; ++i) {
            const int n = (c - 1) * DigOutChannelsPerModule + i;
            TRadioGroup *group = named(new TRadioGroup(column), QStringLiteral("RadioGroup%1").arg(n));
            group->setTitle(QStringLiteral("Kanal %1").arg(n));
            group->setItems(DesignItems());
            RadioGroup[static_cast<size_t>(n)] = group;
            connect(group, &TRadioGroup::clicked, this, [this, n] { RadioGroupClick(n); });
        }
    }

    ScrollBox1 = named(new QScrollArea(this), "ScrollBox1");
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    Memo1 = named(new QPlainTextEdit(this), "Memo1");
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Write = named(new QPushButton(QStringLiteral("Schreiben"), this), "Write");
    Read = named(new QPushButton(QStringLiteral("Lesen"), this), "Read");
    Back = named(new QPushButton(QString::fromUtf8("Zurück"), this), "Back");
    for (QPushButton *b : {Write, Read, Back})
        b->setAutoDefault(false);
    connect(Write, &QPushButton::clicked, this, [this] { WriteClick(); });
    connect(Read, &QPushButton::clicked, this, [this] { ReadClick(); });
    connect(Back, &QPushButton::clicked, this, [this] { BackClick(); });

    Anfrage = named(new QTimer(this), "Anfrage");
    Timer1 = named(new QTimer(this), "Timer1");
    connect(Anfrage, &QTimer::timeout, this, [this] { AnfrageTimer(); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    translate(TParaDigWords(), WindowFonts::Arial(), 0);
    designLayout();
    FormCreate();
}

void TParaDig::designLayout()
{
    const QFontMetrics fm(font());
    const int h = fm.height();

    auto *top = new QVBoxLayout(this);
    top->setContentsMargins(h / 2, h / 2, h / 2, h / 2);
    top->setSpacing(h / 2);

    // The columns scroll when the screen has no room for all of them.
    auto *inner = new QWidget;
    inner->setObjectName(QStringLiteral("ChannelColumns"));
    auto *columns = new QHBoxLayout(inner);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(h / 3);
    for (int c = 1; c <= DigOutModules; ++c) {
        QGroupBox *column = GroupBox[static_cast<size_t>(c)];
        // Column 2 is silver as a whole; elsewhere every second channel is.
        if (c == 2)
            paintSilver(column);
        keepPlaceWhenHidden(column);
        auto *channels = new QVBoxLayout(column);
        channels->setContentsMargins(h / 4, h / 4, h / 4, h / 4);
        channels->setSpacing(h / 4);
        for (int i = 1; i <= DigOutChannelsPerModule; ++i) {
            const int n = (c - 1) * DigOutChannelsPerModule + i;
            TRadioGroup *group = RadioGroup[static_cast<size_t>(n)];
            if (n % 2 == 0)
                paintSilver(group);
            keepPlaceWhenHidden(group);
            group->layout()->setContentsMargins(h / 3, h / 6, h / 3, h / 6);
            group->layout()->setSpacing(0);
            channels->addWidget(group);
        }
        channels->addStretch(1);
        columns->addWidget(column);
    }
    ScrollBox1->setWidget(inner);
    top->addWidget(ScrollBox1, 1);

    auto *bottom = new QHBoxLayout;
    bottom->setSpacing(h / 2);
    bottom->addWidget(Memo1, 1);
    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(h / 3);
    const int buttonWidth = fm.horizontalAdvance(QString::fromUtf8("Schreiben")) + 3 * h;
    for (QPushButton *b : {Write, Read, Back}) {
        b->setMinimumWidth(buttonWidth);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    bottom->addLayout(buttons);
    top->addLayout(bottom);
    Memo1->setFixedHeight(5 * h);

    // Start with every column and channel hidden; the activation shows them.
    for (int n = 1; n <= DigOutChannels; ++n)
        RadioGroup[static_cast<size_t>(n)]->hide();
    for (int c = 1; c <= DigOutModules; ++c)
        GroupBox[static_cast<size_t>(c)]->hide();
    resize(SizeWithAllRows(this, ScrollBox1));
}

void TParaDig::FormCreate()
{
    const ScreenArea screen = ScreenAreaFor(d.ForcedScreenSize);
    ApplyWindowScaling(this, screen.size);
    FitWindow(this, ScrollBox1, screen);
}

void TParaDig::FormActivate()
{
    Memo1->clear();
    if (d.StationConfig.ConfigValid != 1) {
        showError(LookupMessage(QStringLiteral("@idERR_CONF")));
        // Nothing was asked: the reply timer finds no reply of this window and
        // takes nothing from whatever the line carried.
        Anfrage->start(d.ResponseInterval);
        return;
    }
    const int count = d.StationConfig.DigOutCount;
    if (count == 0) {
        showError(LookupMessage(QStringLiteral("@idERR_OUT")));
        return;
    }
    const DigOutVisibility v = DigOutVisibilityFor(count);
    if (!v.changes)
        return;
    // What was shown once stays shown.
    for (int c = 1; c <= v.columns; ++c) {
        GroupBox[static_cast<size_t>(c)]->show();
        for (int i = 1; i <= 4; ++i)
            RadioGroup[static_cast<size_t>((c - 1) * DigOutChannelsPerModule + i)]->show();
    }
    for (int n = 1; n <= v.channels; ++n)
        RadioGroup[static_cast<size_t>(n)]->show();
}

void TParaDig::showError(const QString &text)
{
    ShowErrorMessage(d, text);
}

void TParaDig::addMemoLine(const QString &line)
{
    Memo1->appendPlainText(line);
}

int TParaDig::modulesOrRefuse()
{
    const int n = DigOutModulesHandled(d.StationConfig.DigOutModuleCount);
    if (n == 0)
        showError(LookupMessage(QStringLiteral("@idERR_OUT")));
    return n;
}

void TParaDig::ReadClick()
{
    const int n = modulesOrRefuse();
    if (n == 0)
        return;
    // This request carries the transaction identifier of the one before.
    d.TxLength = BuildDigOutReadRequest(d.TxFrame, d.SlaveAddress, n);
    readModules_ = n;
    exchange_.send(Anfrage, d.ResponseInterval, d.TxLength);
}

void TParaDig::AnfrageTimer()
{
    // The helper is shared with the write: while that is outstanding a tick
    // here only stops this timer.
    const ReplyOutcome outcome = exchange_.tick(Anfrage);
    if (outcome == ReplyOutcome::Idle || outcome == ReplyOutcome::Pending)
        return;
    if (outcome == ReplyOutcome::TimedOut) {
        addMemoLine(DigOutAnswerLine(QStringLiteral("Timeout")));
        return;
    }
    if (outcome == ReplyOutcome::Exception) {
        const QString text = DigOutAnswerLine(BareExceptionText(d.RxFrame[8]));
        showError(text);
        addMemoLine(text);
        return;
    }
    QStringList lines;
    if (!DecodeDigOutReply(d.RxFrame, d.RxCount, readModules_, FailStates, lines))
        return; // never the case for a reply the helper hands over
    for (const QString &line : lines)
        addMemoLine(line);
    ShowFailStates();
}

void TParaDig::ShowFailStates()
{
    // Selections set here run no click handler, so the bits stay as read.
    for (int n = 1; n <= DigOutChannels; ++n)
        RadioGroup[static_cast<size_t>(n)]->setItemIndex(FailStates.choiceOf(n));
}

void TParaDig::RadioGroupClick(int channel)
{
    if (channel < 1 || channel > DigOutChannels)
        return;
    const int item = RadioGroup[static_cast<size_t>(channel)]->itemIndex();
    if (item < LastValue || item > FailState1)
        return;
    FailStates.choose(channel, static_cast<DigOutChoice>(item));
}

void TParaDig::WriteClick()
{
    const int n = modulesOrRefuse();
    if (n == 0)
        return;
    d.TxLength = BuildDigOutWriteRequest(d.TxFrame, d.SlaveAddress, n, FailStates);
    addMemoLine(DigOutWriteMemoLine(d.TxFrame, n));
    exchange_.send(Timer1, d.ResponseInterval, d.TxLength);
}

void TParaDig::Timer1Timer()
{
    const ReplyOutcome outcome = exchange_.tick(Timer1);
    if (outcome == ReplyOutcome::Idle || outcome == ReplyOutcome::Pending)
        return;
    if (outcome == ReplyOutcome::TimedOut) {
        addMemoLine(DigOutAnswerLine(QStringLiteral("Timeout")));
        return;
    }
    if (outcome == ReplyOutcome::Exception) {
        const QString text = DigOutAnswerLine(ExceptionText(d.RxFrame[8]));
        showError(text);
        addMemoLine(text);
        return;
    }
    for (const QString &line : DigOutWriteReplyMemoLines(d.RxFrame, d.RxCount))
        addMemoLine(line);
}

void TParaDig::BackClick()
{
    close();
}
