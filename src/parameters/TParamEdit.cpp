#include "parameters/TParamEdit.h"

#include "app/Conversions.h"
#include "app/Deklarat.h"
#include "app/IniFile.h"
#include "app/Messages.h"
#include "app/Named.h"
#include "translation/WordLists.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QKeyEvent>

#include <algorithm>

namespace
{

constexpr int MaxTabs = 7;
constexpr int FieldWidth = 150;
constexpr int EnterKey = 13;

} // namespace

TParamEdit::TParamEdit(Deklarat &d) : TForm(d, QStringLiteral("TParamEdit"), QStringLiteral("ParamEdit"))
{
    TCCoupler = named(new QTabBar(this), "TCCoupler");
    TCCoupler->setExpanding(false);
    TCCoupler->setDrawBase(false);
    PCoupler = named(new QFrame(this), "PCoupler");
    PCoupler->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    for (int i = 0; i < Rows; ++i) {
        LCoupler[static_cast<size_t>(i)] = named(new QLabel(PCoupler), QStringLiteral("LCoupler%1").arg(i));
        QLineEdit *edit = named(new QLineEdit(PCoupler), QStringLiteral("ECoupler%1").arg(i));
        edit->installEventFilter(this);
        ECoupler[static_cast<size_t>(i)] = edit;
    }
    LConfirmData = named(new QLabel(PCoupler), "LConfirmData");
    BSend = named(new QPushButton(QStringLiteral("Senden"), this), "BSend");
    BRead = named(new QPushButton(QStringLiteral("Lesen"), this), "BRead");
    BCancel = named(new QPushButton(QStringLiteral("Zurück"), this), "BCancel");
    // Enter belongs to the fields, never to a default button.
    for (QPushButton *b : {BSend, BRead, BCancel})
        b->setAutoDefault(false);
    ReadPara = named(new QTimer(this), "ReadPara");
    WritePara = named(new QTimer(this), "WritePara");

    connect(TCCoupler, &QTabBar::currentChanged, this, [this] { TCCouplerChange(); });
    connect(BSend, &QPushButton::clicked, this, [this] { BSendClick(); });
    connect(BRead, &QPushButton::clicked, this, [this] { BReadClick(); });
    connect(BCancel, &QPushButton::clicked, this, [this] { BCancelClick(); });
    connect(ReadPara, &QTimer::timeout, this, [this] { ReadParaTimer(); });
    connect(WritePara, &QTimer::timeout, this, [this] { WriteParaTimer(); });

    translate(TParamEditWords(), WindowFonts::SansSerifThenArial(), 0);
    designLayout();
    FormCreate();
}

void TParamEdit::designLayout()
{
    auto *grid = new QGridLayout(PCoupler);
    grid->setContentsMargins(12, 12, 12, 12);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    for (int i = 0; i < Rows; ++i) {
        grid->addWidget(LCoupler[static_cast<size_t>(i)], i, 0);
        ECoupler[static_cast<size_t>(i)]->setFixedWidth(FieldWidth);
        grid->addWidget(ECoupler[static_cast<size_t>(i)], i, 1);
        grid->setRowMinimumHeight(i, ECoupler[0]->sizeHint().height());
    }
    grid->setColumnMinimumWidth(0, 160);
    grid->setColumnStretch(2, 1);
    LConfirmData->setWordWrap(true);
    grid->addWidget(LConfirmData, Rows, 0, 1, 3);
    grid->setRowStretch(Rows + 1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {BSend, BRead, BCancel}) {
        b->setMinimumWidth(90);
        buttons->addWidget(b);
    }
    auto *top = new QVBoxLayout(this);
    top->setContentsMargins(8, 8, 8, 8);
    top->setSpacing(0);
    top->addWidget(TCCoupler);
    top->addWidget(PCoupler, 1);
    top->addSpacing(8);
    top->addLayout(buttons);
    resize(460, 290);
}

QStringList TParamEdit::objectList() const
{
    return d.ModuleCatalogue[d.StationPositions[d.SelectedPosition % StationPositionCount].ModuleId].ObjectLists[0];
}

qint64 TParamEdit::ObjectIdOfTab(int tab) const
{
    const QStringList list = objectList();
    if (tab < 0 || tab >= list.size())
        return -1;
    return IniFile::descriptionNumber(list[tab].left(ObjectIdLength));
}

