#include "OneWindow.h"

#include "Wait.h"
#include "link/TSIOTransfer.h"
#include "monitor/MonitorLines.h"
#include "monitor/TVo3112CCC.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTcpServer>
#include <gtest/gtest.h>

namespace
{

TEST(MonitorLine, FormatAndTimeStamp)
{
    const QString sep = QLocale::system().decimalPoint();
    EXPECT_EQ(MonitorLine(QStringLiteral("TxD "), 12.345, QStringLiteral("08 04 ")),
              QStringLiteral("TxD (12") + sep + QStringLiteral("345)  08 04 "));
    EXPECT_EQ(MonitorLine(QStringLiteral("RxD "), 7, QStringLiteral("0804")), QStringLiteral("RxD (7)  0804"));
    // Across midnight the stamp keeps growing.
    const QDateTime before(QDate(2026, 12, 10), QTime(23, 59, 59, 500));
    const QDateTime after(QDate(2026, 12, 11), QTime(0, 0, 1, 0));
    EXPECT_DOUBLE_EQ(MonitorSeconds(before, after), 1.5);
}

TEST(Monitor, LineLimitCountsSeparatorsAndClearsBeforeTheNextLine)
{
    OneWindow<TVo3112CCC> t;
    TVo3112CCC *w = t.w;
    w->MonitorLines->setCurrentIndex(0);
    w->MonitorLinesChange(0);
    ASSERT_EQ(w->MonitorLineLimit, 10);
    EXPECT_EQ(w->Transmit->toPlainText(), QStringLiteral("Senden"));
    EXPECT_EQ(w->monitorLineCount(true), 1);
    for (int i = 0; i < 4; ++i) {
        w->ShowSendData(QStringLiteral("frame %1").arg(i));
        w->AddSendSeparator();
    }
    w->AddSendSeparator(); // 1 + 8 + 1 = 10 lines
    ASSERT_EQ(w->monitorLineCount(true), 10);
    w->ShowSendData(QStringLiteral("next"));
    w->flushMonitor();
    EXPECT_EQ(w->monitorLineCount(true), 1);
    EXPECT_TRUE(w->Transmit->toPlainText().startsWith(QStringLiteral("TxD (")));
    EXPECT_TRUE(w->Transmit->toPlainText().endsWith(QStringLiteral(")  next")));
    // Typed text in the combo changes nothing.
    w->MonitorLines->setEditText(QStringLiteral("3"));
    EXPECT_EQ(w->MonitorLineLimit, 10);
}

TEST(Monitor, LinesReachTheMemoInBatchesInTheirOrder)
{
    OneWindow<TVo3112CCC> t;
    TVo3112CCC *w = t.w;
    w->MonitorLinesChange(2); // 50
    for (int i = 0; i < 60; ++i)
        w->ShowReceivedData(QStringLiteral("line %1").arg(i));
    EXPECT_TRUE(w->MonitorFlushTimer->isActive());
    ASSERT_TRUE(WaitUntil([&] { return !w->MonitorFlushTimer->isActive(); }, 2000));
    const QStringList lines = w->Receive->toPlainText().split(QLatin1Char('\n'));
    // 1 + 49 lines fill the memo; line 49 finds it full and starts it anew.
    ASSERT_EQ(lines.size(), 11);
    EXPECT_TRUE(lines.first().endsWith(QStringLiteral("line 49")));
    EXPECT_TRUE(lines.last().endsWith(QStringLiteral("line 59")));
    EXPECT_EQ(w->monitorLineCount(false), 11);
}

TEST(Monitor, FirstLineAfterARestIsShownAtOnceLaterOnesOnceAPeriod)
{
    OneWindow<TVo3112CCC> t;
    TVo3112CCC *w = t.w;
    w->ShowReceivedData(QStringLiteral("first"));
    ASSERT_TRUE(w->MonitorFlushTimer->isActive());
    EXPECT_EQ(w->MonitorFlushTimer->interval(), 0);
    w->flushMonitor();
    EXPECT_TRUE(w->Receive->toPlainText().endsWith(QStringLiteral(")  first")));
    // Right after a batch the next one waits for the rest of the period.
    w->ShowReceivedData(QStringLiteral("second"));
    ASSERT_TRUE(w->MonitorFlushTimer->isActive());
    EXPECT_GT(w->MonitorFlushTimer->interval(), 0);
    EXPECT_LE(w->MonitorFlushTimer->interval(), TVo3112CCC::MonitorFlushPeriodMs);
    EXPECT_FALSE(w->Receive->toPlainText().contains(QStringLiteral("second")));
    ASSERT_TRUE(WaitUntil([&] { return !w->MonitorFlushTimer->isActive(); }, 2000));
    EXPECT_TRUE(w->Receive->toPlainText().endsWith(QStringLiteral(")  second")));
}

TEST(Monitor, ActiveSwitchesLinesButNotSeparators)
{
    OneWindow<TVo3112CCC> t;
    TVo3112CCC *w = t.w;
    w->ActiveClick();
    EXPECT_EQ(w->Active->text(), QStringLiteral("Not Active"));
    EXPECT_FALSE(w->Transmit->isEnabled());
    w->ShowReceivedData(QStringLiteral("0804"));
    w->AddReceiveSeparator();
    w->flushMonitor();
    EXPECT_EQ(w->Receive->toPlainText(), QStringLiteral("Empfangen\n "));
    w->ActiveClick();
    EXPECT_EQ(w->Active->text(), QStringLiteral("Active"));
    EXPECT_TRUE(w->Receive->isEnabled());
    w->ShowSendData(QStringLiteral("pending"));
    w->ClearClick();
    w->flushMonitor();
    EXPECT_EQ(w->Transmit->toPlainText(), QString());
    EXPECT_EQ(w->Receive->toPlainText(), QString());
    EXPECT_EQ(w->monitorLineCount(false), 0);
}

TEST(Monitor, TrafficFileHoldsEveryLineAsWritten)
{
    OneWindow<TVo3112CCC> t;
    // A bare file name goes to the current folder.
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(t.folder.path()));
    TVo3112CCC *w = t.w;
    EXPECT_EQ(w->Edit3->text(), QStringLiteral("Datenverkehr.txt"));
    w->SpeichernClick();
    ASSERT_TRUE(w->TrafficSaving);
    w->ShowSendData(QStringLiteral("08 04 "));
    w->AddSendSeparator();
    w->ShowReceivedData(QStringLiteral("0804"));
    // Already on disk while saving is on.
    QFile file(t.folder.filePath(QStringLiteral("Datenverkehr.txt")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("TxD (")));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(")  08 04 ")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(")  0804")));
    w->SpeichernClick();
    EXPECT_FALSE(w->TrafficSaving);
    w->ShowSendData(QStringLiteral("after"));
    file.seek(0);
    EXPECT_FALSE(file.readAll().contains("after"));
    QDir::setCurrent(before);
}

