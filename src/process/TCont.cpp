#include "process/TCont.h"

#include "app/CellPainter.h"
#include "app/Conversions.h"
#include "app/Deklarat.h"
#include "app/Messages.h"
#include "app/Named.h"
#include "app/UserFiles.h"
#include "translation/WordLists.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QVBoxLayout>
#include <functional>

namespace
{

// Keeps its place in the layout while hidden, so that hiding a slot group or a
// check box does not move its neighbours.
void keepPlaceWhenHidden(QWidget *widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

constexpr int ChannelColumnWidth = 95;
constexpr int ValueColumnWidth = 150;
constexpr int GridRowHeight = 24;
constexpr int GridVisibleRows = 9;

QTableWidgetItem *fixedItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

bool isInside(const QWidget *widget, const QWidget *area)
{
    return widget == area || area->isAncestorOf(widget);
}

} // namespace

TCont::TCont(Deklarat &d, CycleEngine &engine)
    : TForm(d, QStringLiteral("TCont"), QStringLiteral("Steuerung")), engine(engine), Anfrage(engine.Anfrage),
      Antwort(engine.Antwort), SaveTimer(engine.recorder().SaveTimer), CycleRunning(engine.CycleRunning),
      ResponseRetries(engine.ResponseRetries), LogTimeBase(engine.recorder().LogTimeBase)
{
    GroupBox1 = named(new QGroupBox(QStringLiteral("digitale Eingänge"), this), QStringLiteral("GroupBox1"));
    GroupBox2 = named(new QGroupBox(QStringLiteral("digitale Ausgänge"), this), QStringLiteral("GroupBox2"));
    buildDigitalBand(GroupBox1, true);
    buildDigitalBand(GroupBox2, false);
    buildAnalogBand();
    buildBottomBand();
    LNotCurrent = named(new QLabel(this), QStringLiteral("LNotCurrent"));
    QPalette warning = LNotCurrent->palette();
    warning.setColor(QPalette::WindowText, QColor(0xB0, 0x00, 0x00));
    LNotCurrent->setPalette(warning);
    keepPlaceWhenHidden(LNotCurrent);
    LNotCurrent->hide();
    liveInputPalette_ = SG_ProValueIn->palette();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addWidget(GroupBox2);
    layout->addWidget(LNotCurrent);
    layout->addWidget(PAnalog, 1);
    layout->addWidget(PBottom);

    Timer1 = named(new QTimer(this), QStringLiteral("Timer1"));
    DisplayTimer = named(new QTimer(this), QStringLiteral("DisplayTimer"));
    DisplayTimer->setSingleShot(true);
    DisplayTimer->setInterval(DisplayPeriodMs);

    connectHandlers();
    translate(TContWords(), WindowFonts::Arial(), 0);
    connect(MultiLang1, &TMultiLang::translated, this, [this] { languageChanged(); });
    FormCreate();
}

void TCont::languageChanged()
{
    setGridHeadings(SG_ProValueIn);
    setGridHeadings(SG_ProValueOut);
    showFreshness();
}

void TCont::buildDigitalBand(QGroupBox *band, bool inputs)
{
    auto *grid = new QGridLayout(band);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    for (int s = 1; s <= SlotCount; ++s) {
        const int groupNumber = inputs ? 5 + s : 14 + s;
        auto *group = named(new QGroupBox(band), QStringLiteral("GroupBox%1").arg(groupNumber));
        keepPlaceWhenHidden(group);
        auto *boxes = new QGridLayout(group);
        boxes->setContentsMargins(4, 4, 4, 4);
        boxes->setSpacing(2);
        for (int b = 0; b < 8; ++b) {
            const int number = inputs ? 8 * (s - 1) + b + 1 : 73 + 8 * (s - 1) + b;
            auto *box = named(new QCheckBox(group), QStringLiteral("CheckBox%1").arg(number));
            keepPlaceWhenHidden(box);
            // Opaque, so that a changing input repaints itself, not its group's frame.
            box->setAutoFillBackground(true);
            boxes->addWidget(box, b / 2, b % 2, Qt::AlignHCenter);
            CheckBox[static_cast<size_t>(number)] = box;
        }
        const int editNumber = inputs ? s : 9 + s;
        auto *edit = named(new QLineEdit(group), QStringLiteral("Edit%1").arg(editNumber));
        edit->setReadOnly(true);
        // Only a name to read: taking the focus would show it selected.
        edit->setFocusPolicy(Qt::NoFocus);
        edit->setFixedWidth(70);
        boxes->addWidget(edit, 4, 0, 1, 2);
        Edit[static_cast<size_t>(editNumber)] = edit;

        const int labelNumber = inputs ? s : 9 + s;
        auto *label =
            named(new QLabel(QStringLiteral("Slot %1").arg(s), band), QStringLiteral("Label%1").arg(labelNumber));
        Label[static_cast<size_t>(labelNumber)] = label;
        grid->addWidget(group, 0, s - 1);
        grid->addWidget(label, 1, s - 1, Qt::AlignHCenter);
        (inputs ? InputGroups : OutputGroups)[static_cast<size_t>(s)] = group;
    }
}

void TCont::buildAnalogBand()
{
    PAnalog = named(new QWidget(this), QStringLiteral("PAnalog"));
    LAnaInput = named(new QLabel(QStringLiteral("Analoge Eingänge"), PAnalog), QStringLiteral("LAnaInput"));
    LAnaOutput = named(new QLabel(QStringLiteral("Analoge Ausgänge"), PAnalog), QStringLiteral("LAnaOutput"));
    SG_ProValueIn = named(new QTableWidget(1, 2, PAnalog), QStringLiteral("SG_ProValueIn"));
    SG_ProValueOut = named(new QTableWidget(1, 2, PAnalog), QStringLiteral("SG_ProValueOut"));
    for (QTableWidget *grid : {SG_ProValueIn, SG_ProValueOut}) {
        grid->horizontalHeader()->hide();
        grid->verticalHeader()->hide();
        grid->verticalHeader()->setMinimumSectionSize(10);
        grid->verticalHeader()->setDefaultSectionSize(GridRowHeight);
        grid->setColumnWidth(0, ChannelColumnWidth);
        grid->setColumnWidth(1, ValueColumnWidth);
        grid->setSelectionMode(QAbstractItemView::SingleSelection);
        grid->setSelectionBehavior(QAbstractItemView::SelectItems);
        grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        const int frame = 2 * grid->frameWidth();
        grid->setFixedWidth(ChannelColumnWidth + ValueColumnWidth + frame +
                            grid->verticalScrollBar()->sizeHint().width());
        grid->setMinimumHeight(GridVisibleRows * GridRowHeight + frame);
        keepPlaceWhenHidden(grid);
    }
    SG_ProValueIn->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SG_ProValueOut->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                    QAbstractItemView::AnyKeyPressed);
    SG_ProValueIn->setItemDelegate(new CellPainter(
        [this](QPainter *p, const QStyleOptionViewItem &o, const QModelIndex &i) { SG_ProValueInDrawCell(p, o, i); },
        SG_ProValueIn));
    SG_ProValueOut->setItemDelegate(new CellPainter(
        [this](QPainter *p, const QStyleOptionViewItem &o, const QModelIndex &i) { SG_ProValueOutDrawCell(p, o, i); },
        SG_ProValueOut));

