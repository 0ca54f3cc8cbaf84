// The parameter overview's editors against the running simulator while the
// process data cycle shares the line: each editor is opened by a double click
// on its column, reads the coupler, changes values, writes them, and reads the
// change back; over TCP the coupler's registers are also checked with a
// Modbus master written elsewhere (libmodbus).
#include "ProgramOnSimulator.h"
#include "Wait.h"
#include "parameters/TParamEdit.h"
#include "parameters/TParameter.h"
#include "parameters/TZusatzIOEdit.h"
#include "process/TCont.h"
#include "station/TDeviceConfigForm.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

using simtest::Master;

QString buildDir()
{
    const QString dir = qEnvironmentVariable("VO_BUILD_DIR");
    return dir.isEmpty() ? QDir::currentPath() : dir;
}

// Slots: 1 digital outputs, 2 digital inputs, 3 analog inputs (4 channels),
// 4 thermocouple, 5 and 6 strain gauges, 7 analog outputs, 8 digital outputs
// (the second module: registers 0x2604..0x2607), 9 digital inputs.
const std::vector<std::string> Slots = {"--slots", "1,2,4,14,10,10,5,1,2"};

class EditorsAgainstSimulator : public ::testing::TestWithParam<SimLink>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(p.ready());
        // The files delivered beside the program.
        for (const char *name : {"ModIO_NX.cfg", "FuncCode.cfg"})
            ASSERT_TRUE(QFile::copy(buildDir() + QLatin1Char('/') + QLatin1String(name),
                                    d.ProgramFolder + QLatin1String(name)));
        d.ModuleCatalogue = LoadModuleCatalogue(d.ProgramFolder, d.BrandMode);
        TDeviceConfigForm &config = *d.DeviceConfigForm;
        config.BReadConfigClick();
        ASSERT_TRUE(
            WaitUntil([&] { return d.StationConfig.ConfigValid == 1 && !config.TimerSlotList->isActive(); }, 8000));
        ASSERT_EQ(d.StationPositions[8].ModuleId, 1);
        ASSERT_EQ(d.StationPositions[8].FirstIndex, 1);
        t.sink.clear();

        // The cycle every 20 ms, so that it runs between any two of the editors' exchanges.
        d.DataTimeout = 10;
        cont.FormActivate();
        cont.BStartClick();
        ASSERT_TRUE(WaitUntil([&] { return (d.StationFlags & StationFlag::ProcessDataAnswered) != 0; }, 8000));
        overview.show();
    }

    void TearDown() override
    {
        if (QDialog *editor = overview.OpenEditor())
            editor->reject();
        cont.BStopClick();
    }

    // A double click on the picture of grid column `column`, as the user does it.
    QDialog *doubleClick(int column)
    {
        const QRect cell = overview.SGParam->visualRect(overview.SGParam->model()->index(1, column));
        QTest::mouseClick(overview.SGParam->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(overview.SGParam->viewport(), Qt::LeftButton, {}, cell.center());
        return overview.OpenEditor();
    }

    TZusatzIOEdit *openSlot(int slot)
    {
        auto *editor = qobject_cast<TZusatzIOEdit *>(doubleClick(slot + 1));
        EXPECT_NE(editor, nullptr) << "slot " << slot;
        EXPECT_EQ(d.SelectedPosition, slot);
        return editor;
    }

    bool idle(TZusatzIOEdit *w)
    {
        return WaitUntil(
            [&] {
                return !w->TmReadPara->isActive() && !w->TmRead32Para->isActive() && !w->TmWritePara->isActive() &&
                       !w->TmWrite32Para->isActive();
            },
            10000);
    }
    void read(TZusatzIOEdit *w)
    {
        w->ReadBtn->click();
        ASSERT_TRUE(idle(w));
        ASSERT_TRUE(w->ReadBtn->isEnabled());
        expectNoBoxes();
    }
    void write(TZusatzIOEdit *w)
    {
        w->OKBtn->click();
        ASSERT_TRUE(idle(w));
        expectNoBoxes();
    }
    void expectNoBoxes()
    {
        for (const MessageRequest &box : t.sink.boxes)
            ADD_FAILURE() << box.text.toStdString();
        t.sink.clear();
    }
    // The entries of the current record, as the editor holds them.
    std::vector<qint64> values(TZusatzIOEdit *w, int count)
    {
        std::vector<qint64> v;
        for (int e = 0; e < count; ++e)
            v.push_back(w->CurrentRecord()->ObjectEntries[size_t(e)].Value);
        return v;
    }
    // Forget what the editor holds, so that a read must bring it back.
    void scramble(TZusatzIOEdit *w, int count)
    {
        for (int e = 0; e < count; ++e)
            w->CurrentRecord()->ObjectEntries[size_t(e)].Value = 0x5A5A;
        w->TCCanObjectChange();
    }
    // Registers as a Modbus master written elsewhere reads them (TCP only).
    void expectCoupler(int address, const std::vector<uint16_t> &expected)
    {
        if (GetParam() != SimLink::Tcp)
            return;
        Master m = Master::tcp(p.sim->port());
        std::vector<uint16_t> regs(expected.size(), 0);
        ASSERT_TRUE(m.connected());
        ASSERT_EQ(modbus_read_input_registers(m.get(), address, int(regs.size()), regs.data()), int(regs.size()));
        EXPECT_EQ(regs, expected) << "at " << address;
    }
    void close(QDialog *editor)
    {
        QPointer<QDialog> gone = editor;
        editor->reject();
        // The overview destroys it once the event loop takes its deferred deletes.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_TRUE(gone.isNull());
        ASSERT_EQ(overview.OpenEditor(), nullptr);
    }

    ProgramOnSimulator p{GetParam(), Slots};
    TestStation &t = p.t;
    ProgramState &d = p.d;
    TCont &cont = *d.Cont;
    TParameter &overview = *d.Parameter;
};

