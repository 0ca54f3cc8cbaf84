// vo3112sim: a VO3112 bus coupler with its modules, for tests and for trying
// the tool without a station.
#include "Options.h"
#include "Server.h"
#include "Station.h"
#include "StationLayout.h"

#include <csignal>
#include <cstdio>

int main(int argc, char **argv)
{
    std::vector<std::string_view> args(argv + 1, argv + argc);
    std::string error;
    const auto options = sim::parseOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "vo3112sim: %s (see --help)\n", error.c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(sim::usageText().c_str(), stdout);
        return 0;
    }
    std::signal(SIGPIPE, SIG_IGN);

    sim::Station station(sim::deriveLayout(options->slots), options->identity);
    station.loopback = options->loopback;
    sim::Faults faults = options->faults;
    sim::Server server(*options, station, faults);
    if (!server.open(error)) {
        std::fprintf(stderr, "vo3112sim: %s\n", error.c_str());
        return 1;
    }
    return server.run();
}
