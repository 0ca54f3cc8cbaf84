// The unattended start and the restart without any window: the controller's
// wishes go to stand-ins that open the link, answer the configuration read
// and start the cycle engine as the windows would.
#include "process/AutomationController.h"
#include "StationFixture.h"
#include "app/Deklarat.h"
#include "link/Transport.h"
#include "process/CycleEngine.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

using Actions = std::vector<std::string>;

struct Unattended {
    explicit Unattended(QStringList arguments = {})
    {
        d.CommandLine = ParseCommandLine(arguments);
        QObject::connect(&c, &AutomationController::OpenLinkWanted, [this] {
            actions.push_back("open");
            if (linkComes) {
                d.StationFlags |= StationFlag::TcpUp;
                d.TcpConnected = 1;
            }
        });
        QObject::connect(&c, &AutomationController::CloseLinkWanted, [this] {
            actions.push_back("close");
            d.StationFlags &= ~StationFlag::TcpUp;
            d.TcpConnected = 0;
        });
        QObject::connect(&c, &AutomationController::ReadConfigurationWanted, [this] {
            actions.push_back("config");
            if (configAnswers) {
                stationfixture::LoadStation(d.StationConfig, stationfixture::DemoSlots);
                d.StationFlags |= StationFlag::ConfigAnswered;
            }
        });
        QObject::connect(&c, &AutomationController::ReadDmsParametersWanted, [this] { actions.push_back("dms"); });
        QObject::connect(&c, &AutomationController::StartCycleWanted, [this] {
            actions.push_back("cycle");
            engine.start();
        });
        QObject::connect(&c, &AutomationController::OutputBitsSet, [this] { actions.push_back("outputs"); });
        QObject::connect(&c, &AutomationController::CaptionSuffixWanted,
                         [this](const QString &suffix) { actions.push_back("caption" + suffix.toStdString()); });
    }

    // Runs the sequence tick by tick until its timer stays off.
    int runSequence()
    {
        int ticks = 0;
        while (c.TimerAutostart->isActive() && ticks < 100) {
            c.TimerAutostartTimer();
            ++ticks;
        }
        return ticks;
    }

    Deklarat d;
    CycleEngine engine{d};
    AutomationController c{d, engine};
    Actions actions;
    bool linkComes = true;
    bool configAnswers = true;
};

TEST(AutomaticStart, RunsOfTheSequenceWithWhatTheStationDoes)
{
    struct Case {
        const char *name;
        QStringList arguments;
        bool linkComes;
        bool configAnswers;
        Actions actions;
        quint16 lastStep;
        quint8 attempts;
        bool cycling;
    };
    const Case cases[] = {
        {"link and configuration", {"AUTO"}, true, true, {"open", "config", "cycle"}, 50, 0, true},
        {"DMS reads the 32-bit parameters first",
         {"AUTO", "x", "y", "DMS"},
         true,
         true,
         {"open", "config", "dms", "cycle"},
         50,
         0,
         true},
        {"no link after five ticks", {"AUTO"}, false, true, {"open"}, 6, 0, false},
        {"no configuration reply in five attempts",
         {"AUTO"},
         true,
         false,
         {"open", "config", "config", "config", "config", "config"},
         16,
         5,
         false},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        Unattended u(k.arguments);
        u.linkComes = k.linkComes;
        u.configAnswers = k.configAnswers;
        u.c.begin();
        ASSERT_TRUE(u.c.TimerAutostart->isActive());
        EXPECT_EQ(u.c.TimerAutostart->interval(), 1000);
        u.runSequence();
        EXPECT_EQ(u.actions, k.actions);
        EXPECT_EQ(u.d.AutostartStep, k.lastStep);
        EXPECT_EQ(u.d.AutostartConfigAttempts, k.attempts);
        EXPECT_EQ(u.engine.CycleRunning == 1, k.cycling);
        EXPECT_EQ(u.engine.Anfrage->isActive(), k.cycling);
    }
}

TEST(AutomaticStart, NothingWithoutAutoAndNoPipeWithoutServer)
{
    Unattended u({"x"});
    u.c.begin();
    EXPECT_FALSE(u.c.TimerAutostart->isActive());
    EXPECT_EQ(u.c.pipeServer(), nullptr);
    EXPECT_TRUE(u.actions.empty());
}

