#pragma once
// The traffic statistics window: per function code what went over the line,
// and the sum of it in the main window.
#include "app/TForm.h"
#include "monitor/TrafficStatistics.h"

#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

class TStatistik : public TForm
{
    Q_OBJECT
public:
    explicit TStatistik(Deklarat &d);
    ~TStatistik() override;

    QTableWidget *SGStatistik;
    QPushButton *BReset;
    QPushButton *BCopy;
    QPushButton *BClose;
    QTimer *RefreshTimer; // the table and the main window's sum, a few times a second

    void BResetClick();
    void BCopyClick();
    void BCloseClick();
    void RefreshTimerTimer();

    // Column headers in the active language.
    QStringList header() const;
    // The table as text, as the copy puts it on the clipboard.
    QString tableText() const;
    // The one-line sum the main window shows.
    QString summaryText() const;

    TrafficStatistics &statistics() { return recorder_.statistics; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showTable();
    TrafficRecorder recorder_;
};
