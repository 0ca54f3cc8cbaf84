#include "parameters/TParaAna.h"

#include "app/Conversions.h"
#include "app/Deklarat.h"
#include "app/IntegerField.h"
#include "app/Messages.h"
#include "app/Named.h"
#include "parameters/AnaIn32Frames.h"
#include "parameters/AnaIn32Params.h"
#include "parameters/AnaInFrames.h"
#include "parameters/AnaInLayout.h"
#include "parameters/WindowScaling.h"
#include "translation/WordLists.h"

#include <QEvent>
#include <QScopedValueRollback>

#include <initializer_list>

namespace
{

QString numbered(const char *name, int k)
{
    return QString::fromLatin1(name) + QString::number(k);
}

// German design texts of the headings Label17..Label24.
const char *const HeadingTexts[] = {"Typ",   "Filter", "Aktiv",   "Spike",
                                    "Scale", "Down",   "Einheit", "Offset Prozesswert"};

} // namespace

std::vector<QWidget *> TAnaInRow::controls() const
{
    return {Label, ComboBox, Edit, ScrollBar, CbAktiv, CbSpike, CbScale, CoBoUnit, Offset, ScrollBarOffset};
}

TParaAna::TParaAna(Deklarat &d) : TForm(d, QStringLiteral("TParaAna"), QStringLiteral("analoge Parameter"))
{
    ana_Para_In = named(new QGroupBox(QStringLiteral("analoge Eingangsparameter"), this), "ana_Para_In");
    for (int i = 0; i < static_cast<int>(Headings.size()); ++i)
        Headings[static_cast<size_t>(i)] =
            named(new QLabel(QString::fromUtf8(HeadingTexts[i]), ana_Para_In), numbered("Label", 17 + i));
    for (int k = 1; k <= AnaInChannels; ++k)
        buildRow(k);

    // The rows scroll when the screen has no room for all of them.
    ScrollBox1 = named(new QScrollArea(this), "ScrollBox1");
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    Memo1 = named(new QPlainTextEdit(QStringLiteral("Memo"), this), "Memo1");
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Button1 = named(new QPushButton(QStringLiteral("Schreiben"), this), "Button1");
    Button2 = named(new QPushButton(QStringLiteral("Lesen"), this), "Button2");
    Back = named(new QPushButton(QStringLiteral("Zurück"), this), "Back");
    for (QPushButton *b : {Button1, Button2, Back})
        b->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, [this] { WriteAnaInClick(); });
    connect(Button2, &QPushButton::clicked, this, [this] { ReadAnaInClick(); });
    connect(Back, &QPushButton::clicked, this, [this] { BackClick(); });

    Timer1 = named(new QTimer(this), "Timer1");
    Timer3 = named(new QTimer(this), "Timer3");
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    connect(Timer3, &QTimer::timeout, this, [this] { Timer3Timer(); });

    translate(TParaAnaWords(), WindowFonts::Arial(), 0);
    designLayout();
    FormCreate();
}