// A serial port that was open once leaves flag 0x01 set; a port that is
// closed now is no link for the sequence, and the flag stays as it was.
TEST(AutomaticStart, ASerialFlagWithoutAnOpenPortIsNoLink)
{
    Unattended u({"AUTO"});
    Transport link(u.d);
    u.d.Link = &link;
    u.linkComes = false;
    u.d.StationFlags = StationFlag::SerialOpen;
    u.c.begin();
    u.runSequence();
    EXPECT_EQ(u.actions, (Actions{"open"}));
    EXPECT_EQ(u.d.AutostartStep, 6);
    EXPECT_EQ(u.d.StationFlags, StationFlag::SerialOpen);
    u.d.Link = nullptr;
}

TEST(AutomaticRestart, StopsTheCycleDropsTheLinkAndComesBackWithoutASecondConfigurationRead)
{
    Unattended u({"AUTO"});
    u.c.begin();
    u.runSequence();
    ASSERT_EQ(u.engine.CycleRunning, 1);
    u.actions.clear();
    u.d.TransactionId = 9;

    u.c.ApplyPipeRequest(BuildPipeRequest({0, 0, 0x05, 0xA5, 0, 0, 0, 0, 0}, 0x01));
    EXPECT_EQ(u.d.DigOutSlotBytes[3], 0x05);
    EXPECT_EQ(u.d.DigOutSlotBytes[4], 0xA5);
    EXPECT_EQ(u.d.PipeControl, 0x01);
    EXPECT_EQ(u.actions, (Actions{"outputs", "close"}));
    EXPECT_EQ(u.engine.CycleRunning, 0);
    EXPECT_FALSE(u.engine.Anfrage->isActive());
    EXPECT_EQ(u.d.TxFrame[6], u.d.SlaveAddress);
    EXPECT_EQ(u.d.TxFrame[7], 0x2A);
    EXPECT_EQ(u.d.TxLength, 8);
    EXPECT_EQ(u.d.TransactionId, 9);
    EXPECT_EQ(u.d.AutostartStep, 0);
    EXPECT_TRUE(u.c.TimerAutoRestart->isActive());
    EXPECT_EQ(u.c.TimerAutoRestart->interval(), 2000);
    EXPECT_NE(u.c.CurrentPipeResponse()[PipeControlByte] & StationFlag::RestartUnderWay, 0);

    // The link stays away for two runs; the watch starts each given-up run again.
    u.actions.clear();
    u.linkComes = false;
    for (int run = 0; run < 2; ++run) {
        u.c.TimerAutoRestartTimer();
        ASSERT_TRUE(u.c.TimerAutostart->isActive()) << run;
        u.runSequence();
        EXPECT_EQ(u.d.AutostartStep, 6) << run;
        EXPECT_NE(u.d.StationFlags & StationFlag::RestartUnderWay, 0) << run;
    }
    u.linkComes = true;
    u.c.TimerAutoRestartTimer();
    u.c.TimerAutostartTimer();   // step 0: the link opens
    u.c.TimerAutoRestartTimer(); // a run under way: the watch waits
    EXPECT_NE(u.d.StationFlags & StationFlag::RestartUnderWay, 0);
    u.runSequence();
    EXPECT_EQ(u.actions, (Actions{"open", "open", "open", "cycle"}));
    EXPECT_EQ(u.engine.CycleRunning, 1);
    u.c.TimerAutoRestartTimer();
    EXPECT_EQ(u.d.StationFlags & StationFlag::RestartUnderWay, 0);
    EXPECT_FALSE(u.c.TimerAutoRestart->isActive());
}

// Over the serial line nothing is closed; the sequence finds the port open.
TEST(AutomaticRestart, NoCloseWithoutATcpConnection)
{
    Unattended u({"AUTO"});
    u.d.StationFlags = StationFlag::SerialOpen;
    u.d.ReadConfigOnAutostart = 0;
    u.d.StationConfig.ConfigValid = 1;
    u.c.AutoRestart();
    EXPECT_TRUE(u.actions.empty());
    u.c.TimerAutoRestartTimer();
    u.runSequence();
    EXPECT_EQ(u.actions, (Actions{"open", "cycle"}));
}

} // namespace
