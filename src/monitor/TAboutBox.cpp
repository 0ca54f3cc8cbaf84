#include "monitor/TAboutBox.h"

#include "translation/WordLists.h"

#include <QVBoxLayout>

TAboutBox::TAboutBox(Deklarat &d) : TForm(d, QStringLiteral("TAboutBox"), QStringLiteral("Info"))
{
    auto *layout = new QVBoxLayout(this);
    ProductName = new QLabel(QStringLiteral("Modbus/TCP Control"), this);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    QFont title = ProductName->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.4);
    ProductName->setFont(title);
    Version = new QLabel(QStringLiteral("Version 1.00"), this);
    Version->setObjectName(QStringLiteral("Version"));
    Copyright = new QLabel(QStringLiteral("10.12.2026"), this);
    Copyright->setObjectName(QStringLiteral("Copyright"));
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    for (QWidget *w :
         {static_cast<QWidget *>(ProductName), static_cast<QWidget *>(Version), static_cast<QWidget *>(Copyright)})
        layout->addWidget(w, 0, Qt::AlignHCenter);
    layout->addSpacing(12);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(300, 170);

    translate(TAboutBoxWords(), WindowFonts::Arial());
}