    auto *left = new QVBoxLayout;
    left->addWidget(LAnaInput);
    left->addWidget(SG_ProValueIn, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(LAnaOutput);
    right->addWidget(SG_ProValueOut, 1);
    auto *layout = new QHBoxLayout(PAnalog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left);
    layout->addStretch();
    layout->addLayout(right);
}

void TCont::buildBottomBand()
{
    PBottom = named(new QWidget(this), QStringLiteral("PBottom"));
    BSave = named(new QPushButton(QStringLiteral("Speichern"), PBottom), QStringLiteral("BSave"));
    Label[19] = named(new QLabel(QStringLiteral("alle"), PBottom), QStringLiteral("Label19"));
    ESaveTime = named(new QLineEdit(QStringLiteral("1000"), PBottom), QStringLiteral("ESaveTime"));
    ESaveTime->setFixedWidth(50);
    Label[20] = named(new QLabel(QStringLiteral("ms"), PBottom), QStringLiteral("Label20"));
    BStart = named(new QPushButton(QStringLiteral("Start"), PBottom), QStringLiteral("BStart"));
    BStop = named(new QPushButton(QStringLiteral("Stop"), PBottom), QStringLiteral("BStop"));
    BBack = named(new QPushButton(QStringLiteral("Zurück"), PBottom), QStringLiteral("BBack"));
    BTrend = named(new QPushButton(QStringLiteral("Trend"), PBottom), QStringLiteral("BTrend"));
    // Enter in a field must not press a button of the dialog.
    for (QPushButton *button : {BSave, BStart, BStop, BBack, BTrend})
        button->setAutoDefault(false);

    auto *layout = new QHBoxLayout(PBottom);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(BSave);
    layout->addWidget(Label[19]);
    layout->addWidget(ESaveTime);
    layout->addWidget(Label[20]);
    layout->addStretch();
    layout->addWidget(BTrend);
    layout->addWidget(BStart);
    layout->addWidget(BStop);
    layout->addWidget(BBack);
}

void TCont::connectHandlers()
{
    connect(BStart, &QPushButton::clicked, this, [this] { BStartClick(); });
    connect(BStop, &QPushButton::clicked, this, [this] { BStopClick(); });
    connect(BBack, &QPushButton::clicked, this, [this] { BBackClick(); });
    connect(BTrend, &QPushButton::clicked, this, [this] { BTrendClick(); });
    connect(BSave, &QPushButton::clicked, this, [this] { BSaveClick(); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    connect(DisplayTimer, &QTimer::timeout, this, [this] { DisplayTimerTimer(); });
    connect(&engine, &CycleEngine::OutputsWanted, this, [this] { takeAnalogOutputs(); });
    connect(&engine, &CycleEngine::InputsDecoded, this, [this] {
        decodedAnaIn_ = engine.decodedAnalogInputs();
        imageChanged();
    });
    connect(&engine, &CycleEngine::CheckEnded, this, [this] { showFreshness(); });
    connect(&engine, &CycleEngine::RunningChanged, this, [this](bool running) { BStart->setEnabled(!running); });
    connect(&engine.recorder(), &ValueRecorder::Failed, this, [this](const QString &error) { logFileFailed(error); });
    connect(SG_ProValueOut, &QTableWidget::cellChanged, this,
            [this](int row, int column) { SG_ProValueOutCellChange(row, column); });
    // Setting a box from a program (the pipe) has the same effect as a click.
    for (int number = 73; number <= 144; ++number)
        connect(CheckBox[static_cast<size_t>(number)], &QCheckBox::toggled, this,
                [this, number] { OutputCheckBoxClick(number); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) { focusChanged(old, now); });
}

void TCont::FormCreate()
{
    LAnaInput->setText(LookupMessage(QStringLiteral("@AnaIn")));
    LAnaOutput->setText(LookupMessage(QStringLiteral("@AnaOut")));
    LogTimeBase = d.StartTimeStamp.isValid() ? d.StartTimeStamp : QDateTime::currentDateTime();
}

// Leaving a control for another one of this window is its exit; a message box
// or another window taking the focus is not.
void TCont::focusChanged(QWidget *old, QWidget *now)
{
    if (!old || !now || now->window() != this)
        return;
    if (isInside(old, SG_ProValueIn) && !isInside(now, SG_ProValueIn))
        SG_ProValueInExit();
    if (isInside(old, SG_ProValueOut) && !isInside(now, SG_ProValueOut))
        SG_ProValueOutExit();
    if (old == ESaveTime)
        ESaveTimeExit();
}

QCheckBox *TCont::inputCheckBox(int slot, int bit) const
{
    return CheckBox[static_cast<size_t>(8 * (slot - 1) + bit + 1)];
}

QCheckBox *TCont::outputCheckBox(int slot, int bit) const
{
    return CheckBox[static_cast<size_t>(73 + 8 * (slot - 1) + bit)];
}

void TCont::reportMissingConfiguration()
{
    ShowErrorMessage(d, LookupMessage(QStringLiteral("@idERR_CONF")));
}

void TCont::FormActivate()
{
    if (d.StationConfig.ConfigValid != 1) {
        // The box itself hands the activation back when it closes: report once
        // and let Timer1 take the window away.
        if (Timer1->isActive() || reportingMissingConfiguration_)
            return;
        reportingMissingConfiguration_ = true;
        reportMissingConfiguration();
        reportingMissingConfiguration_ = false;
        Timer1->start(d.ResponseInterval);
        return;
    }
    const StationConfiguration &config = d.StationConfig;
    layOutSlotGroups();
    setUpGrid(SG_ProValueIn, AnalogInputChannels(config));
    shownAnaIn_.fill(0);
    decodedAnaIn_ = 0;
    setUpGrid(SG_ProValueOut, std::min<int>(config.AnaOutCount, MaxAnalogChannels));
    for (int s = 1; s <= SlotCount; ++s) {
        const QString &name = d.ModuleShortNames[config.SlotModuleIds[static_cast<size_t>(s)] & 0xFF];
        Edit[static_cast<size_t>(s)]->setText(name);
        Edit[static_cast<size_t>(9 + s)]->setText(name);
    }
    Logging = 0;
    BSave->setText(QStringLiteral("Speichern"));
    ESaveTime->setText(QStringLiteral("1000"));
}

void TCont::layOutSlotGroups()
{
    const SlotIdTable &ids = d.StationConfig.SlotModuleIds;
    for (int s = 1; s <= SlotCount; ++s) {
        const quint16 id = ids[static_cast<size_t>(s)];
        const int inputs = DigitalInputChannels(id);
        const int outputs = DigitalOutputChannels(id);
        QGroupBox *in = InputGroups[static_cast<size_t>(s)];
        QGroupBox *out = OutputGroups[static_cast<size_t>(s)];
        in->setVisible(inputs > 0);
        in->setEnabled(inputs > 0);
        out->setVisible(outputs > 0);
        out->setEnabled(outputs > 0);
        for (int b = 0; b < 8; ++b) {
            inputCheckBox(s, b)->setVisible(inputs == 0 || b < inputs);
            outputCheckBox(s, b)->setVisible(outputs == 0 || b < outputs);
        }
    }
    shownInputs_ = LayOutDigitalInputs(ids);
}

void TCont::setUpGrid(QTableWidget *grid, int channels)
{
    if (channels <= 0) {
        grid->setEnabled(false);
        grid->hide();
        return;
    }
    const bool editable = grid == SG_ProValueOut;
    const QScopedValueRollback filling(fillingOutputs_, editable);
    grid->setRowCount(channels + 1);
    grid->setItem(0, 0, fixedItem(QString()));
    grid->setItem(0, 1, fixedItem(QString()));
    setGridHeadings(grid);
    for (int row = 1; row <= channels; ++row) {
        grid->setItem(row, 0, fixedItem(QString::number(row)));
        auto *value = new QTableWidgetItem(QStringLiteral("0"));
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (editable)
            flags |= Qt::ItemIsEditable;
        value->setFlags(flags);
        grid->setItem(row, 1, value);
        if (editable && row <= MaxAnalogChannels)
            outputTexts_[static_cast<size_t>(row - 1)] = value->text();
    }
    grid->setEnabled(true);
    grid->show();
}

void TCont::setGridHeadings(QTableWidget *grid)
{
    if (grid->rowCount() == 0)
        return;
    if (QTableWidgetItem *item = grid->item(0, 0))
        item->setText(LookupMessage(QStringLiteral("@Kanal")));
    if (QTableWidgetItem *item = grid->item(0, 1))
        item->setText(LookupMessage(QStringLiteral("@ProWert")));
}

void TCont::BStartClick()
{
    if (!engine.start())
        reportMissingConfiguration();
}

void TCont::BStopClick()
{
    engine.stop();
}

void TCont::BTrendClick()
{
    emit TrendWindowWanted();
}

void TCont::BBackClick()
{
    engine.halt();
    close();
}

void TCont::Timer1Timer()
{
    Timer1->stop();
    close();
    emit ConfigurationWindowWanted();
}

void TCont::takeAnalogOutputs()
{
    const int channels = std::min<int>(d.StationConfig.AnaOutCount, MaxAnalogChannels);
    for (int i = 0; i < channels; ++i) {
        // A row the grid does not have (configuration read since the last
        // activation) is sent as 0; a cell that holds no value keeps the
        // last one, so the cycle goes on.
        const QTableWidgetItem *cell = SG_ProValueOut->item(i + 1, 1);
        if (!cell) {
            d.AnaOutValues[static_cast<size_t>(i)] = 0;
            continue;
        }
        if (const std::optional<quint16> word = AnalogOutputWord(cell->text()))
            d.AnaOutValues[static_cast<size_t>(i)] = *word;
    }
}

void TCont::SG_ProValueOutCellChange(int row, int column)
{
    if (fillingOutputs_ || column != 1 || row < 1 || row > MaxAnalogChannels)
        return;
    QTableWidgetItem *cell = SG_ProValueOut->item(row, column);
    if (!cell)
        return;
    const QString text = cell->text();
    const size_t i = static_cast<size_t>(row - 1);
    if (const std::optional<quint16> word = AnalogOutputWord(text)) {
        outputTexts_[i] = text;
        d.AnaOutValues[i] = *word;
        return;
    }
    // What the cell shows is what goes out: the last value comes back.
    {
        const QScopedValueRollback filling(fillingOutputs_, true);
        cell->setText(outputTexts_[i]);
    }
    const IntegerReading reading = ReadIntegerText(text, AnalogOutputMin, AnalogOutputMax);
    ReportConversionError(d, IntegerReadingError(text, reading, AnalogOutputMin, AnalogOutputMax));
}

void TCont::DataTimeoutChanged()
{
    engine.DataTimeoutChanged();
}

void TCont::AnfrageTimer()
{
    engine.AnfrageTimer();
}

void TCont::AntwortTimer()
{
    engine.AntwortTimer();
}

void TCont::showFreshness()
{
    const QString text = NotCurrentText(engine.freshness(), LookupMessage(QStringLiteral("@idNO_ANSWER")));
    const bool stale = !text.isEmpty();
    if (text == LNotCurrent->text() && stale == !LNotCurrent->isHidden())
        return; // every cycle passes here: change the widgets only when it changes
    LNotCurrent->setText(text);
    LNotCurrent->setVisible(stale);
    QPalette palette = liveInputPalette_;
    if (stale)
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            palette.setColor(group, QPalette::Text, palette.color(QPalette::Disabled, QPalette::Text));
    SG_ProValueIn->setPalette(palette);
    SG_ProValueIn->viewport()->update();
    // Greys the input check boxes; clicking them changes nothing anyway.
    for (int number = 1; number <= 72; ++number)
        CheckBox[static_cast<size_t>(number)]->setEnabled(!stale);
}

void TCont::analog_Input_ist_update()
{
    engine.analog_Input_ist_update();
    decodedAnaIn_ = engine.decodedAnalogInputs();
}

// The image (log, pipe) takes every reply; the window shows it at most once a
// display period, since repainting after every reply of a fast cycle costs
// more than the whole exchange and nobody reads faster.
void TCont::imageChanged()
{
    imageWaiting_ = true;
    if (!DisplayTimer->isActive())
        DisplayTimerTimer();
}

void TCont::DisplayTimerTimer()
{
    DisplayTimer->stop();
    if (!imageWaiting_)
        return; // nothing new: the next reply is shown at once
    imageWaiting_ = false;
    ShowAnalogInputs();
    if (d.StationConfig.DigInCount > 0)
        ShowDigitalInputs();
    DisplayTimer->start();
}

void TCont::ShowAnalogInputs()
{
    const int rows = std::min(decodedAnaIn_, SG_ProValueIn->rowCount() - 1);
    for (int i = 0; i < rows; ++i) {
        const qint32 value = d.AnaInAllValues[static_cast<size_t>(i)];
        if (value == shownAnaIn_[static_cast<size_t>(i)])
            continue;
        if (QTableWidgetItem *cell = SG_ProValueIn->item(i + 1, 1)) {
            cell->setText(QString::number(value));
            shownAnaIn_[static_cast<size_t>(i)] = value;
        }
    }
}

void TCont::ShowDigitalInputs()
{
    for (int s = 1; s <= SlotCount; ++s) {
        const int first = shownInputs_.firstBit[static_cast<size_t>(s)];
        for (int b = 0; b < shownInputs_.channels[static_cast<size_t>(s)]; ++b)
            inputCheckBox(s, b)->setChecked(ImageBit(d.DigInBytes, first + b));
    }
}

void TCont::OutputCheckBoxClick(int number)
{
    const int slot = (number - 73) / 8 + 1;
    const int bit = (number - 73) % 8;
    quint8 &bits = d.DigOutSlotBytes[static_cast<size_t>(slot)];
    if (CheckBox[static_cast<size_t>(number)]->isChecked())
        bits = static_cast<quint8>(bits | (1u << bit));
    else
        bits = static_cast<quint8>(bits & ~(1u << bit));
}

void TCont::ShowOutputBits()
{
    for (int s = 1; s <= SlotCount; ++s)
        for (int b = 0; b < 8; ++b)
            outputCheckBox(s, b)->setChecked((d.DigOutSlotBytes[static_cast<size_t>(s)] >> b) & 1);
}

void TCont::SG_ProValueInExit()
{
    SG_ProValueIn->clearSelection();
    SG_ProValueIn->setCurrentItem(nullptr);
}

void TCont::SG_ProValueOutExit()
{
    SG_ProValueOut->clearSelection();
    SG_ProValueOut->setCurrentItem(nullptr);
}

void TCont::SG_ProValueInDrawCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index)
{
    PaintCenteredCell(SG_ProValueIn, painter, option, index);
}

void TCont::SG_ProValueOutDrawCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index)
{
    PaintCenteredCell(SG_ProValueOut, painter, option, index);
}

void TCont::BSaveClick()
{
    if (Logging == 1) {
        stopLogging();
        return;
    }
    Logging = 1;
    BSave->setText(QStringLiteral("Speichern Ende"));
    const OutputPlace place = PlaceOutputFile(QString::fromLatin1(LogFileName));
    QString error;
    if (!engine.recorder().start(place.path, &error)) {
        logFileFailed(error);
        return;
    }
    if (place.inDocumentsFolder)
        ShowOutputFolderMessage(d, place.path);
}

void TCont::stopLogging()
{
    engine.recorder().stop();
    BSave->setText(QStringLiteral("Speichern"));
    Logging = 0;
}

// One message, and recording stops: a file that failed once would fail at
// every further tick.
void TCont::logFileFailed(const QString &error)
{
    stopLogging();
    ShowErrorMessage(d, LookupMessage(QStringLiteral("@idERR_LOG")) + QLatin1Char('\n') + engine.recorder().path() +
                            QStringLiteral(": ") + error);
}

void TCont::SaveTimerTimer()
{
    engine.recorder().SaveTimerTimer();
}

void TCont::ESaveTimeExit()
{
    qint64 value = 0;
    if (!StrToIntReported(d, ESaveTime->text(), value))
        return;
    const int interval = SaveIntervalFor(value);
    SaveTimer->setInterval(interval);
    ESaveTime->setText(QString::number(interval));
}