TEST_P(EditorsAgainstSimulator, DigitalOutputModule)
{
    TZusatzIOEdit *w = openSlot(8);
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(w->TCCanObject->count(), 4);
    read(w);
    EXPECT_EQ(values(w, 4), (std::vector<qint64>{0, 0, 0, 0}));

    // Substitute value active for channels 2 and 8; monitoring 50 x 10 ms, on.
    w->CBoBit[1]->setChecked(true);
    w->CBoBit[7]->setChecked(true);
    w->TCCanObject->setCurrentIndex(3);
    w->EMix0->setText(QStringLiteral("50"));
    QTest::keyClick(w->EMix0, Qt::Key_Return);
    w->CBMix[1]->setCurrentIndex(1);
    const std::vector<qint64> written = values(w, 4);
    EXPECT_EQ(written, (std::vector<qint64>{0x82, 0, 0, 0x0132}));
    const long cycles = p.requestsOf(23);
    write(w);
    expectCoupler(0x2604, {0x82, 0, 0, 0x0132});
    expectCoupler(0x2600, {0, 0, 0, 0});

    scramble(w, 4);
    read(w);
    EXPECT_EQ(values(w, 4), written);
    EXPECT_EQ(w->EMix0->text(), QStringLiteral("50"));
    EXPECT_EQ(w->CBMix[1]->currentIndex(), 1);
    EXPECT_GT(p.requestsOf(23), cycles) << "the cycle ran beside the editor";
    close(w);
    EXPECT_EQ(d.StationPositions[8].ModuleParams->ObjectEntries[0].Value, 0x82);
}

TEST_P(EditorsAgainstSimulator, AnalogInputModule)
{
    TZusatzIOEdit *w = openSlot(3);
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(w->TCKanal->count(), 4);
    w->TCKanal->setCurrentIndex(1);
    // Range 0..20 mA, 60 Hz and 16 values, wire break only, limit -1234.
    w->CBMix[0]->setCurrentIndex(1);
    w->TCCanObject->setCurrentIndex(1);
    w->CBMix[0]->setCurrentIndex(2);
    w->CBMix[1]->setCurrentIndex(2);
    w->TCCanObject->setCurrentIndex(2);
    for (int i = 1; i < 4; ++i)
        w->CBoBit[size_t(i)]->setChecked(false);
    w->TCCanObject->setCurrentIndex(3);
    w->EMix0->setText(QStringLiteral("-1234"));
    QTest::keyClick(w->EMix0, Qt::Key_Return);
    write(w);
    expectCoupler(0x2006, {0x0001, 0x0022, 0x0001, 0xFB2E});

    scramble(w, 4);
    read(w);
    EXPECT_EQ(values(w, 4), (std::vector<qint64>{0x0001, 0x0022, 0x0001, 0xFB2E}));
    EXPECT_EQ(w->EMix0->text(), QStringLiteral("-1234"));
    // Channel 1 was not written.
    w->TCKanal->setCurrentIndex(0);
    read(w);
    EXPECT_EQ(values(w, 4), (std::vector<qint64>{0, 0, 0, 0}));
    close(w);
}