TEST(Monitor, TrafficFileThatCannotBeCreatedIsReported)
{
    OneWindow<TVo3112CCC> t;
    TVo3112CCC *w = t.w;
    w->Edit3->setText(t.folder.filePath(QStringLiteral("no/such/folder/x.txt")));
    w->SpeichernClick();
    EXPECT_FALSE(w->TrafficSaving);
    ASSERT_EQ(t.sink.boxes.size(), 1u);
    EXPECT_EQ(t.sink.boxes[0].kind, MessageKind::Error);
}

// Both timeout fields take 1 ms to a minute; every other text is reported
// when the field is left, the value stays and the field shows it again.
TEST(Monitor, TimeoutEditsTakeOneToSixtyThousandMsOrReportWhenLeft)
{
    struct Case {
        const char *typed;
        qint32 kept; // the value afterwards; 250 is the one before
        const char *error;
    };
    const Case cases[] = {
        {"1", 1, nullptr},
        {"60000", 60000, nullptr},
        {"0x10", 16, nullptr},
        {" 300 ", 300, nullptr},
        {"0", 250, "'0' is not within 1 .. 60000"},
        {"-1", 250, "'-1' is not within 1 .. 60000"},
        {"60001", 250, "'60001' is not within 1 .. 60000"},
        {"999999999", 250, "'999999999' is not within 1 .. 60000"},
        {"99999999999", 250, "'99999999999' is not within 1 .. 60000"},
        {"4294967396", 250, "'4294967396' is not within 1 .. 60000"}, // 2^32 + 100
        {"abc", 250, "'abc' is not a valid integer value"},
        {"25x", 250, "'25x' is not a valid integer value"},
        {"", 250, "'' is not a valid integer value"},
        {"-", 250, "'-' is not a valid integer value"},
        {"0x", 250, "'0x' is not a valid integer value"},
    };
    OneWindow<TVo3112CCC> t;
    TVo3112CCC *w = t.w;
    EXPECT_EQ(w->Edit1->text(), QStringLiteral("100"));
    EXPECT_EQ(w->Edit2->text(), QStringLiteral("500"));
    for (QLineEdit *edit : {w->Edit1, w->Edit2}) {
        qint32 &value = edit == w->Edit1 ? t.d.DataTimeout : t.d.ParaTimeout;
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(edit == w->Edit1 ? "Edit1 <- " : "Edit2 <- ") + c.typed);
            edit->setText(QStringLiteral("250"));
            t.sink.clear();
            edit->setText(QString::fromLatin1(c.typed));
            EXPECT_EQ(value, c.kept);
            EXPECT_TRUE(t.sink.conversionErrors.empty()); // typing is no error yet
            emit edit->editingFinished();
            EXPECT_EQ(value, c.kept);
            // Left, the field shows the value in force.
            EXPECT_EQ(edit->text(), c.error ? QString::number(c.kept) : QString::fromLatin1(c.typed));
            if (c.error) {
                ASSERT_EQ(t.sink.conversionErrors.size(), 1u);
                EXPECT_EQ(t.sink.conversionErrors[0], QString::fromLatin1(c.error));
            } else {
                EXPECT_TRUE(t.sink.conversionErrors.empty());
            }
        }
    }
}

