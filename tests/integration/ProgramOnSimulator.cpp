#include "ProgramOnSimulator.h"

#include "Wait.h"
#include "app/IniFile.h"
#include "link/TSIOTransfer.h"

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
    const std::string show = sim->command("show");
    size_t at = 0;
    while (at < show.size()) {
        const size_t end = show.find('\n', at);
        const std::string line = show.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (line.rfind(start, 0) == 0)
            return line;
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    return {};
}
