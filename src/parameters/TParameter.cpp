#include "parameters/TParameter.h"

#include "app/CellPainter.h"
#include "app/Deklarat.h"
#include "app/IniFile.h"
#include "app/Named.h"
#include "parameters/DefaultData.h"
#include "parameters/TParamEdit.h"
#include "parameters/TZusatzIOEdit.h"
#include "station/ModulePictures.h"
#include "station/StationConfigDecode.h"
#include "translation/WordLists.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>

namespace
{

constexpr int FallbackPictureWidth = 60;
constexpr int FallbackPictureHeight = 160;
constexpr int NameRowHeight = 24;
constexpr int Columns = 11;
constexpr int ShortNameLength = 7;
constexpr int HintMilliseconds = 2500;

} // namespace

TParameter::TParameter(Deklarat &d) : TForm(d, QStringLiteral("TParameter"), QStringLiteral("Parameter"))
{
    Panel1 = named(new QLabel(this), "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setWordWrap(true);

    SGParam = named(new QTableWidget(2, Columns, this), "SGParam");
    SGParam->horizontalHeader()->hide();
    SGParam->verticalHeader()->hide();
    SGParam->horizontalHeader()->setMinimumSectionSize(1);
    SGParam->verticalHeader()->setMinimumSectionSize(1);
    SGParam->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGParam->setSelectionMode(QAbstractItemView::NoSelection);
    SGParam->setFocusPolicy(Qt::NoFocus);
    SGParam->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SGParam->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SGParam->setItemDelegate(new CellPainter(
        [this](QPainter *p, const QStyleOptionViewItem &o, const QModelIndex &i) {
            p->save();
            FillCell(p, o.palette, o, i, false);
            SGParamDrawCell(p, i.column(), i.row(), o.rect);
            p->restore();
        },
        SGParam));
    SGParam->setMouseTracking(true);
    SGParam->viewport()->installEventFilter(this);
    connect(SGParam, &QTableWidget::cellClicked, this, [this](int r, int c) { SGParamClick(c, r); });
    connect(SGParam, &QTableWidget::cellDoubleClicked, this, [this](int r, int c) { SGParamDblClick(c, r); });

    PBottom = named(new QFrame(this), "PBottom");
    PBottom->setFrameStyle(QFrame::Panel | QFrame::Raised);
    BBack = named(new QPushButton(QStringLiteral("Zurück"), PBottom), "BBack");
    BBack->setAutoDefault(false);
    connect(BBack, &QPushButton::clicked, this, [this] { BBackClick(); });

    TimerDeleteHint = named(new QTimer(this), "TimerDeleteHint");
    TimerDeleteHint->setInterval(HintMilliseconds);
    TimerDeleteHint->setSingleShot(true);
    connect(TimerDeleteHint, &QTimer::timeout, this, [this] { TimerDeleteHintTimer(); });
    HintWindow = named(new QLabel(this, Qt::ToolTip), "HintWindow");
    HintWindow->setAutoFillBackground(true);
    HintWindow->setBackgroundRole(QPalette::ToolTipBase);
    HintWindow->setForegroundRole(QPalette::ToolTipText);
    HintWindow->setAlignment(Qt::AlignCenter);

    translate(TParameterWords(), WindowFonts::SansSerifThenArial(), 0);
    FormCreate();
}

TParameter::~TParameter()
{
    // An editor still open at the end of the program goes with its overview.
    delete editor_.data();
}

void TParameter::FormCreate()
{
    // The catalogue itself is loaded by the configuration window, which is
    // created before this one; both use the one table.
    emptySlot_ = ModulePicture(EmptySlotPictureFile(d.ProgramFolder, d.BrandMode));
    brandedEmptySlot_ = ModulePicture(EmptySlotPictureFile(d.ProgramFolder, 1));
    const int columnWidth = brandedEmptySlot_.isNull() ? FallbackPictureWidth : brandedEmptySlot_.width();
    const int pictureHeight = brandedEmptySlot_.isNull() ? FallbackPictureHeight : brandedEmptySlot_.height();
    for (int c = 0; c < Columns; ++c)
        SGParam->setColumnWidth(c, columnWidth);
    SGParam->setRowHeight(0, NameRowHeight);
    SGParam->setRowHeight(1, pictureHeight);
    SGParam->setFixedSize(Columns * columnWidth + 14, NameRowHeight + pictureHeight + 24 + 6);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Panel1->setFixedHeight(41);
    layout->addWidget(Panel1);
    auto *client = new QHBoxLayout;
    client->setContentsMargins(8, 8, 8, 8);
    client->addWidget(SGParam);
    layout->addLayout(client);
    layout->addWidget(PBottom);
    auto *bottom = new QHBoxLayout(PBottom);
    bottom->setContentsMargins(8, 6, 8, 6);
    bottom->addStretch(1);
    BBack->setMinimumWidth(90);
    bottom->addWidget(BBack);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

quint8 TParameter::moduleIdOf(int column) const
{
    if (column < 1 || column > 10)
        return 0;
    return d.StationPositions[static_cast<size_t>(column - 1)].ModuleId;
}

void TParameter::SGParamDrawCell(QPainter *painter, int column, int row, const QRect &rect) const
{
    if (column < 1 || column > 10)
        return;
    const quint8 m = moduleIdOf(column);
    const CatalogueEntry &entry = d.ModuleCatalogue[m];
    if (row == 0) {
        const QString text = entry.ShortName.isEmpty() ? QStringLiteral("----") : entry.ShortName.left(ShortNameLength);
        painter->drawText(rect.adjusted(0, 4, 0, 0), Qt::AlignHCenter | Qt::AlignTop, text);
        return;
    }
    if (row != 1)
        return;
    const QImage picture = m == 0 ? emptySlot_ : ModulePicture(entry.PictureFile);
    if (picture.isNull())
        painter->fillRect(rect, SGParam->palette().window());
    else
        painter->drawImage(rect.topLeft() + QPoint(0, 4), picture);
}

QString TParameter::HintText(int column) const
{
    const CatalogueEntry &entry = d.ModuleCatalogue[moduleIdOf(column)];
    if (GridShortName(entry.ShortName) == QLatin1String("----"))
        return LookupMessage(QStringLiteral("@empty"));
    return entry.ShortName + QLatin1Char(' ') + entry.AddName;
}

void TParameter::hideHint()
{
    TimerDeleteHint->stop();
    HintWindow->hide();
}

void TParameter::SGParamClick(int column, int row)
{
    hideHint();
    if (row != 1 || column < 1 || column > 10)
        return;
    const QString text = HintText(column);
    const QFontMetrics metrics(HintWindow->font());
    HintWindow->setText(text);
    HintWindow->resize(metrics.horizontalAdvance(text) + 10, metrics.height() + 2);
    HintWindow->move(SGParam->x() + LastMousePos.x() + x() + 20, SGParam->y() + LastMousePos.y() + y() + 95);
    HintWindow->show();
    TimerDeleteHint->start();
}

void TParameter::SGParamMouseMove(const QPoint &pos)
{
    LastMousePos = pos;
}

void TParameter::TimerDeleteHintTimer()
{
    hideHint();
}

void TParameter::SGParamDblClick(int column, int row)
{
    if (row != 1 || column < 1 || column > 10 || moduleIdOf(column) == 0)
        return;
    // The editor is modal: while one is open no second one can be asked for.
    if (editor_)
        return;
    hideHint();
    d.SelectedPosition = static_cast<quint8>(column - 1);
    QDialog *editor = nullptr;
    if (d.SelectedPosition == 0)
        editor = new TParamEdit(d);
    else
        editor = new TZusatzIOEdit(d);
    editor_ = editor;
    connect(editor, &QDialog::finished, editor, &QObject::deleteLater);
    editor->setWindowModality(Qt::ApplicationModal);
    editor->show();
    editor->raise();
    editor->activateWindow();
}

void TParameter::BBackClick()
{
    close();
}

void TParameter::DefaultDataLaden()
{
    if (d.StationConfig.ConfigValid != 1)
        return;
    const IniFile file(d.ProgramFolder + DescriptionFileName(d.BrandMode));
    BuildDefaultData(d.StationPositions, d.StationConfig, d.ModuleCatalogue, file);
    SGParam->viewport()->update();
}

bool TParameter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == SGParam->viewport() && event->type() == QEvent::MouseMove)
        SGParamMouseMove(static_cast<QMouseEvent *>(event)->position().toPoint());
    return TForm::eventFilter(watched, event);
}