TEST(FreeCommunication, GridAndByteListLayout)
{
    OneWindow<TVo3112CCC> t;
    TVo3112CCC *w = t.w;
    ASSERT_EQ(w->SGFreeCom->columnCount(), 17);
    ASSERT_EQ(w->SGFreeCom->rowCount(), 6);
    EXPECT_EQ(w->SGFreeCom->columnWidth(5), 32);
    EXPECT_EQ(w->SGFreeCom->rowHeight(2), 18);
    EXPECT_EQ(w->SGFreeCom->item(0, 0)->text(), QStringLiteral("hex"));
    EXPECT_EQ(w->SGFreeCom->item(0, 1)->text(), QStringLiteral("0x00"));
    EXPECT_EQ(w->SGFreeCom->item(0, 16)->text(), QStringLiteral("0x0F"));
    EXPECT_EQ(w->SGFreeCom->item(5, 0)->text(), QStringLiteral("0x40"));
    EXPECT_EQ(w->SGFreeCom->item(3, 7)->text(), QStringLiteral("00"));
    ASSERT_EQ(w->CBBytes->count(), 81);
    EXPECT_EQ(w->CBBytes->itemText(0), QStringLiteral("NULL"));
    EXPECT_EQ(w->CBBytes->itemText(12), QStringLiteral("0x0B"));
    EXPECT_EQ(w->CBBytes->itemText(80), QStringLiteral("0x4F"));
    EXPECT_EQ(w->CBBytes->currentIndex(), 0);
    w->SGFreeCom->item(2, 3)->setText(QStringLiteral("AB"));
    w->BFill0x00Click();
    EXPECT_EQ(w->SGFreeCom->item(2, 3)->text(), QStringLiteral("00"));
}

TEST(FreeCommunication, PanelOpensOnlyWithTcpAndTogglesCaption)
{
    OneWindow<TVo3112CCC> t;
    TVo3112CCC *w = t.w;
    w->BFreeComClick(); // serial link: nothing happens
    EXPECT_FALSE(w->FreeComOpen);
    EXPECT_TRUE(w->PFreeCom->isHidden());
    t.d.TcpConnected = 1;
    w->BFreeComClick();
    EXPECT_TRUE(w->FreeComOpen);
    EXPECT_FALSE(w->PFreeCom->isHidden());
    EXPECT_FALSE(w->BSend->isHidden());
    EXPECT_EQ(w->BFreeCom->text(), QStringLiteral("Schließen"));
    SelectLanguage(t.d, 1);
    t.d.TcpConnected = 0;
    w->BFreeComClick(); // closing works without a connection
    EXPECT_TRUE(w->PFreeCom->isHidden());
    EXPECT_EQ(w->BFreeCom->text(), QStringLiteral("free Communication"));
}

