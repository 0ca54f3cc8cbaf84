#pragma once
// The error window: reads the coupler's error word and the status words of
// its channels and modules into two grids, resets the coupler's errors, and
// reads and writes the alarm mask shown in TAlarmMaske.
#include "app/TForm.h"
#include "diagnostics/TAlarmMaske.h"
#include "link/Exchange.h"

#include <QFrame>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <map>
#include <optional>

#include <vector>

class QModelIndex;
class QPainter;
class QStyleOptionViewItem;

class TFehler : public TForm
{
    Q_OBJECT
public:
    // The alarm mask window this window reads into and writes from; set by
    // the station.
    QPointer<TAlarmMaske> AlarmMaske;
    explicit TFehler(Deklarat &d);

    QFrame *PLeft;
    QTableWidget *SGModulFehler;
    QTableWidget *SGKopplerFehler;
    QFrame *PButtons;
    QPushButton *BReadError;
    QPushButton *BResetError;
    QPushButton *BSetzeAlarmMask;
    QPushButton *BReadAlarmMask;
    QPushButton *BSendAlarmMask;
    QPushButton *Cancel;
    QTimer *Anfrage; // reply check of the reads and the reset
    QTimer *Timer1;  // reply check of the alarm mask write

    // 0 idle, 1..5 the read sequence, 6 the alarm mask read.
    int ReadStep = 0;
    // Shared by both reply checks.
    int ErrorRetries = 0;

    void FormActivate();
    void BReadErrorClick();
    void BResetErrorClick();
    void CancelClick();
    void AnfrageTimer();
    void BSetzeAlarmMaskClick();
    void BReadAlarmMaskClick();
    void BSendAlarmMaskClick();
    void Timer1Timer();
    void SGModulFehlerDrawCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index);
    void SGKopplerFehlerDrawCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index);
    void SGModulFehlerExit();
    void SGKopplerFehlerExit();

    // Text of a grid cell ("" for a cell without text).
    static QString CellText(const QTableWidget *grid, int row, int column);

protected:
    void activated() override { FormActivate(); }

private:
    void FormCreate();
    void focusChanged(QWidget *old, QWidget *now);
    void setUpModuleGrid();
    void setUpCouplerGrid();
    void setCell(QTableWidget *grid, int row, int column, const QString &text);
    // Sends the read of `step` or of the next step that has registers; ends
    // the sequence (ReadStep 0) when none is left.
    void sendStatusRead(int step);
    void send(QTimer *replyTimer);
    void decodeReply();
    void showCouplerWord(quint16 word);
    void showStatusWords(int step, const std::vector<quint16> &words);
    void showError(const QString &text);
    // The grids' texts again in the language just chosen.
    void languageChanged();
    void setHeadings(QTableWidget *grid, const char *const *ids, int count);

    // What each text cell shows, so that a language switch can say it anew.
    std::optional<quint16> shownCouplerWord_;
    struct StatusSource {
        int step = 0;
        quint16 word = 0;
    };
    std::map<std::pair<int, int>, StatusSource> shownStatus_; // (row, column) of SGModulFehler

    // The reads' quantity, to take no more words than were asked for.
    int readQuantity_ = 0;
    Exchange exchange_{d, ErrorRetries};
};