TEST_P(EditorsAgainstSimulator, StrainGaugeBothBlocks)
{
    TZusatzIOEdit *w = openSlot(6); // the second strain gauge: 32-bit channels 3 and 4
    ASSERT_NE(w, nullptr);
    w->TCKanal->setCurrentIndex(1);
    ASSERT_EQ(w->TCCanObject->count(), 7);
    w->TCCanObject->setCurrentIndex(3); // averaging 8, tare at start
    w->EMix0->setText(QStringLiteral("8"));
    QTest::keyClick(w->EMix0, Qt::Key_Return);
    w->CBMix[1]->setCurrentIndex(1);
    const struct {
        int tab;
        const char *text;
    } numbers[] = {{4, "123456"}, {5, "-5000"}, {6, "99999"}};
    for (const auto &n : numbers) {
        w->TCCanObject->setCurrentIndex(n.tab);
        w->EMix0->setText(QString::fromLatin1(n.text));
        QTest::keyClick(w->EMix0, Qt::Key_Return);
    }
    const std::vector<qint64> written = values(w, 7);
    write(w);
    // First block 0x2000 + 6 x 9, then the second 0x2200 + 7 x 3.
    expectCoupler(0x2036, {quint16(written[0]), quint16(written[1]), quint16(written[2])});
    expectCoupler(0x2215, {0x0108, 0x0001, 0xE240, 0xFFFF, 0xEC78, 0x0001, 0x869F});

    scramble(w, 7);
    read(w);
    EXPECT_EQ(values(w, 7),
              (std::vector<qint64>{written[0], written[1], written[2], 0x0108, 123456, 0xFFFFEC78LL, 99999}));
    w->TCCanObject->setCurrentIndex(5);
    EXPECT_EQ(w->EMix0->text(), QStringLiteral("-5000"));
    close(w);
}

TEST_P(EditorsAgainstSimulator, Coupler)
{
    auto *w = qobject_cast<TParamEdit *>(doubleClick(1));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(d.SelectedPosition, 0);
    ASSERT_EQ(w->TCCoupler->count(), 7);
    w->BRead->click();
    ASSERT_TRUE(WaitUntil([&] { return !w->ReadPara->isActive(); }, 10000));
    if (GetParam() == SimLink::Rtu) {
        // Over the serial line the coupler keeps its time value there instead.
        ASSERT_EQ(t.sink.boxes.size(), 1u);
        EXPECT_EQ(t.sink.boxes[0].text, QStringLiteral(" Fehler Illegal Data Adress"));
        close(w);
        return;
    }
    expectNoBoxes();
    EXPECT_EQ(w->ECoupler[0]->text(), QStringLiteral("192.168.0.10"));

    auto enter = [&](int field, const char *text) {
        w->ECoupler[size_t(field)]->setText(QString::fromLatin1(text));
        QTest::keyClick(w->ECoupler[size_t(field)], Qt::Key_Return);
    };
    enter(0, "10.1.2.3");
    w->TCCoupler->setCurrentIndex(3); // route 2
    enter(0, "172.16.0.0");
    enter(1, "255.255.0.0");
    enter(2, "10.1.2.254");
    enter(3, "7");
    w->BSend->click();
    ASSERT_TRUE(WaitUntil([&] { return !w->WritePara->isActive(); }, 10000));
    expectNoBoxes();
    expectCoupler(0x3000, {0x0A01, 0x0203, 0xFFFF, 0xFF00});
    expectCoupler(0x300B, {0xAC10, 0x0000, 0xFFFF, 0x0000, 0x0A01, 0x02FE, 0x0007});

    close(w);
    w = qobject_cast<TParamEdit *>(doubleClick(1));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->ECoupler[0]->text(), QStringLiteral("0.0.0.0"));
    w->BRead->click();
    ASSERT_TRUE(WaitUntil([&] { return !w->ReadPara->isActive(); }, 10000));
    expectNoBoxes();
    EXPECT_EQ(w->ECoupler[0]->text(), QStringLiteral("10.1.2.3"));
    w->TCCoupler->setCurrentIndex(3);
    EXPECT_EQ(w->ECoupler[0]->text(), QStringLiteral("172.16.0.0"));
    EXPECT_EQ(w->ECoupler[2]->text(), QStringLiteral("10.1.2.254"));
    EXPECT_EQ(w->ECoupler[3]->text(), QStringLiteral("7"));
    close(w);
}

INSTANTIATE_TEST_SUITE_P(Links, EditorsAgainstSimulator, ::testing::Values(SimLink::Tcp, SimLink::Rtu),
                         [](const ::testing::TestParamInfo<SimLink> &info) { return SimLinkName(info.param); });

} // namespace