TEST(FreeCommunication, SendsTheGridBytesWithTheNextTransactionId)
{
    OneWindow<TVo3112CCC> t;
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    t.d.Link->ClientSocket->connectToHost(QHostAddress::LocalHost, server.serverPort());
    ASSERT_TRUE(WaitUntil([&] { return t.d.Link->tcpOpen() && server.hasPendingConnections(); }));
    QTcpSocket *peer = server.nextPendingConnection();
    TVo3112CCC *w = t.w;
    const char *row[] = {"00", "01", "00", "00", "00", "06", "08", "03", "00", "00", "00", "0A"};
    for (int c = 0; c < 12; ++c)
        w->SGFreeCom->item(1, c + 1)->setText(QString::fromLatin1(row[c]));
    t.d.TransactionId = 0x41;
    w->CBBytes->setCurrentIndex(12);
    w->BSendClick();
    EXPECT_EQ(t.d.TransactionId, 0x42);
    QByteArray got;
    ASSERT_TRUE(WaitUntil([&] {
        got += peer->readAll();
        return got.size() >= 12;
    }));
    EXPECT_EQ(got.toHex(' '), QByteArray("00 42 00 00 00 06 08 03 00 00 00 0a"));
}

TEST(FreeCommunication, BadCellStopsTheSendAndNullSendsNothing)
{
    OneWindow<TVo3112CCC> t;
    TVo3112CCC *w = t.w;
    w->BSendClick(); // "NULL"
    EXPECT_EQ(t.d.TransactionId, 0);
    w->SGFreeCom->item(1, 2)->setText(QStringLiteral("zz"));
    w->CBBytes->setCurrentIndex(4);
    w->BSendClick();
    EXPECT_EQ(t.d.TransactionId, 1); // advanced before the cells are converted
    EXPECT_EQ(t.sink.conversionErrors.size(), 1u);
    EXPECT_EQ(t.d.Link->line().state(), LineQueue::State::Idle); // nothing went out
}

// A hand-made byte goes out as typed or not at all: "100" was sent as 00.
TEST(FreeCommunication, CellsBeyondAByteStopTheSend)
{
    const std::pair<const char *, std::optional<quint8>> cells[] = {
        {"00", 0},
        {"ff", 0xFF},
        {"7", 7},
        {"0FF", 0xFF},
        {"100", std::nullopt},
        {"1FF", std::nullopt},
        {"-1", std::nullopt},
        {"zz", std::nullopt},
        {"FFFFFFFFFFFFFFFFF", std::nullopt},
    };
    for (const auto &[text, byte] : cells)
        EXPECT_EQ(FreeComByte(QString::fromLatin1(text)), byte) << text;

    OneWindow<TVo3112CCC> t;
    TVo3112CCC *w = t.w;
    w->SGFreeCom->item(1, 3)->setText(QStringLiteral("100"));
    w->CBBytes->setCurrentIndex(4);
    w->BSendClick();
    ASSERT_EQ(t.sink.conversionErrors.size(), 1u);
    EXPECT_EQ(t.sink.conversionErrors[0], QStringLiteral("'100' is not within 00 .. FF"));
    EXPECT_EQ(t.d.Link->line().state(), LineQueue::State::Idle); // nothing went out
}

TEST(FreeCommunication, AutoSendCaptionCycleAndBadPeriod)
{
    OneWindow<TVo3112CCC> t;
    TVo3112CCC *w = t.w;
    EXPECT_EQ(w->BAutoSend->text(), QStringLiteral("zykl. Senden"));
    w->BAutoSendClick();
    EXPECT_EQ(w->BAutoSend->text(), QStringLiteral("Start"));
    EXPECT_FALSE(w->TimerAutoSend->isActive());
    w->EAutoSend->setText(QStringLiteral("abc"));
    w->BAutoSendClick();
    EXPECT_EQ(w->BAutoSend->text(), QStringLiteral("Stop"));
    EXPECT_EQ(w->EAutoSend->text(), QStringLiteral("1000"));
    EXPECT_TRUE(w->TimerAutoSend->isActive());
    EXPECT_EQ(w->TimerAutoSend->interval(), 1000);
    w->BAutoSendClick();
    EXPECT_EQ(w->BAutoSend->text(), QStringLiteral("Start"));
    EXPECT_FALSE(w->TimerAutoSend->isActive());
    w->EAutoSend->setText(QStringLiteral("250"));
    w->BAutoSendClick();
    EXPECT_EQ(w->TimerAutoSend->interval(), 250);
}

TEST(MainWindowClose, EndsEvenWhenTheCouplerNeverAnswersTheClose)
{
    OneWindow<TVo3112CCC> t;
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    t.d.Link->ClientSocket->connectToHost(QHostAddress::LocalHost, server.serverPort());
    ASSERT_TRUE(WaitUntil([&] { return t.d.Link->tcpOpen(); }));
    QElapsedTimer timer;
    timer.start();
    t.w->close();
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(t.d.Link->ClientSocket->state(), QAbstractSocket::UnconnectedState);
}

} // namespace
