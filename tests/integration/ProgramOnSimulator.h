#pragma once
// The whole program connected to a running simulator, over loopback TCP or a
// socat pty pair, through the interface window as a user would open the link.
#include "SimHarness.h"
#include "TestStation.h"

#include <memory>
#include <string>
#include <vector>

enum class SimLink { Tcp, Rtu };

std::string SimLinkName(SimLink link);

struct ProgramOnSimulator {
    // `extra`: further simulator options (--slots ...).
    explicit ProgramOnSimulator(SimLink link, const std::vector<std::string> &extra = {});

    // True when the simulator runs and the program's link is open.
    bool ready() const { return ready_; }
    // The simulator's "show" line that starts with `start`.
    std::string simLine(const std::string &start);
    // Requests of one function code the simulator has answered so far.
    long requestsOf(int function);

    SimLink link;
    std::unique_ptr<simtest::PtyPair> pty;
    std::unique_ptr<simtest::SimProcess> sim;
    TestStation t;
    ProgramState &d = t.d;

private:
    bool openLink();
    bool ready_ = false;
};
