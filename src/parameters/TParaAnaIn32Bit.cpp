#include "parameters/TParaAnaIn32Bit.h"

#include "app/Conversions.h"
#include "app/Deklarat.h"
#include "app/IntegerField.h"
#include "app/Messages.h"
#include "app/Named.h"
#include "link/Transport.h"
#include "parameters/AnaIn32Layout.h"
#include "parameters/WindowScaling.h"
#include "translation/WordLists.h"

#include <QEvent>
#include <QScopedValueRollback>

#include <algorithm>
#include <initializer_list>
#include <limits>

namespace
{

QString numbered(const char *name, int k)
{
    return QString::fromLatin1(name) + QString::number(k);
}

// The same in both languages.
QStringList OutputItems()
{
    return {QStringLiteral("Brutto"), QStringLiteral("Netto"), QStringLiteral("Tara"), QStringLiteral("Offset")};
}

QStringList FormatItems()
{
    return {QStringLiteral("Normal"), QStringLiteral("Null"), QStringLiteral("Tara"), QString(),
            QStringLiteral("res Tara")};
}

// English design texts of the headings Label17..Label33.
const char *const HeadingTexts[] = {"Type",     "Filter",  "Active",   "Spike",  "Scale",     "Down",
                                    "32Bit",    "Process", "Value",    "Output", "Format",    "lower",
                                    "ProValue", "upper",   "ProValue", "upper",  "FieldValue"};

} // namespace

std::vector<QWidget *> TAnaIn32Row::controls() const
{
    return {Label,    Typ,     Edit,    ScrollBar,  CbAktiv, CbSpike, CbScale,
            CbFormat, CbValue, CoBoAus, CoBoFormat, PV1_,    PV2_,    FV2_};
}

