#pragma once

#include "Faults.h"
#include "Station.h"

#include <string>
#include <string_view>

namespace sim
{

// The command set read from standard input while the simulator runs.
std::string commandHelp();

class CommandInterpreter
{
public:
    CommandInterpreter(Station &station, Faults &faults) : station_(station), faults_(faults) {}

    // Runs one line. The answer's last line is "ok" or "error: ...", so a
    // script can wait for it before it goes on.
    std::string execute(std::string_view line, double seconds);

private:
    std::string show(double seconds) const;

    Station &station_;
    Faults &faults_;
};

} // namespace sim
