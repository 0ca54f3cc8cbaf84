#pragma once
// A simulator with a station of its own for vo3112ctl to talk to, over
// loopback TCP or a socat pty pair, and what the simulator says it holds.
#include "SimHarness.h"

#include <QStringList>
#include <memory>
#include <string>
#include <vector>

enum class CtlLink { Tcp, Rtu };

struct CtlStation {
    // `extra`: further simulator options (--unit, --exception, ...).
    explicit CtlStation(CtlLink link, const std::vector<std::string> &extra = {});

    bool ready() const { return sim && sim->ready(); }
    // The link options of vo3112ctl for this simulator.
    QStringList linkOptions() const;
    // "ok" for a command of the simulator's standard input.
    bool command(const std::string &line);
    // Numbers of the simulator's "show" line that starts with `start`.
    std::vector<long> numbersOf(const std::string &start);

    CtlLink link;
    std::unique_ptr<simtest::PtyPair> pty;
    std::unique_ptr<simtest::SimProcess> sim;
};

// The station every test starts the simulator with.
constexpr const char *TestSlots = "1,2,4,8,10,14,5,0,7";
constexpr const char *TestIdentity = "Test Works,VO3112-T,2.07";
