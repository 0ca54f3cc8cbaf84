#include "monitor/TStatistik.h"

#include "app/Deklarat.h"
#include "app/Named.h"
#include "app/StatusDisplay.h"
#include "link/Transport.h"
#include "translation/WordLists.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

TStatistik::TStatistik(Deklarat &d) : TForm(d, QStringLiteral("TStatistik"), QStringLiteral("Statistik"))
{
    SGStatistik = named(new QTableWidget(0, 10, this), "SGStatistik");
    SGStatistik->verticalHeader()->hide();
    SGStatistik->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGStatistik->setSelectionMode(QAbstractItemView::NoSelection);
    SGStatistik->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    BReset = named(new QPushButton(QStringLiteral("Zurücksetzen"), this), "BReset");
    BCopy = named(new QPushButton(QStringLiteral("Kopieren"), this), "BCopy");
    BClose = named(new QPushButton(QStringLiteral("Schließen"), this), "BClose");
    RefreshTimer = new QTimer(this);
    RefreshTimer->setObjectName(QStringLiteral("RefreshTimer"));
    RefreshTimer->setInterval(500);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SGStatistik, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BReset);
    buttons->addWidget(BCopy);
    buttons->addStretch();
    buttons->addWidget(BClose);
    layout->addLayout(buttons);
    resize(820, 260);

    connect(BReset, &QPushButton::clicked, this, [this] { BResetClick(); });
    connect(BCopy, &QPushButton::clicked, this, [this] { BCopyClick(); });
    connect(BClose, &QPushButton::clicked, this, [this] { BCloseClick(); });
    connect(RefreshTimer, &QTimer::timeout, this, [this] { RefreshTimerTimer(); });

    translate(TStatistikWords(), WindowFonts::Arial());
    connect(MultiLang1, &TMultiLang::translated, this, [this] { RefreshTimerTimer(); });
    if (d.Link)
        d.Link->setTrafficObserver(&recorder_);
    RefreshTimerTimer();
    RefreshTimer->start();
}

TStatistik::~TStatistik()
{
    if (d.Link)
        d.Link->setTrafficObserver(nullptr);
}

QStringList TStatistik::header() const
{
    QStringList h;
    for (const char *id : {"@idFUNCTION", "@idREQUESTS", "@idREPLIES", "@idEXCEPT", "@idGIVENUP", "@idREJECTED",
                           "@idRTT_MIN", "@idRTT_MED", "@idRTT_P99", "@idRTT_MAX"})
        h << LookupMessage(QString::fromLatin1(id));
    return h;
}

QString TStatistik::tableText() const
{
    return TrafficText(header(), TrafficRows(recorder_.statistics, LookupMessage(QStringLiteral("@idTOTAL"))));
}

QString TStatistik::summaryText() const
{
    const FunctionTraffic t = recorder_.statistics.total();
    return LookupMessage(QStringLiteral("@idSUMMARY"))
        .arg(t.requests)
        .arg(t.replies)
        .arg(t.exceptionTotal())
        .arg(t.givenUp)
        .arg(t.rejected);
}

void TStatistik::showTable()
{
    SGStatistik->setHorizontalHeaderLabels(header());
    const std::vector<QStringList> rows = TrafficRows(recorder_.statistics, LookupMessage(QStringLiteral("@idTOTAL")));
    SGStatistik->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const QStringList &cells = rows[static_cast<size_t>(r)];
        for (int c = 0; c < cells.size() && c < SGStatistik->columnCount(); ++c) {
            QTableWidgetItem *item = SGStatistik->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
                SGStatistik->setItem(r, c, item);
            }
            if (item->text() != cells[c])
                item->setText(cells[c]);
        }
    }
}

void TStatistik::showEvent(QShowEvent *event)
{
    showTable();
    TForm::showEvent(event);
}

void TStatistik::RefreshTimerTimer()
{
    // The table only while it can be seen; the sum always.
    if (isVisible())
        showTable();
    if (d.Status)
        d.Status->setTrafficSummary(summaryText());
}

void TStatistik::BResetClick()
{
    recorder_.statistics.reset();
    showTable();
    RefreshTimerTimer();
}

void TStatistik::BCopyClick()
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setText(tableText());
}

void TStatistik::BCloseClick()
{
    close();
}
