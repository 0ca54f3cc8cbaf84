#pragma once
// The parameter overview: the station as a row of module pictures, the
// coupler first. A double click opens the editor of a position; after every
// configuration read it rebuilds the station's parameter records with the
// defaults of the module description file.
#include "app/TForm.h"

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

class TParameter : public TForm
{
    Q_OBJECT
public:
    explicit TParameter(Deklarat &d);
    ~TParameter() override;

    QLabel *Panel1; // the panel at the top with its instruction
    QTableWidget *SGParam;
    QFrame *PBottom;
    QPushButton *BBack;
    QTimer *TimerDeleteHint;
    QLabel *HintWindow;

    QPoint LastMousePos;

    void FormCreate();
    void SGParamDrawCell(QPainter *painter, int column, int row, const QRect &rect) const;
    void SGParamClick(int column, int row);
    void SGParamMouseMove(const QPoint &pos);
    void SGParamDblClick(int column, int row);
    void TimerDeleteHintTimer();
    void BBackClick();
    void DefaultDataLaden();

    // Hint text of a grid column 1..10.
    QString HintText(int column) const;

    // The editor a double click opened, while it is open. It is shown
    // application-modal without a nested event loop: the program's other
    // windows take no input meanwhile, and a test drives it like a user.
    QDialog *OpenEditor() const { return editor_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    quint8 moduleIdOf(int column) const;
    void hideHint();
    QImage emptySlot_;
    QImage brandedEmptySlot_;
    QPointer<QDialog> editor_;
};