TParaAnaIn32Bit::TParaAnaIn32Bit(Deklarat &d)
    : TForm(d, QStringLiteral("TParaAnaIn32Bit"), QStringLiteral("analog 32Bit Input Parameter"))
{
    GroupBox1 = named(new QGroupBox(this), QStringLiteral("GroupBox1"));
    for (int i = 0; i < static_cast<int>(Headings.size()); ++i)
        Headings[static_cast<size_t>(i)] =
            named(new QLabel(QString::fromLatin1(HeadingTexts[i]), GroupBox1), numbered("Label", 17 + i));
    for (int k = 1; k <= AnaIn32Channels; ++k)
        buildRow(k);

    // The rows scroll when the screen has no room for all of them.
    ScrollBox1 = named(new QScrollArea(this), QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    Memo1 = named(new QPlainTextEdit(this), QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Button1 = named(new QPushButton(QStringLiteral("ReadAnaIn"), this), QStringLiteral("Button1"));
    Button2 = named(new QPushButton(QStringLiteral("WriteAnaIn"), this), QStringLiteral("Button2"));
    Back = named(new QPushButton(QStringLiteral("Back"), this), QStringLiteral("Back"));
    // Usable once a configuration says how many channels there are.
    Button1->setEnabled(false);
    Button2->setEnabled(false);
    for (QPushButton *b : {Button1, Button2, Back})
        b->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, [this] { ReadAnaInClick(); });
    connect(Button2, &QPushButton::clicked, this, [this] { WriteAnaInClick(); });
    connect(Back, &QPushButton::clicked, this, [this] { BackClick(); });

    Timer1 = named(new QTimer(this), QStringLiteral("Timer1"));
    Timer3 = named(new QTimer(this), QStringLiteral("Timer3"));
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    connect(Timer3, &QTimer::timeout, this, [this] { Timer3Timer(); });

    translate(TParaAnaIn32BitWords(), WindowFonts::ArialEnglishDesign(), 1);
    designLayout();
    FormCreate();
}

void TParaAnaIn32Bit::buildRow(int k)
{
    TAnaIn32Row &r = Row[static_cast<size_t>(k)];
    QWidget *g = GroupBox1;
    r.Label = named(new QLabel(QStringLiteral("Chan. %1").arg(k), g), numbered("Label", k));
    r.Typ = named(new QLineEdit(g), numbered("Typ", k));
    r.Typ->setReadOnly(true);
    r.Edit = named(new QLineEdit(g), numbered("Edit", k));
    r.ScrollBar = named(new QScrollBar(Qt::Horizontal, g), numbered("ScrollBar", k));
    r.ScrollBar->setRange(FilterMin, FilterMax);
    r.ScrollBar->setPageStep(10);
    r.CbAktiv = named(new QCheckBox(g), numbered("CbAktiv", k));
    r.CbSpike = named(new QCheckBox(g), numbered("CbSpike", k));
    r.CbScale = named(new QCheckBox(g), numbered("CbScale", k));
    r.CbFormat = named(new QCheckBox(g), numbered("CbFormat", k));
    r.CbValue = named(new QCheckBox(g), numbered("CbValue", k));
    // As a zero SetupWord reads: active, spike filter on.
    r.CbAktiv->setChecked(true);
    r.CbSpike->setChecked(true);
    r.CoBoAus = named(new QComboBox(g), numbered("CoBoAus", k));
    r.CoBoFormat = named(new QComboBox(g), numbered("CoBoFormat", k));
    r.PV1_ = named(new QLineEdit(g), numbered("PV1_", k));
    r.PV2_ = named(new QLineEdit(g), numbered("PV2_", k));
    r.FV2_ = named(new QLineEdit(g), numbered("FV2_", k));
    for (QWidget *w : r.controls())
        w->hide();

    connect(r.ScrollBar, &QScrollBar::valueChanged, this, [this, k] { ScrollBarChange(k); });
    AnaIn32Record &rec = AnaIn32Params[static_cast<size_t>(k - 1)];
    // Only a number within the bar's range moves it; anything else is reported
    // when the field is left and keeps the value, and a write refuses it.
    QScrollBar *bar = r.ScrollBar;
    r.FilterField = new IntegerField(d, r.Edit, FilterMin, FilterMax, [this, bar, &rec](qint64 typed) {
        // Rewriting the edit now would cut into the typing ("0x1" of "0x10").
        const QScopedValueRollback following(editMovesBar_, true);
        bar->setValue(static_cast<int>(typed));
        rec.ModeWord = WithFilter(rec.ModeWord, bar->value());
    });
    // Only a user's choice counts as a change; setting the index does not.
    connect(r.CoBoAus, &QComboBox::activated, this, [this, k] { CoBoAusChange(k); });
    connect(r.CoBoFormat, &QComboBox::activated, this, [this, k] { CoBoFormatChange(k); });
    r.PV1_Field = valueField(r.PV1_, rec.LowerProValue);
    r.PV2_Field = valueField(r.PV2_, rec.UpperProValue);
    r.FV2_Field = valueField(r.FV2_, rec.UpperFieldValue);
}

void TParaAnaIn32Bit::FormCreate()
{
    const ScreenArea screen = ScreenAreaFor(d.ForcedScreenSize);
    ApplyWindowScaling(this, screen.size);
    FitRows(this, ScrollBox1, {Memo1, Button1, Button2, Back}, MaxClientSize(this, screen));
    for (int k = 1; k <= AnaIn32Channels; ++k) {
        TAnaIn32Row &r = Row[static_cast<size_t>(k)];
        r.Typ->setText(QStringLiteral("???"));
        r.ScrollBar->setValue(51);
        r.Edit->setText(QStringLiteral("51"));
        r.PV1_->setText(QStringLiteral("0"));
        r.PV2_->setText(QStringLiteral("10000"));
        r.FV2_->setText(QStringLiteral("10000"));
        r.CoBoAus->clear();
        r.CoBoAus->addItems(OutputItems());
        r.CoBoFormat->clear();
        r.CoBoFormat->addItems(FormatItems());
        r.CoBoAus->setCurrentIndex(0);
        r.CoBoFormat->setCurrentIndex(0);
    }
}

void TParaAnaIn32Bit::FormActivate()
{
    if (d.StationConfig.ConfigValid != 1)
        return;
    const int n = d.StationConfig.AnaIn32Count;
    if (n % 2 == 0 && n <= AnaIn32Channels) {
        for (int k = 1; k <= AnaIn32Channels; ++k)
            for (QWidget *w : Row[static_cast<size_t>(k)].controls())
                w->setVisible(k <= n);
    }
    Button1->setEnabled(true);
    Button2->setEnabled(true);

    // More channels than the window has rows would only grow an empty box.
    const int h = Row[1].CoBoAus->height();
    const AnaIn32Layout l = ActivationLayout(std::min(n, AnaIn32Channels), h, Memo1->height());
    GroupBox1->resize(GroupBox1->width(), l.groupHeight);
    for (QWidget *w : std::initializer_list<QWidget *>{Memo1, Button1, Button2, Back})
        w->move(w->x(), l.controlsTop);
    resize(width(), l.clientHeight);
    const ScreenArea screen = ScreenAreaFor(d.ForcedScreenSize);
    HoldScaledRows(this, GroupBox1, {Memo1, Button1, Button2, Back}, screen);
    FitRows(this, ScrollBox1, {Memo1, Button1, Button2, Back}, MaxClientSize(this, screen));
}

void TParaAnaIn32Bit::showEvent(QShowEvent *event)
{
    TForm::showEvent(event);
    FormActivate();
}

void TParaAnaIn32Bit::addMemoLine(const QString &line)
{
    Memo1->appendPlainText(line);
}

void TParaAnaIn32Bit::ReadAnaInClick()
{
    readChunks_ = SplitChannels(d.StationConfig.AnaIn32Count);
    readNext_ = 0;
    readStaging_ = AnaIn32Params;
    sendRead();
}

void TParaAnaIn32Bit::sendRead()
{
    const ChannelRange range = readChunks_[readNext_];
    d.TxLength = BuildReadRequest(d.TxFrame, d.SlaveAddress, range);
    addMemoLine(RequestMemoLine(d.TxFrame, 6));
    ++d.TransactionId;
    exchange_.send(Timer1, d.ParaTimeout, d.TxLength);
}

void TParaAnaIn32Bit::Timer1Timer()
{
    const ReplyOutcome outcome = exchange_.tick(Timer1);
    if (readChunks_.empty() || outcome == ReplyOutcome::Idle || outcome == ReplyOutcome::Pending)
        return;
    if (outcome == ReplyOutcome::TimedOut) {
        readChunks_.clear();
        ShowErrorMessage(d, QStringLiteral("Timeout"));
        return;
    }
    if (outcome == ReplyOutcome::Exception) {
        readChunks_.clear();
        ShowErrorMessage(d, BareExceptionText(d.RxFrame[8]));
        return;
    }
    const ChannelRange range = readChunks_[readNext_];
    if (range.count == 0) {
        readChunks_.clear();
        return;
    }
    QStringList lines;
    if (!DecodeReadReply(d.RxFrame, d.RxCount, range, readStaging_, lines)) {
        readChunks_.clear();
        ShowErrorMessage(d, LookupMessage(QStringLiteral("@idREPLY_SHORT")));
        return;
    }
    for (const QString &line : lines)
        addMemoLine(line);
    if (++readNext_ < readChunks_.size()) {
        sendRead();
        return;
    }
    // Only the channels read are taken; the others keep what they hold now.
    for (const ChannelRange &r : readChunks_)
        std::copy_n(readStaging_.begin() + r.first, r.count, AnaIn32Params.begin() + r.first);
    readChunks_.clear();
    ShowRecords();
}

void TParaAnaIn32Bit::ShowRecords()
{
    for (int k = 1; k <= AnaIn32Channels; ++k) {
        TAnaIn32Row &row = Row[static_cast<size_t>(k)];
        AnaIn32Record &rec = AnaIn32Params[static_cast<size_t>(k - 1)];
        row.Typ->setText(TypeText(rec.SetupWord));
        // A limited position that moves the bar is stored by the bar's handler.
        row.ScrollBar->setValue(LimitFilter(FilterOf(rec.ModeWord)));
        const SetupSwitches s = SwitchesOf(rec.SetupWord);
        row.CbValue->setChecked(s.Value);
        row.CbFormat->setChecked(s.Format32);
        row.CbScale->setChecked(s.Scale);
        row.CbSpike->setChecked(s.Spike);
        row.CbAktiv->setChecked(s.Aktiv);
        row.CoBoAus->setCurrentIndex(OutputIndexOf(rec.ModeWord));
        row.CoBoFormat->setCurrentIndex(FormatIndexOf(rec.ModeWord));
        // Copies: each text's handler stores its value into the record again.
        const qint32 lower = rec.LowerProValue;
        const qint32 upper = rec.UpperProValue;
        const qint32 field = rec.UpperFieldValue;
        row.PV1_->setText(QString::number(lower));
        row.PV2_->setText(QString::number(upper));
        row.FV2_->setText(QString::number(field));
    }
}

void TParaAnaIn32Bit::WriteAnaInClick()
{
    if (refuseUnwritable(std::min<int>(d.StationConfig.AnaIn32Count, AnaIn32Channels)))
        return;
    for (int k = 1; k <= AnaIn32Channels; ++k) {
        const TAnaIn32Row &row = Row[static_cast<size_t>(k)];
        SetupSwitches s;
        s.Value = row.CbValue->isChecked();
        s.Format32 = row.CbFormat->isChecked();
        s.Scale = row.CbScale->isChecked();
        s.Spike = row.CbSpike->isChecked();
        s.Aktiv = row.CbAktiv->isChecked();
        AnaIn32Params[static_cast<size_t>(k - 1)].SetupWord = RebuildSetupWord(s);
    }
    writeChunks_ = SplitChannels(d.StationConfig.AnaIn32Count);
    writeNext_ = 0;
    sendWrite();
}

void TParaAnaIn32Bit::sendWrite()
{
    const ChannelRange range = writeChunks_[writeNext_];
    const quint8 length = BuildWriteRequest(d.TxFrame, d.SlaveAddress, range, AnaIn32Params);
    addMemoLine(RequestMemoLine(d.TxFrame, 7));
    if (range.count == 0) {
        d.TxLength = 0;
        writeChunks_.clear();
        return;
    }
    addMemoLine(WriteDataMemoLine(AnaIn32Params, range));
    d.TxLength = length;
    ++d.TransactionId;
    exchange_.send(Timer3, d.ParaTimeout, d.TxLength);
}

void TParaAnaIn32Bit::Timer3Timer()
{
    const ReplyOutcome outcome = exchange_.tick(Timer3);
    if (writeChunks_.empty() || outcome == ReplyOutcome::Idle || outcome == ReplyOutcome::Pending)
        return;
    if (outcome == ReplyOutcome::TimedOut) {
        writeChunks_.clear();
        ShowErrorMessage(d, QStringLiteral("Timeout"));
        addMemoLine(QStringLiteral("Timeout"));
        return;
    }
    const bool exception = outcome == ReplyOutcome::Exception;
    if (exception)
        ShowErrorMessage(d, ExceptionText(d.RxFrame[8]));
    addMemoLine(WriteReplyMemoLine(d.RxFrame, d.RxCount));
    // The rest of a split block goes only after its first part was taken.
    if (!exception && ++writeNext_ < writeChunks_.size()) {
        sendWrite();
        return;
    }
    writeChunks_.clear();
}

void TParaAnaIn32Bit::BackClick()
{
    close();
}

void TParaAnaIn32Bit::ScrollBarChange(int k)
{
    if (editMovesBar_)
        return;
    TAnaIn32Row &row = Row[static_cast<size_t>(k)];
    const int position = row.ScrollBar->value();
    const QString text = QString::number(position);
    if (row.Edit->text() == text)
        return;
    row.Edit->setText(text);
    AnaIn32Record &rec = AnaIn32Params[static_cast<size_t>(k - 1)];
    rec.ModeWord = WithFilter(rec.ModeWord, position);
}

void TParaAnaIn32Bit::EditChange(int k)
{
    Row[static_cast<size_t>(k)].FilterField->changed();
}

void TParaAnaIn32Bit::CoBoAusChange(int k)
{
    AnaIn32Record &rec = AnaIn32Params[static_cast<size_t>(k - 1)];
    rec.ModeWord = WithOutput(rec.ModeWord, k, Row[static_cast<size_t>(k)].CoBoAus->currentIndex());
}

void TParaAnaIn32Bit::CoBoFormatChange(int k)
{
    AnaIn32Record &rec = AnaIn32Params[static_cast<size_t>(k - 1)];
    rec.ModeWord = WithFormat(rec.ModeWord, k, Row[static_cast<size_t>(k)].CoBoFormat->currentIndex());
}

IntegerField *TParaAnaIn32Bit::valueField(QLineEdit *edit, qint32 &value)
{
    return new IntegerField(d, edit, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(),
                            [&value](qint64 typed) { value = static_cast<qint32>(typed); });
}

bool TParaAnaIn32Bit::refuseUnwritable(int n)
{
    for (int k = 1; k <= n; ++k) {
        const TAnaIn32Row &row = Row[static_cast<size_t>(k)];
        const auto twoLines = [this](int first) {
            return Heading(first)->text() + QLatin1Char(' ') + Heading(first + 1)->text();
        };
        const std::pair<IntegerField *, QString> fields[] = {{row.FilterField, Heading(18)->text()},
                                                             {row.PV1_Field, twoLines(28)},
                                                             {row.PV2_Field, twoLines(30)},
                                                             {row.FV2_Field, twoLines(32)}};
        for (const auto &[field, name] : fields) {
            if (field->holdsValue())
                continue;
            ShowErrorMessage(d, FieldRefusalText(LookupMessage(QStringLiteral("@idFIELD_BAD")),
                                                 row.Label->text() + QStringLiteral(", ") + name, *field));
            return true;
        }
    }
    return false;
}

void TParaAnaIn32Bit::PV1_Change(int k)
{
    Row[static_cast<size_t>(k)].PV1_Field->changed();
}

void TParaAnaIn32Bit::PV2_Change(int k)
{
    Row[static_cast<size_t>(k)].PV2_Field->changed();
}

void TParaAnaIn32Bit::FV2_Change(int k)
{
    Row[static_cast<size_t>(k)].FV2_Field->changed();
}