void TParamEdit::FormCreate()
{
    CouplerBlock = {};
    const quint8 position = d.SelectedPosition % StationPositionCount;
    const CatalogueEntry &entry = d.ModuleCatalogue[d.StationPositions[position].ModuleId];
    setWindowTitle(LookupMessage(QStringLiteral("%Form%")) + QStringLiteral(" - ") + QString::number(position) +
                   QStringLiteral(" - ") + entry.ShortName + QLatin1Char(' ') + entry.AddName);

    const IniFile file(d.ProgramFolder + DescriptionFileName(d.BrandMode));
    const QStringList list = objectList();
    {
        const QSignalBlocker quiet(TCCoupler);
        for (int i = 0; i < MaxTabs && i < list.size() && !list[i].isEmpty(); ++i) {
            const QString name = file.readString(QStringLiteral("Object_") + list[i], QStringLiteral("Name"));
            if (!name.isEmpty())
                TCCoupler->addTab(name);
        }
        if (TCCoupler->count() > 0)
            TCCoupler->setCurrentIndex(0);
    }
    // Every tab in sight, none behind scroll arrows.
    const int margins = layout()->contentsMargins().left() + layout()->contentsMargins().right();
    resize(std::max(width(), TCCoupler->sizeHint().width() + margins), height());
    LConfirmData->setText(LookupMessage(QStringLiteral("@ConfirmData")));
    TCCouplerChange();
}

void TParamEdit::showRow(int row, const QString &caption)
{
    LCoupler[static_cast<size_t>(row)]->setText(caption);
    ECoupler[static_cast<size_t>(row)]->setText(StoredText(row));
    LCoupler[static_cast<size_t>(row)]->show();
    ECoupler[static_cast<size_t>(row)]->show();
}

QString TParamEdit::StoredText(int field) const
{
    switch (display_) {
    case Display::LocalIp:
        return field == 0 ? AddressText(CouplerBlock.LocalIp) : QString();
    case Display::LocalMask:
        return field == 0 ? AddressText(CouplerBlock.LocalMask) : QString();
    case Display::Route: {
        const CouplerRoute &route = CouplerBlock.Routes[static_cast<size_t>(displayRoute_ - 1)];
        switch (field) {
        case 0:
            return AddressText(route.Destination);
        case 1:
            return AddressText(route.NetMask);
        case 2:
            return AddressText(route.Gateway);
        case 3:
            return QString::number(route.Metric);
        default:
            return QString();
        }
    }
    case Display::Nothing:
    case Display::EmptyRows:
        break;
    }
    return QString();
}

void TParamEdit::TCCouplerChange()
{
    const int tab = TCCoupler->currentIndex();
    const QStringList list = objectList();
    const QString objectText = tab >= 0 && tab < list.size() ? list[tab].left(ObjectIdLength) : QString();
    const qint64 objectId = IniFile::descriptionNumber(objectText);
    const IniFile file(d.ProgramFolder + DescriptionFileName(d.BrandMode));
    const QString section = QStringLiteral("Object_") + objectText;
    const qint64 paraCount = IniFile::descriptionNumber(file.readString(section, QStringLiteral("ParaCount")));
    const auto caption = [&](int n) { return file.readString(section, QStringLiteral("StringCaption%1").arg(n)); };
    if (paraCount == 4) {
        for (int n = 0; n < 3; ++n)
            captions_[static_cast<size_t>(n)] = caption(n);
        valueCaption0_ = file.readString(section, QStringLiteral("ValueCaption0"));
    } else if (paraCount > 0) {
        for (int n = 0; n < paraCount && n < 3; ++n)
            captions_[static_cast<size_t>(n)] = caption(n);
    }

    for (int i = 0; i < Rows; ++i) {
        LCoupler[static_cast<size_t>(i)]->hide();
        ECoupler[static_cast<size_t>(i)]->hide();
        ECoupler[static_cast<size_t>(i)]->clear();
    }
    if (paraCount < 2) {
        display_ = objectId == LocalIpObject     ? Display::LocalIp
                   : objectId == LocalMaskObject ? Display::LocalMask
                                                 : Display::Nothing;
        if (display_ != Display::Nothing)
            showRow(0, captions_[0]);
        return;
    }
    displayRoute_ = RouteOfObject(objectId);
    display_ = displayRoute_ > 0 ? Display::Route : Display::EmptyRows;
    showRow(0, captions_[0]);
    showRow(1, captions_[1]);
    showRow(2, captions_[2]);
    showRow(3, valueCaption0_);
}

