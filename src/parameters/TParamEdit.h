#pragma once
// The coupler parameter editor: the coupler's own address and mask and its
// five routes, one tab per parameter object of the coupler as the module
// description file lists them. Created by the parameter overview for the
// coupler's column and destroyed when it closes.
#include "app/TForm.h"
#include "link/Exchange.h"
#include "parameters/CouplerBlock.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>

#include <array>

class TParamEdit : public TForm
{
    Q_OBJECT
public:
    explicit TParamEdit(Deklarat &d);

    static constexpr int Rows = 4;

    QTabBar *TCCoupler;
    QFrame *PCoupler;
    std::array<QLabel *, Rows> LCoupler{};    // LCoupler0 .. LCoupler3
    std::array<QLineEdit *, Rows> ECoupler{}; // ECoupler0 .. ECoupler3
    QLabel *LConfirmData;
    QPushButton *BSend;
    QPushButton *BRead;
    QPushButton *BCancel;
    QTimer *ReadPara;
    QTimer *WritePara;

    CouplerParameterBlock CouplerBlock{};
    int RetryCount = 0;

    void FormCreate();
    void TCCouplerChange();
    void BReadClick();
    void ReadParaTimer();
    void BSendClick();
    void WriteParaTimer();
    // A key typed into field 0..3; Enter (13) takes the field's text.
    void ECouplerKeyPress(int field, int key);
    // Leaving field 0..3 shows its stored value again.
    void ECouplerExit(int field);
    void BCancelClick();

    // The identifier of the object on tab `tab`, read as a number.
    qint64 ObjectIdOfTab(int tab) const;
    // What field 0..3 shows of CouplerBlock for the object on display.
    QString StoredText(int field) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void designLayout();
    QStringList objectList() const;
    void showRow(int row, const QString &caption);
    // The route the fields of the current tab edit; nothing on tabs 0 and 1.
    CouplerRoute *currentRoute();

    // What the fields show: the own address or mask in field 0, a route in
    // all four, four empty rows for another object, or nothing.
    enum class Display { Nothing, LocalIp, LocalMask, Route, EmptyRows };
    Display display_ = Display::Nothing;
    int displayRoute_ = 0;

    // Captions of the object shown last; an object that names fewer keeps them.
    std::array<QString, 3> captions_;
    QString valueCaption0_;
    Exchange exchange_{d, RetryCount};
};