void TParaAna::buildRow(int k)
{
    TAnaInRow &r = Row[static_cast<size_t>(k)];
    QWidget *g = ana_Para_In;
    r.Label = named(new QLabel(QStringLiteral("Kanal %1").arg(k), g), numbered("Label", k));
    r.ComboBox = named(new QComboBox(g), numbered("ComboBox", k));
    r.ComboBox->addItems(SensorTypeTexts());
    r.Edit = named(new QLineEdit(g), numbered("Edit", k));
    r.ScrollBar = named(new QScrollBar(Qt::Horizontal, g), numbered("ScrollBar", k));
    r.ScrollBar->setRange(AnaInFilterMin, AnaInFilterMax);
    r.ScrollBar->setPageStep(10);
    r.CbAktiv = named(new QCheckBox(g), numbered("CbAktiv", k));
    r.CbSpike = named(new QCheckBox(g), numbered("CbSpike", k));
    r.CbScale = named(new QCheckBox(g), numbered("CbScale", k));
    r.CoBoUnit = named(new QComboBox(g), numbered("CoBoUnit", k));
    r.Offset = named(new QLineEdit(g), numbered("Offset", k));
    r.ScrollBarOffset = named(new QScrollBar(Qt::Horizontal, g), numbered("ScrollBarOffset", k));
    r.ScrollBarOffset->setRange(AnaInOffsetMin, AnaInOffsetMax);
    r.ScrollBarOffset->setPageStep(100);
    for (QWidget *w : r.controls())
        w->hide();

    // Only a user's choice counts as a change; a selection set here does not.
    connect(r.ComboBox, &QComboBox::activated, this, [this, k] { ComboBoxChange(k); });
    connect(r.CoBoUnit, &QComboBox::activated, this, [this, k] { CoBoUnitChange(k); });
    connect(r.ScrollBar, &QScrollBar::valueChanged, this, [this, k] { ScrollBarChange(k); });
    connect(r.ScrollBarOffset, &QScrollBar::valueChanged, this, [this, k] { ScrollBarOffsetChange(k); });
    AnaInRecord &rec = AnaInParams[static_cast<size_t>(k - 1)];
    r.FilterField = numberField(r.Edit, r.ScrollBar, rec.FilterValue);
    r.OffsetField = numberField(r.Offset, r.ScrollBarOffset, rec.OffsetValue);
}

void TParaAna::FormCreate()
{
    const ScreenArea screen = ScreenAreaFor(d.ForcedScreenSize);
    ApplyWindowScaling(this, screen.size);
    FitRows(this, ScrollBox1, {Memo1, Button1, Button2, Back}, MaxClientSize(this, screen));
    for (int k = 1; k <= AnaInChannels; ++k)
        Row[static_cast<size_t>(k)].ScrollBar->setValue(AnaInDefaultFilter); // its handler stores 51
    for (int k = 1; k <= AnaInChannels; ++k)
        Row[static_cast<size_t>(k)].Edit->setText(QString::number(AnaInDefaultFilter));
    for (int k = 1; k <= AnaInChannels; ++k)
        Row[static_cast<size_t>(k)].Offset->setText(QStringLiteral("0"));
    for (int k = 1; k <= AnaInChannels; ++k)
        Row[static_cast<size_t>(k)].ScrollBarOffset->setValue(0);
    for (int k = 1; k <= AnaInChannels; ++k) {
        QComboBox *unit = Row[static_cast<size_t>(k)].CoBoUnit;
        unit->clear();
        unit->addItems(UnitTexts());
    }
    for (int k = 1; k <= AnaInChannels; ++k) {
        Row[static_cast<size_t>(k)].ComboBox->setCurrentIndex(UnknownSensorTypeIndex);
        Row[static_cast<size_t>(k)].CoBoUnit->setCurrentIndex(0);
    }
}

int TParaAna::channels() const
{
    return AnaInChannelsHandled(d.StationConfig.AnaInCount);
}

void TParaAna::reportChannelLimit()
{
    if (!channelLimit_.due(d.StationConfig.AnaInCount, AnaInChannels))
        return;
    ShowMessage(d, MessageKind::Information, windowTitle(), LookupMessage(QStringLiteral("@idKANAL_MAX")));
}

void TParaAna::FormActivate()
{
    if (d.StationConfig.ConfigValid != 1) {
        ShowErrorMessage(d, LookupMessage(QStringLiteral("@idERR_CONF")));
        return;
    }
    reportChannelLimit();
    const int n = channels();
    if (n % 2 == 0) {
        for (int k = 1; k <= AnaInChannels; ++k)
            for (QWidget *w : Row[static_cast<size_t>(k)].controls())
                w->setVisible(k <= n);
    }
    Button1->setEnabled(true);
    Button2->setEnabled(true);

    const int h = Row[1].ComboBox->height();
    const AnaInLayout l = AnaInActivationLayout(n, h, Memo1->height());
    ana_Para_In->resize(ana_Para_In->width(), l.groupHeight);
    for (QWidget *w : std::initializer_list<QWidget *>{Memo1, Button1, Button2, Back})
        w->move(w->x(), l.controlsTop);
    resize(width(), l.clientHeight);
    const ScreenArea screen = ScreenAreaFor(d.ForcedScreenSize);
    HoldScaledRows(this, ana_Para_In, {Memo1, Button1, Button2, Back}, screen);
    FitRows(this, ScrollBox1, {Memo1, Button1, Button2, Back}, MaxClientSize(this, screen));
}

