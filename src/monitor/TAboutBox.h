#pragma once
#include "app/TForm.h"

#include <QLabel>
#include <QPushButton>

class TAboutBox : public TForm
{
    Q_OBJECT
public:
    explicit TAboutBox(Deklarat &d);

    QLabel *ProductName;
    QLabel *Version;
    QLabel *Copyright;
    QPushButton *OKButton;
};
