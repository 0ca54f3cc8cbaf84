// The whole program's process data cycle against the running simulator, over
// loopback TCP and over a socat pty pair: outputs set in the control window
// reach the coupler, its looped-back digital inputs and its analog inputs come
// back into the window and into data_log.csv.
#include "../process/StationFixture.h"
#include "ProgramOnSimulator.h"
#include "Wait.h"
#include "process/TCont.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

class ProcessDataAgainstSimulator : public ::testing::TestWithParam<SimLink>
{
protected:
    void SetUp() override
    {
        previousFolder_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(logFolder_.path())); // data_log.csv goes here
        ASSERT_TRUE(p.ready());
    }

    void TearDown() override
    {
        w.BStopClick();
        if (w.Logging)
            w.BSaveClick();
        QDir::setCurrent(previousFolder_);
    }

    std::string simLine(const std::string &start) { return p.simLine(start); }

    bool waitForSimOutputs(const std::string &expected)
    {
        return WaitUntil([&] { return simLine("outputs ") == expected; }, 8000);
    }

    QString inCell(int row) const { return w.SG_ProValueIn->item(row, 1)->text(); }

    // The lines of data_log.csv, each split into its fields.
    QList<QList<QByteArray>> loggedLines() const
    {
        QFile file(QStringLiteral("data_log.csv"));
        QList<QList<QByteArray>> lines;
        if (!file.open(QIODevice::ReadOnly))
            return lines;
        for (const QByteArray &line : file.readAll().split('\n'))
            if (line.endsWith(";\r"))
                lines << line.chopped(2).split(';');
        return lines;
    }

    QTemporaryDir logFolder_;
    QString previousFolder_;
    ProgramOnSimulator p{GetParam()};
    TestStation &t = p.t;
    ProgramState &d = p.d;
    TCont &w = *d.Cont;
};

TEST_P(ProcessDataAgainstSimulator, OutputsReachTheCouplerAndInputsComeBack)
{
    // The station the simulator reports, as the configuration read leaves it.
    stationfixture::LoadStation(d.StationConfig, stationfixture::DemoSlots);
    ASSERT_EQ(simLine("counts "), "counts ai16 6 ai32 2 ao 4 di 12 do 12");
    ASSERT_EQ(p.sim->command("ai 1 1234"), "ok\n");
    ASSERT_EQ(p.sim->command("ai 5 -70000"), "ok\n"); // first strain gauge channel, 32 bit
    ASSERT_EQ(p.sim->command("ai 8 -7"), "ok\n");

    w.FormActivate();
    w.ESaveTime->setText(QStringLiteral("100"));
    w.ESaveTimeExit();
    w.BSaveClick();
    ASSERT_EQ(w.Logging, 1);

    // Slot 3 holds a 4-channel output module (output channels 0..3), slot 4 an
    // 8-channel one (channels 4..11).
    w.CheckBox[89]->click();  // slot 3, bit 0
    w.CheckBox[91]->click();  // slot 3, bit 2
    w.CheckBox[98]->click();  // slot 4, bit 1
    w.CheckBox[104]->click(); // slot 4, bit 7
    w.SG_ProValueOut->item(1, 1)->setText(QStringLiteral("1000"));
    w.SG_ProValueOut->item(2, 1)->setText(QStringLiteral("-2"));
    w.SG_ProValueOut->item(3, 1)->setText(QStringLiteral("4464")); // 0x1170
    w.SG_ProValueOut->item(4, 1)->setText(QStringLiteral("0x7F"));
    w.BStartClick();
    ASSERT_TRUE(t.sink.boxes.empty());
    ASSERT_TRUE(t.sink.conversionErrors.empty());

    // Four analog outputs, then the digital output register (bytes 0x25, 0x08).
    EXPECT_TRUE(waitForSimOutputs("outputs 03E8 FFFE 1170 007F 2508")) << simLine("outputs ");

    // The digital inputs follow the outputs bit for bit: input channels 0..3
    // are slot 1 (4 channels), 4..11 slot 2 (8 channels).
    ASSERT_TRUE(WaitUntil([&] { return d.DigInBytes[0] == 0x25 && d.DigInBytes[1] == 0x08; }, 8000))
        << int(d.DigInBytes[0]) << " " << int(d.DigInBytes[1]);
    const int slot1[] = {1, 0, 1, 0};
    for (int b = 0; b < 4; ++b)
        EXPECT_EQ(w.inputCheckBox(1, b)->isChecked(), slot1[b] == 1) << "slot 1 bit " << b;
    const int slot2[] = {0, 1, 0, 0, 0, 0, 0, 1};
    for (int b = 0; b < 8; ++b)
        EXPECT_EQ(w.inputCheckBox(2, b)->isChecked(), slot2[b] == 1) << "slot 2 bit " << b;
    EXPECT_TRUE(d.StationFlags & StationFlag::ProcessDataAnswered);
    EXPECT_EQ(inCell(1), QStringLiteral("1234"));
    EXPECT_EQ(inCell(5), QStringLiteral("-70000"));
    EXPECT_EQ(inCell(8), QStringLiteral("-7"));

    // Live changes in both directions, with the window closed.
    w.close();
    ASSERT_EQ(p.sim->command("ai 1 -321"), "ok\n");
    w.CheckBox[89]->click(); // slot 3 bit 0 off again
    EXPECT_TRUE(waitForSimOutputs("outputs 03E8 FFFE 1170 007F 2408")) << simLine("outputs ");
    ASSERT_TRUE(WaitUntil([&] { return inCell(1) == QStringLiteral("-321") && d.DigInBytes[0] == 0x24; }, 8000))
        << inCell(1).toStdString() << " " << int(d.DigInBytes[0]);
    EXPECT_FALSE(w.inputCheckBox(1, 0)->isChecked());
    EXPECT_EQ(d.AnaInValues[0], -321);

    // The log: seconds, 8 analog values, 2 digital bytes.
    const auto logged = [&] {
        for (const QList<QByteArray> &fields : loggedLines())
            if (fields.size() == 11 && fields[1] == "-321" && fields[5] == "-70000" && fields[8] == "-7" &&
                fields[9] == "36" && fields[10] == "8")
                return true;
        return false;
    };
    EXPECT_TRUE(WaitUntil(logged, 8000));
    const auto lines = loggedLines();
    ASSERT_FALSE(lines.isEmpty());
    for (const QList<QByteArray> &fields : lines)
        EXPECT_EQ(fields.size(), 11) << fields.join(';').toStdString();
    EXPECT_TRUE(t.sink.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Links, ProcessDataAgainstSimulator, ::testing::Values(SimLink::Tcp, SimLink::Rtu),
                         [](const ::testing::TestParamInfo<SimLink> &info) { return SimLinkName(info.param); });

} // namespace
