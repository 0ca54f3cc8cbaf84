#include "translation/TOKBottomDlg.h"

#include "app/Deklarat.h"
#include "translation/WordLists.h"

#include <QGuiApplication>
#include <QScreen>

TOKBottomDlg::TOKBottomDlg(Deklarat &d) : TForm(d, QStringLiteral("TOKBottomDlg"), QStringLiteral("Sprache"))
{
    setFixedSize(172, 110);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems({QStringLiteral("Englisch"), QStringLiteral("Deutsch")});
    ComboBox1->setCurrentIndex(1);
    ComboBox1->setGeometry(16, 16, 140, 24);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    OKBtn->setGeometry(48, 70, 75, 25);
    connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
    connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    translate(TOKBottomDlgWords(), WindowFonts::Arial());
}

void TOKBottomDlg::ComboBox1Change()
{
    const QString text = ComboBox1->currentText();
    if (text == QLatin1String("Englisch"))
        SelectLanguage(d, 1);
    else if (text == QLatin1String("Deutsch"))
        SelectLanguage(d, 0);
}

void TOKBottomDlg::OKBtnClick()
{
    close();
}
