#pragma once
// The trend window: the analog and digital inputs over time, drawn from each
// decoded process data reply at a display rate of its own.
#include "app/TForm.h"
#include "process/TrendBuffer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <map>

class TTrend : public TForm
{
    Q_OBJECT
public:
    explicit TTrend(Deklarat &d);

    QListWidget *LBChannels; // one check box per input channel
    QLabel *LSpan;
    QComboBox *CoBoSpan;
    QPushButton *BPause;
    QCheckBox *CBAutoScale;
    QLabel *LMin;
    QLineEdit *EMin;
    QLabel *LMax;
    QLineEdit *EMax;
    QPushButton *BCsv;
    QPushButton *BPng;
    QLabel *LCursor;
    QChartView *ChartTrend;
    QTimer *RedrawTimer;

    // Time spans offered, in seconds.
    static constexpr int SpanSeconds[] = {10, 30, 60, 300, 600, 1800, 3600};
    // Points per curve handed to the chart: the minimum and maximum of this
    // many time slices. What a redraw costs follows them.
    static constexpr int CurveSlices = 120;
    // Once a time slice, but at most five and at least one redraw a second,
    // whatever the cycle's rate: 200 ms for 10 s, 500 ms for a minute.
    static int redrawIntervalMs(qint64 spanMs);

    // A process data reply was decoded: its values go into the buffer.
    void AddImage();
    // At a given time (for tests and the bench).
    void AddImageAt(qint64 timeMs);
    void RedrawTimerTimer();
    void CoBoSpanChange();
    void BPauseClick();
    void CBAutoScaleClick();
    void EScaleChange();
    void LBChannelsChange();
    void BCsvClick();
    void BPngClick();
    // The cursor at a time (ms on the trend's clock); its values in LCursor.
    void SetCursor(qint64 timeMs);
    bool ExportCsv(const QString &path);
    bool ExportPng(const QString &path);

    bool paused() const { return paused_; }
    qint64 viewEnd() const { return viewEnd_; }
    qint64 spanMs() const;
    const TrendBuffer &buffer() const { return buffer_; }
    // Checked channels, in list order.
    std::vector<int> shownChannels() const;
    QLineSeries *seriesOf(int channel) const;
    QString channelName(int channel) const;
    int redraws() const { return redraws_; }
    QValueAxis *valueAxis() const { return valueAxis_; }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void syncChannelList();
    void redraw();
    void showCursorValues();

    TrendBuffer buffer_;
    QElapsedTimer clock_;
    QChart *chart_;
    QValueAxis *timeAxis_;
    QValueAxis *valueAxis_;
    QValueAxis *bitAxis_;
    QLineSeries *cursorSeries_;
    std::map<int, QLineSeries *> series_;
    int analogCount_ = -1;
    int digitalCount_ = -1;
    bool paused_ = false;
    bool dirty_ = false;
    qint64 viewEnd_ = 0;
    std::optional<qint64> cursor_;
    int redraws_ = 0;
};