void TParaAna::addMemoLine(const QString &line)
{
    Memo1->appendPlainText(line);
}

void TParaAna::ReadAnaInClick()
{
    readChannels_ = channels();
    d.TxLength = BuildAnaInReadRequest(d.TxFrame, d.SlaveAddress, readChannels_);
    addMemoLine(FrameBytesMemoLine(d.TxFrame, 12));
    ++d.TransactionId;
    exchange_.send(Timer1, d.ParaTimeout, d.TxLength);
}

void TParaAna::Timer1Timer()
{
    const ReplyOutcome outcome = exchange_.tick(Timer1);
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
    if (readChannels_ == 0)
        return;
    AnaInBlock received = AnaInParams;
    QStringList lines;
    if (!DecodeAnaInReply(d.RxFrame, d.RxCount, readChannels_, received, lines))
        return; // never the case for a reply the helper hands over
    AnaInParams = received;
    for (const QString &line : lines)
        addMemoLine(line);
    Update_Anzeige();
}

void TParaAna::Update_Anzeige()
{
    for (int k = 1; k <= AnaInChannels; ++k) {
        TAnaInRow &row = Row[static_cast<size_t>(k)];
        AnaInRecord &rec = AnaInParams[static_cast<size_t>(k - 1)];
        row.ComboBox->setCurrentIndex(SensorTypeIndexOf(rec.SetupWord));
        // A position outside the bar's range is limited; the bar's handler
        // stores it when that moves the bar.
        row.ScrollBar->setValue(LimitToRange(rec.FilterValue, AnaInFilterMin, AnaInFilterMax));
        takeLimited(row.ScrollBar, row.Edit, rec.FilterValue);
        row.Offset->setText(QString::number(rec.OffsetValue));
        row.ScrollBarOffset->setValue(LimitToRange(rec.OffsetValue, AnaInOffsetMin, AnaInOffsetMax));
        // Index 7 has no entry: no selection.
        row.CoBoUnit->setCurrentIndex(UnitIndexOf(rec.SetupWord) < row.CoBoUnit->count() ? UnitIndexOf(rec.SetupWord)
                                                                                         : -1);
        row.Offset->setText(QString::number(rec.OffsetValue));
        takeLimited(row.ScrollBarOffset, row.Offset, rec.OffsetValue);
        const AnaInSwitches s = AnaInSwitchesOf(rec.SetupWord);
        row.CbScale->setChecked(s.Scale);
        row.CbSpike->setChecked(s.Spike);
        row.CbAktiv->setChecked(s.Aktiv);
    }
}

void TParaAna::takeLimited(QScrollBar *bar, QLineEdit *edit, qint32 &value)
{
    // The bar already stood at the limit, so its handler did not run: without
    // this the window would show one value and write back another.
    if (value == bar->value())
        return;
    value = bar->value();
    const QString text = QString::number(value);
    if (edit->text() != text)
        edit->setText(text);
}

void TParaAna::WriteAnaInClick()
{
    if (refuseUnwritable(channels()))
        return;
    for (int k = 1; k <= AnaInChannels; ++k) {
        const TAnaInRow &row = Row[static_cast<size_t>(k)];
        AnaInSwitches s;
        s.Aktiv = row.CbAktiv->isChecked();
        s.Spike = row.CbSpike->isChecked();
        s.Scale = row.CbScale->isChecked();
        AnaInRecord &rec = AnaInParams[static_cast<size_t>(k - 1)];
        rec.SetupWord = WithAnaInSwitches(rec.SetupWord, s);
    }
    const int n = channels();
    const quint8 length = BuildAnaInWriteRequest(d.TxFrame, d.SlaveAddress, n, AnaInParams);
    addMemoLine(FrameBytesMemoLine(d.TxFrame, 13));
    if (n == 0) {
        d.TxLength = 0;
        return;
    }
    addMemoLine(AnaInWriteDataMemoLine(AnaInParams, n));
    d.TxLength = length;
    ++d.TransactionId;
    exchange_.send(Timer3, d.ParaTimeout, d.TxLength);
}