CouplerRoute *TParamEdit::currentRoute()
{
    // Tabs 2 to 6 edit routes 1 to 5; other tabs have no route to store into.
    const int route = TCCoupler->currentIndex() - 1;
    if (route < 1 || route > CouplerRoutes)
        return nullptr;
    return &CouplerBlock.Routes[static_cast<size_t>(route - 1)];
}

void TParamEdit::ECouplerKeyPress(int field, int key)
{
    if (key != EnterKey || field < 0 || field >= Rows)
        return;
    QLineEdit *edit = ECoupler[static_cast<size_t>(field)];
    const int tab = TCCoupler->currentIndex();
    if (tab < 0)
        return;
    CouplerRoute *route = currentRoute();
    if (field == 3) {
        const std::optional<quint16> metric = ParseMetric(edit->text());
        if (!metric) {
            const IntegerReading reading = ReadIntegerText(edit->text(), MetricMin, MetricMax);
            ReportConversionError(d, IntegerReadingError(edit->text(), reading, MetricMin, MetricMax));
            return;
        }
        if (route) {
            route->Metric = *metric;
            edit->setText(QString::number(route->Metric));
        }
        return;
    }
    const IpAddress address = ParseAddress(edit->text());
    edit->setText(AddressText(address));
    if (field == 0 && tab == 0)
        CouplerBlock.LocalIp = address;
    else if (field == 0 && tab == 1)
        CouplerBlock.LocalMask = address;
    else if (route && field == 0)
        route->Destination = address;
    else if (route && field == 1)
        route->NetMask = address;
    else if (route && field == 2)
        route->Gateway = address;
}

void TParamEdit::ECouplerExit(int field)
{
    if (field >= 0 && field < Rows)
        ECoupler[static_cast<size_t>(field)]->setText(StoredText(field));
}

void TParamEdit::BReadClick()
{
    d.TxLength = BuildCouplerReadRequest(d.TxFrame, d.SlaveAddress);
    ++d.TransactionId;
    exchange_.send(ReadPara, d.ResponseInterval, d.TxLength);
}

void TParamEdit::ReadParaTimer()
{
    const ReplyOutcome outcome = exchange_.tick(ReadPara);
    if (outcome == ReplyOutcome::Idle || outcome == ReplyOutcome::Pending)
        return;
    if (outcome == ReplyOutcome::TimedOut) {
        ShowErrorMessage(d, QStringLiteral("Timeout"));
        return;
    }
    if (outcome == ReplyOutcome::Exception) {
        ShowErrorMessage(d, ExceptionText(d.RxFrame[8]));
    } else if (const std::optional<CouplerParameterBlock> block = DecodeCouplerReply(d.RxFrame, d.RxCount)) {
        CouplerBlock = *block;
    }
    TCCouplerChange();
}

void TParamEdit::BSendClick()
{
    // The coupler block goes out under the transaction identifier of the
    // request before it.
    d.TxLength = BuildCouplerWriteRequest(d.TxFrame, d.SlaveAddress, CouplerBlock);
    exchange_.send(WritePara, d.ParaTimeout, d.TxLength);
}

void TParamEdit::WriteParaTimer()
{
    const ReplyOutcome outcome = exchange_.tick(WritePara);
    if (outcome == ReplyOutcome::Idle || outcome == ReplyOutcome::Pending)
        return;
    if (outcome == ReplyOutcome::TimedOut)
        ShowErrorMessage(d, QStringLiteral("Timeout"));
    else if (outcome == ReplyOutcome::Exception)
        ShowErrorMessage(d, ExceptionText(d.RxFrame[8]));
}

void TParamEdit::BCancelClick()
{
    exchange_.cancel();
    reject();
}

bool TParamEdit::eventFilter(QObject *watched, QEvent *event)
{
    for (int i = 0; i < Rows; ++i) {
        if (watched != ECoupler[static_cast<size_t>(i)])
            continue;
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                ECouplerKeyPress(i, EnterKey);
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            ECouplerExit(i);
        }
        break;
    }
    return TForm::eventFilter(watched, event);
}
