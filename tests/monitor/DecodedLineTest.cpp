#include "OneWindow.h"

#include "../link/LinkTestSupport.h"
#include "app/Deklarat.h"
#include "monitor/TVo3112CCC.h"

#include <QTextBlock>
#include <gtest/gtest.h>

namespace
{

QString hexText(const Bytes &bytes, const char *separator)
{
    QStringList parts;
    for (quint8 b : bytes)
        parts << QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    return parts.join(QString::fromLatin1(separator));
}

// Puts the memo's cursor on line `block`, as a click there does.
void chooseLine(QPlainTextEdit *memo, int block)
{
    QTextCursor cursor(memo->document()->findBlockByNumber(block));
    memo->setTextCursor(cursor);
}

TEST(DecodedMonitorLine, ChosenLineIsDecodedInTheActiveLanguage)
{
    OneWindow<TVo3112CCC> t;
    TVo3112CCC *w = t.w;
    w->ShowSendData(hexText(WithCrc({8, 4, 0x10, 0x00, 0x00, 0x0E}), " "));
    w->AddSendSeparator();
    w->ShowReceivedData(hexText(WithCrc({8, 0x84, 0x02}), ""));
    w->AddReceiveSeparator();
    w->flushMonitor();

    chooseLine(w->Transmit, 1); // line 0 is "Senden"
    w->TransmitLineChosen();
    EXPECT_TRUE(w->MDecode->toPlainText().contains(u"Anfrage, RTU"_qs)) << w->MDecode->toPlainText().toStdString();
    EXPECT_TRUE(w->MDecode->toPlainText().contains(u"Startregister: 0x1000 (4096), Anzahl 14"_qs));

    chooseLine(w->Receive, 1);
    w->ReceiveLineChosen();
    EXPECT_TRUE(w->MDecode->toPlainText().contains(u"Ausnahme: 2 Illegal Data Adress"_qs))
        << w->MDecode->toPlainText().toStdString();

    // The shown line follows the language switch.
    SelectLanguage(t.d, 1);
    EXPECT_TRUE(w->MDecode->toPlainText().contains(u"Exception: 2 Illegal Data Adress"_qs))
        << w->MDecode->toPlainText().toStdString();

    // A separator line holds no frame.
    chooseLine(w->Receive, 2);
    w->ReceiveLineChosen();
    EXPECT_EQ(w->MDecode->toPlainText(), u"No bytes in this line"_qs);
}

TEST(DecodedMonitorLine, FreeCommunicationShowsTheHandMadeFrame)
{
    OneWindow<TVo3112CCC> t;
    TVo3112CCC *w = t.w;
    // Bytes 6.. of the grid: unit 8, function 6, register 0x1500, value 0xFFFF.
    const char *cells[] = {"08", "06", "15", "00", "FF", "FF"};
    for (int i = 0; i < 6; ++i)
        w->SGFreeCom->item(1, 7 + i)->setText(QString::fromLatin1(cells[i]));
    w->CBBytes->setCurrentIndex(12); // send up to byte 0x0B
    const QString text = w->MFreeComDecode->toPlainText();
    EXPECT_TRUE(text.contains(u"Funktion: 6 (0x06) Write Single Register"_qs)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Werte: [0] 0xFFFF (65535)"_qs)) << text.toStdString();

    // One byte less: the frame is cut short, and says so.
    w->CBBytes->setCurrentIndex(11);
    EXPECT_TRUE(w->MFreeComDecode->toPlainText().contains(u"Rahmen zu kurz"_qs));

    // A cell that is no number: nothing to decode.
    w->SGFreeCom->item(1, 8)->setText(u"zz"_qs);
    EXPECT_TRUE(w->MFreeComDecode->toPlainText().isEmpty());
}

} // namespace
