#pragma once
#include "app/TForm.h"

#include <QComboBox>
#include <QPushButton>

// The language dialog: picking an entry switches every window at once.
class TOKBottomDlg : public TForm
{
    Q_OBJECT
public:
    explicit TOKBottomDlg(Deklarat &d);

    QComboBox *ComboBox1;
    QPushButton *OKBtn;

    void ComboBox1Change();
    void OKBtnClick();
};