void TParaAna::Timer3Timer()
{
    const ReplyOutcome outcome = exchange_.tick(Timer3);
    if (outcome == ReplyOutcome::Idle || outcome == ReplyOutcome::Pending)
        return;
    if (outcome == ReplyOutcome::TimedOut) {
        ShowErrorMessage(d, QStringLiteral("Timeout"));
        addMemoLine(QStringLiteral("Timeout"));
        return;
    }
    if (outcome == ReplyOutcome::Exception)
        ShowErrorMessage(d, ExceptionText(d.RxFrame[8]));
    addMemoLine(WriteReplyMemoLine(d.RxFrame, d.RxCount));
}

void TParaAna::BackClick()
{
    close();
}

void TParaAna::ComboBoxChange(int k)
{
    AnaInRecord &rec = AnaInParams[static_cast<size_t>(k - 1)];
    rec.SetupWord = WithSensorType(rec.SetupWord, Row[static_cast<size_t>(k)].ComboBox->currentIndex());
}

void TParaAna::CoBoUnitChange(int k)
{
    AnaInRecord &rec = AnaInParams[static_cast<size_t>(k - 1)];
    rec.SetupWord = WithUnit(rec.SetupWord, Row[static_cast<size_t>(k)].CoBoUnit->currentIndex());
}

void TParaAna::barChanged(QScrollBar *bar, QLineEdit *edit, qint32 &value)
{
    if (editMovesBar_)
        return;
    const int position = bar->value();
    const QString text = QString::number(position);
    if (edit->text() == text)
        return;
    edit->setText(text);
    value = position;
}

IntegerField *TParaAna::numberField(QLineEdit *edit, QScrollBar *bar, qint32 &value)
{
    // Only a number within the bar's range moves it; anything else is reported
    // when the field is left and keeps the value, and a write refuses it.
    return new IntegerField(d, edit, bar->minimum(), bar->maximum(), [this, bar, &value](qint64 typed) {
        // The bar follows the edit; rewriting the edit now would cut into the
        // typing ("0x1" of "0x10" would become "1").
        const QScopedValueRollback following(editMovesBar_, true);
        bar->setValue(static_cast<int>(typed));
        value = bar->value();
    });
}

bool TParaAna::refuseUnwritable(int n)
{
    for (int k = 1; k <= n; ++k) {
        const TAnaInRow &row = Row[static_cast<size_t>(k)];
        const std::pair<IntegerField *, QLabel *> fields[] = {{row.FilterField, Heading(18)},
                                                              {row.OffsetField, Heading(24)}};
        for (const auto &[field, heading] : fields) {
            if (field->holdsValue())
                continue;
            ShowErrorMessage(d, FieldRefusalText(LookupMessage(QStringLiteral("@idFIELD_BAD")),
                                                 row.Label->text() + QStringLiteral(", ") + heading->text(), *field));
            return true;
        }
    }
    return false;
}

void TParaAna::ScrollBarChange(int k)
{
    TAnaInRow &row = Row[static_cast<size_t>(k)];
    barChanged(row.ScrollBar, row.Edit, AnaInParams[static_cast<size_t>(k - 1)].FilterValue);
}

void TParaAna::EditChange(int k)
{
    Row[static_cast<size_t>(k)].FilterField->changed();
}

void TParaAna::ScrollBarOffsetChange(int k)
{
    TAnaInRow &row = Row[static_cast<size_t>(k)];
    barChanged(row.ScrollBarOffset, row.Offset, AnaInParams[static_cast<size_t>(k - 1)].OffsetValue);
}

void TParaAna::OffsetChange(int k)
{
    Row[static_cast<size_t>(k)].OffsetField->changed();
}
