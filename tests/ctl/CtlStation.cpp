#include "CtlStation.h"

#include <sstream>

CtlStation::CtlStation(CtlLink link, const std::vector<std::string> &extra) : link(link)
{
    std::vector<std::string> args = {"--slots", TestSlots, "--identity", TestIdentity};
    if (link == CtlLink::Rtu) {
        pty = std::make_unique<simtest::PtyPair>();
        if (!pty->ready())
            return;
        args.insert(args.end(), {"--rtu", pty->simSide()});
    } else {
        args.insert(args.end(), {"--tcp", "127.0.0.1:0"});
    }
    args.insert(args.end(), extra.begin(), extra.end());
    sim = std::make_unique<simtest::SimProcess>(args);
}

QStringList CtlStation::linkOptions() const
{
    if (link == CtlLink::Tcp)
        return {QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(sim->port())};
    return {QStringLiteral("--serial"), QString::fromStdString(pty->masterSide())};
}

bool CtlStation::command(const std::string &line)
{
    return sim->command(line) == "ok\n";
}

std::vector<long> CtlStation::numbersOf(const std::string &start)
{
    std::istringstream in(sim->command("show"));
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(start, 0) != 0)
            continue;
        std::vector<long> numbers;
        std::istringstream words(line.substr(start.size()));
        for (std::string word; words >> word;)
            if (!word.empty() && std::isdigit(static_cast<unsigned char>(word[0])))
                numbers.push_back(std::stol(word));
        return numbers;
    }
    return {};
}
