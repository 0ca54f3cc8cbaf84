#include "ProgramOnSimulator.h"

#include "Wait.h"
#include "app/IniFile.h"
#include "link/TSIOTransfer.h"

#include <sstream>

std::string SimLinkName(SimLink link)
{
    return link == SimLink::Tcp ? "Tcp" : "Rtu";
}

ProgramOnSimulator::ProgramOnSimulator(SimLink link, const std::vector<std::string> &extra) : link(link)
{
    std::vector<std::string> args;
    if (link == SimLink::Rtu) {
        pty = std::make_unique<simtest::PtyPair>();
        if (!pty->ready())
            return;
        args = {"--rtu", pty->simSide()};
    } else {
        args = {"--tcp", "127.0.0.1:0"};
    }
    args.insert(args.end(), extra.begin(), extra.end());
    sim = std::make_unique<simtest::SimProcess>(args);
    ready_ = sim->ready() && openLink();
}

bool ProgramOnSimulator::openLink()
{
    TSIOTransfer &io = *d.SIOTransfer;
    io.CBoShowMessage->setChecked(false); // no "connected" box
    if (link == SimLink::Tcp) {
        io.CBoEthernet->setChecked(true);
        io.CBoEthernetClick();
        io.CBAdresse->setEditText(QStringLiteral("127.0.0.1"));
        io.SEPort->setValue(sim->port());
        io.OKClick();
        return WaitUntil([&] { return io.Link->tcpOpen(); }) && t.sink.boxes.empty();
    }
    IniFile ini(d.SettingsPath);
    ini.writeString(QStringLiteral("Schnittstelle"), QStringLiteral("ComDevice1"),
                    QString::fromStdString(pty->masterSide()));
    if (!ini.save())
        return false;
    io.CBoEthernet->setChecked(false);
    io.CBoEthernetClick();
    io.CoBoCom->setCurrentIndex(0);   // COM 1
    io.CoBoBaud->setCurrentIndex(6);  // 38400, as the simulator
    io.CoBoFrame->setCurrentIndex(3); // no parity, 1 stop bit
    io.OKClick();
    return io.Link->SerialPort->isOpen() && t.sink.boxes.empty();
}

std::string ProgramOnSimulator::simLine(const std::string &start)
{
    std::istringstream in(sim->command("show"));
    for (std::string line; std::getline(in, line);)
        if (line.rfind(start, 0) == 0)
            return line;
    return {};
}

long ProgramOnSimulator::requestsOf(int function)
{
    std::istringstream in(simLine("requests"));
    const std::string key = std::to_string(function) + ":";
    for (std::string word; in >> word;)
        if (word.rfind(key, 0) == 0)
            return std::stol(word.substr(key.size()));
    return 0;
}
