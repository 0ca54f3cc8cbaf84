#include "process/TTrend.h"

#include "app/Deklarat.h"
#include "app/Messages.h"
#include "app/Named.h"
#include "process/ProcessImage.h"
#include "translation/WordLists.h"

#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QSaveFile>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace
{

// Digital traces one above the other on their own axis.
constexpr double BitPitch = 1.5;

QColor channelColour(int channel)
{
    // Evenly spread hues, the digital ones darker.
    const int hue = (channel * 137) % 360;
    return channel < TrendBuffer::AnalogChannels ? QColor::fromHsv(hue, 200, 210) : QColor::fromHsv(hue, 255, 140);
}

} // namespace

TTrend::TTrend(Deklarat &d) : TForm(d, QStringLiteral("TTrend"), QStringLiteral("Trend"))
{
    LBChannels = named(new QListWidget(this), "LBChannels");
    LBChannels->setFixedWidth(110);
    LSpan = named(new QLabel(QStringLiteral("Zeitraum"), this), "LSpan");
    CoBoSpan = named(new QComboBox(this), "CoBoSpan");
    CoBoSpan->addItems({"10 s", "30 s", "1 min", "5 min", "10 min", "30 min", "1 h"});
    BPause = named(new QPushButton(QStringLiteral("Anhalten"), this), "BPause");
    CBAutoScale = named(new QCheckBox(QStringLiteral("Skala automatisch"), this), "CBAutoScale");
    CBAutoScale->setChecked(true);
    LMin = named(new QLabel(QStringLiteral("Min."), this), "LMin");
    EMin = named(new QLineEdit(QStringLiteral("-32768"), this), "EMin");
    LMax = named(new QLabel(QStringLiteral("Max."), this), "LMax");
    EMax = named(new QLineEdit(QStringLiteral("32767"), this), "EMax");
    for (QLineEdit *edit : {EMin, EMax}) {
        edit->setMaximumWidth(80);
        edit->setEnabled(false);
    }
    BCsv = named(new QPushButton(QStringLiteral("CSV speichern"), this), "BCsv");
    BPng = named(new QPushButton(QStringLiteral("Bild speichern"), this), "BPng");
    for (QPushButton *button : {BPause, BCsv, BPng})
        button->setAutoDefault(false);
    LCursor = named(new QLabel(this), "LCursor");
    LCursor->setWordWrap(true);
    LCursor->setTextInteractionFlags(Qt::TextSelectableByMouse);

    chart_ = new QChart;
    chart_->legend()->hide();
    chart_->setMargins(QMargins(4, 4, 4, 4));
    timeAxis_ = new QValueAxis(chart_);
    valueAxis_ = new QValueAxis(chart_);
    bitAxis_ = new QValueAxis(chart_);
    timeAxis_->setLabelFormat(QStringLiteral("%.0f"));
    valueAxis_->setLabelFormat(QStringLiteral("%.0f"));
    // One trace per digital input, each between its own 0 and 1: numbers on
    // this axis would mean nothing.
    bitAxis_->setLabelsVisible(false);
    chart_->addAxis(timeAxis_, Qt::AlignBottom);
    chart_->addAxis(valueAxis_, Qt::AlignLeft);
    chart_->addAxis(bitAxis_, Qt::AlignRight);
    cursorSeries_ = new QLineSeries(chart_);
    cursorSeries_->setObjectName(QStringLiteral("CursorSeries"));
    cursorSeries_->setPen(QPen(Qt::black, 1, Qt::DashLine));
    chart_->addSeries(cursorSeries_);
    cursorSeries_->attachAxis(timeAxis_);
    cursorSeries_->attachAxis(valueAxis_);
    ChartTrend = named(new QChartView(chart_, this), "ChartTrend");
    ChartTrend->setRenderHint(QPainter::Antialiasing, false);
    ChartTrend->setMinimumSize(480, 300);
    ChartTrend->viewport()->installEventFilter(this);

    RedrawTimer = new QTimer(this);
    RedrawTimer->setObjectName(QStringLiteral("RedrawTimer"));
    RedrawTimer->setInterval(redrawIntervalMs(spanMs()));

    auto *top = new QHBoxLayout;
    top->addWidget(LSpan);
    top->addWidget(CoBoSpan);
    top->addWidget(BPause);
    top->addSpacing(12);
    top->addWidget(CBAutoScale);
    top->addWidget(LMin);
    top->addWidget(EMin);
    top->addWidget(LMax);
    top->addWidget(EMax);
    top->addStretch();
    top->addWidget(BCsv);
    top->addWidget(BPng);
    auto *middle = new QHBoxLayout;
    middle->addWidget(LBChannels);
    middle->addWidget(ChartTrend, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addWidget(LCursor);
    resize(1000, 600);

    connect(CoBoSpan, &QComboBox::currentIndexChanged, this, [this] { CoBoSpanChange(); });
    connect(BPause, &QPushButton::clicked, this, [this] { BPauseClick(); });
    connect(CBAutoScale, &QCheckBox::clicked, this, [this] { CBAutoScaleClick(); });
    connect(EMin, &QLineEdit::editingFinished, this, [this] { EScaleChange(); });
    connect(EMax, &QLineEdit::editingFinished, this, [this] { EScaleChange(); });
    connect(LBChannels, &QListWidget::itemChanged, this, [this] { LBChannelsChange(); });
    connect(BCsv, &QPushButton::clicked, this, [this] { BCsvClick(); });
    connect(BPng, &QPushButton::clicked, this, [this] { BPngClick(); });
    connect(RedrawTimer, &QTimer::timeout, this, [this] { RedrawTimerTimer(); });

    translate(TTrendWords(), WindowFonts::Arial());
    connect(MultiLang1, &TMultiLang::translated, this, [this] {
        BPause->setText(LookupMessage(paused_ ? QStringLiteral("@idRESUME") : QStringLiteral("@idPAUSE")));
        timeAxis_->setTitleText(LookupMessage(QStringLiteral("@idTIME")));
        valueAxis_->setTitleText(LookupMessage(QStringLiteral("@idVALUE")));
        bitAxis_->setTitleText(LookupMessage(QStringLiteral("@idBITS")));
        for (int row = 0; row < LBChannels->count(); ++row) {
            QListWidgetItem *item = LBChannels->item(row);
            item->setText(channelName(item->data(Qt::UserRole).toInt()));
        }
        showCursorValues();
    });
    MultiLang1->translated();
    clock_.start();
    syncChannelList();
    redraw();
}

int TTrend::redrawIntervalMs(qint64 spanMs)
{
    return static_cast<int>(std::clamp<qint64>(spanMs / CurveSlices, 200, 1000));
}

qint64 TTrend::spanMs() const
{
    const int index = std::clamp(CoBoSpan->currentIndex(), 0, static_cast<int>(std::size(SpanSeconds)) - 1);
    return static_cast<qint64>(SpanSeconds[index]) * 1000;
}

QString TTrend::channelName(int channel) const
{
    if (channel < TrendBuffer::AnalogChannels)
        return LookupMessage(QStringLiteral("@idANALOG")).arg(channel + 1);
    return LookupMessage(QStringLiteral("@idDIGITAL")).arg(channel - TrendBuffer::AnalogChannels + 1);
}

void TTrend::AddImage()
{
    AddImageAt(clock_.elapsed());
}

void TTrend::AddImageAt(qint64 timeMs)
{
    TrendBuffer::Analog analog{};
    const int channels = AnalogInputChannels(d.StationConfig);
    std::copy_n(d.AnaInAllValues.begin(), channels, analog.begin());
    TrendBuffer::Digital digital{};
    const int bytes = std::min<int>((d.StationConfig.DigInCount + 7) / 8, TrendBuffer::DigitalBytes);
    std::copy_n(d.DigInBytes.begin(), bytes, digital.begin());
    buffer_.add(timeMs, analog, digital);
    dirty_ = true;
    if (analogCount_ != channels || digitalCount_ != d.StationConfig.DigInCount)
        syncChannelList();
    if (isVisible() && !RedrawTimer->isActive())
        RedrawTimer->start();
}

void TTrend::syncChannelList()
{
    const int analog = AnalogInputChannels(d.StationConfig);
    const int digital = std::min<int>(d.StationConfig.DigInCount, TrendBuffer::DigitalChannels);
    if (analog == analogCount_ && digital == digitalCount_)
        return;
    // Channels kept across a new configuration keep their choice; new analog
    // channels start shown, new digital ones hidden.
    std::map<int, bool> chosen;
    for (int row = 0; row < LBChannels->count(); ++row)
        chosen[LBChannels->item(row)->data(Qt::UserRole).toInt()] = LBChannels->item(row)->checkState() == Qt::Checked;
    analogCount_ = analog;
    digitalCount_ = digital;
    const QSignalBlocker block(LBChannels);
    LBChannels->clear();
    auto addChannel = [&](int channel, bool shownByDefault) {
        auto *item = new QListWidgetItem(channelName(channel), LBChannels);
        item->setData(Qt::UserRole, channel);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        const auto old = chosen.find(channel);
        item->setCheckState((old != chosen.end() ? old->second : shownByDefault) ? Qt::Checked : Qt::Unchecked);
        QPixmap swatch(10, 10);
        swatch.fill(channelColour(channel));
        item->setIcon(QIcon(swatch));
    };
    for (int c = 0; c < analog; ++c)
        addChannel(c, true);
    for (int c = 0; c < digital; ++c)
        addChannel(TrendBuffer::AnalogChannels + c, false);
    LBChannelsChange();
}

std::vector<int> TTrend::shownChannels() const
{
    std::vector<int> channels;
    for (int row = 0; row < LBChannels->count(); ++row)
        if (LBChannels->item(row)->checkState() == Qt::Checked)
            channels.push_back(LBChannels->item(row)->data(Qt::UserRole).toInt());
    return channels;
}

QLineSeries *TTrend::seriesOf(int channel) const
{
    const auto it = series_.find(channel);
    return it == series_.end() ? nullptr : it->second;
}

void TTrend::LBChannelsChange()
{
    const std::vector<int> shown = shownChannels();
    // Series of channels no longer shown go; new ones come with their colour.
    for (auto it = series_.begin(); it != series_.end();) {
        if (std::find(shown.begin(), shown.end(), it->first) == shown.end()) {
            chart_->removeSeries(it->second);
            delete it->second;
            it = series_.erase(it);
        } else {
            ++it;
        }
    }
    for (int channel : shown) {
        if (series_.count(channel))
            continue;
        auto *series = new QLineSeries;
        series->setObjectName(QStringLiteral("Series%1").arg(channel));
        // A one-pixel cosmetic pen: wider pens take the slow stroking path of the
        // raster engine, and 36 curves ten times a second add up.
        QPen pen(channelColour(channel), 1);
        pen.setCosmetic(true);
        series->setPen(pen);
        chart_->addSeries(series);
        series->attachAxis(timeAxis_);
        series->attachAxis(channel < TrendBuffer::AnalogChannels ? valueAxis_ : bitAxis_);
        series_[channel] = series;
    }
    dirty_ = true;
    if (isVisible())
        redraw();
    showCursorValues();
}

void TTrend::showEvent(QShowEvent *event)
{
    TForm::showEvent(event);
    // The channels of the configuration read since, before the first reply.
    syncChannelList();
    dirty_ = true;
    redraw();
    RedrawTimer->start();
}

void TTrend::RedrawTimerTimer()
{
    // Hidden: nothing to draw; the buffer goes on filling.
    if (!isVisible()) {
        RedrawTimer->stop();
        return;
    }
    if (!paused_ && dirty_)
        redraw();
}

void TTrend::redraw()
{
    dirty_ = false;
    ++redraws_;
    if (!paused_)
        viewEnd_ = buffer_.empty() ? 0 : buffer_.latestTime();
    const qint64 from = viewEnd_ - spanMs();
    const double seconds = static_cast<double>(spanMs()) / 1000.0;
    timeAxis_->setRange(-seconds, 0);

    double low = 0, high = 0;
    bool any = false;
    int bitRow = 0;
    for (int channel : shownChannels()) {
        QLineSeries *series = seriesOf(channel);
        if (!series)
            continue;
        const bool digital = channel >= TrendBuffer::AnalogChannels;
        const double offset = digital ? BitPitch * bitRow++ : 0.0;
        const std::vector<TrendPoint> points = buffer_.points(channel, from, viewEnd_, CurveSlices);
        QList<QPointF> line;
        line.reserve(static_cast<qsizetype>(points.size()));
        for (const TrendPoint &p : points) {
            line.append(QPointF(static_cast<double>(p.timeMs - viewEnd_) / 1000.0, p.value + offset));
            if (!digital) {
                low = any ? std::min(low, double(p.value)) : p.value;
                high = any ? std::max(high, double(p.value)) : p.value;
                any = true;
            }
        }
        series->replace(line);
    }
    bitAxis_->setRange(-0.25, std::max(1.0, BitPitch * bitRow));
    bitAxis_->setVisible(bitRow > 0);
    if (CBAutoScale->isChecked()) {
        if (!any) {
            low = -1;
            high = 1;
        } else if (high - low < 1e-9) {
            low -= 1;
            high += 1;
        }
        // The axis changes only when the curves leave it or use little of
        // it: a new range every redraw relays the whole chart out.
        const double a = valueAxis_->min();
        const double b = valueAxis_->max();
        if (low < a || high > b || (b - a) > 3 * (high - low)) {
            const double margin = (high - low) * 0.05;
            valueAxis_->setRange(low - margin, high + margin);
        }
    } else {
        EScaleChange();
    }
    if (cursor_) {
        const double x = static_cast<double>(*cursor_ - viewEnd_) / 1000.0;
        cursorSeries_->replace({QPointF(x, valueAxis_->min()), QPointF(x, valueAxis_->max())});
    } else {
        cursorSeries_->clear();
    }
}

void TTrend::CoBoSpanChange()
{
    RedrawTimer->setInterval(redrawIntervalMs(spanMs()));
    dirty_ = true;
    redraw();
}

void TTrend::BPauseClick()
{
    paused_ = !paused_;
    BPause->setText(LookupMessage(paused_ ? QStringLiteral("@idRESUME") : QStringLiteral("@idPAUSE")));
    if (!paused_) {
        dirty_ = true;
        redraw();
    }
}

void TTrend::CBAutoScaleClick()
{
    const bool fixed = !CBAutoScale->isChecked();
    EMin->setEnabled(fixed);
    EMax->setEnabled(fixed);
    dirty_ = true;
    redraw();
}

void TTrend::EScaleChange()
{
    if (CBAutoScale->isChecked())
        return;
    bool okLow = false, okHigh = false;
    const double low = QLocale::system().toDouble(EMin->text(), &okLow);
    const double high = QLocale::system().toDouble(EMax->text(), &okHigh);
    // A scale that cannot be drawn is not taken.
    if (okLow && okHigh && high > low)
        valueAxis_->setRange(low, high);
}

void TTrend::SetCursor(qint64 timeMs)
{
    cursor_ = timeMs;
    const double x = static_cast<double>(timeMs - viewEnd_) / 1000.0;
    cursorSeries_->replace({QPointF(x, valueAxis_->min()), QPointF(x, valueAxis_->max())});
    showCursorValues();
}

void TTrend::showCursorValues()
{
    if (!cursor_) {
        LCursor->setText(LookupMessage(QStringLiteral("@idNOCURSOR")));
        return;
    }
    QStringList parts;
    for (int channel : shownChannels()) {
        const std::optional<qint32> value = buffer_.valueAt(channel, *cursor_);
        parts << channelName(channel) + QStringLiteral(" = ") + (value ? QString::number(*value) : QStringLiteral("-"));
    }
    const QString at = QLocale::system().toString(static_cast<double>(*cursor_ - viewEnd_) / 1000.0, 'f', 2);
    LCursor->setText(LookupMessage(QStringLiteral("@idCURSOR")).arg(at) + QLatin1Char(' ') +
                     parts.join(QStringLiteral(", ")));
}

bool TTrend::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ChartTrend->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            const QPointF scene = ChartTrend->mapToScene(mouse->position().toPoint());
            const QPointF value = chart_->mapToValue(chart_->mapFromScene(scene), cursorSeries_);
            SetCursor(viewEnd_ + static_cast<qint64>(std::llround(value.x() * 1000.0)));
            return true;
        }
    }
    return TForm::eventFilter(watched, event);
}

bool TTrend::ExportCsv(const QString &path)
{
    const std::vector<int> channels = shownChannels();
    QStringList names;
    for (int channel : channels)
        names << channelName(channel);
    const QString text = TrendCsv(names, buffer_.rows(channels, viewEnd_ - spanMs(), viewEnd_), viewEnd_);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        ShowErrorMessage(d, path + QStringLiteral(": ") + file.errorString());
        return false;
    }
    return true;
}

bool TTrend::ExportPng(const QString &path)
{
    if (!ChartTrend->grab().save(path, "PNG")) {
        ShowErrorMessage(d, path);
        return false;
    }
    return true;
}

void TTrend::BCsvClick()
{
    const QString path =
        QFileDialog::getSaveFileName(this, LookupMessage(QStringLiteral("@idSAVECSV")),
                                     d.ProgramFolder + QStringLiteral("trend.csv"), QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty())
        ExportCsv(path);
}

void TTrend::BPngClick()
{
    const QString path =
        QFileDialog::getSaveFileName(this, LookupMessage(QStringLiteral("@idSAVEPNG")),
                                     d.ProgramFolder + QStringLiteral("trend.png"), QStringLiteral("PNG (*.png)"));
    if (!path.isEmpty())
        ExportPng(path);
}
