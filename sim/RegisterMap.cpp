#include "RegisterMap.h"

#include <algorithm>

namespace sim
{

namespace
{

Area plainArea(std::string name, uint16_t start, std::vector<uint16_t> &regs, bool writable)
{
    Area a;
    a.name = std::move(name);
    a.start = start;
    a.size = static_cast<uint16_t>(regs.size());
    a.read = [&regs](uint16_t offset, std::span<uint16_t> out) {
        std::copy_n(regs.begin() + offset, out.size(), out.begin());
    };
    if (writable)
        a.write = [&regs](uint16_t offset, std::span<const uint16_t> values) {
            std::copy(values.begin(), values.end(), regs.begin() + offset);
        };
    return a;
}

Area singleArea(std::string name, uint16_t start, uint16_t &reg)
{
    Area a;
    a.name = std::move(name);
    a.start = start;
    a.size = 1;
    a.read = [&reg](uint16_t, std::span<uint16_t> out) { out[0] = reg; };
    a.write = [&reg](uint16_t, std::span<const uint16_t> values) { reg = values[0]; };
    return a;
}

// A command register: reads as 0, takes only 0xFFFF, which runs `action`.
Area commandArea(std::string name, uint16_t start, std::function<void()> action)
{
    Area a;
    a.name = std::move(name);
    a.start = start;
    a.size = 1;
    a.read = [](uint16_t, std::span<uint16_t> out) { out[0] = 0; };
    a.accepts = [](uint16_t, uint16_t value) { return value == 0xFFFF; };
    a.write = [action = std::move(action)](uint16_t, std::span<const uint16_t>) { action(); };
    return a;
}

} // namespace

RegisterMap::RegisterMap(Station &station, Link link, double seconds)
{
    const StationLayout &l = station.layout();

    Area inputs;
    inputs.name = "inputs";
    inputs.start = 0x0100;
    inputs.size = static_cast<uint16_t>(l.inputRegisters());
    inputs.read = [&station, seconds](uint16_t offset, std::span<uint16_t> out) {
        const std::vector<uint16_t> image = station.inputImage(seconds);
        std::copy_n(image.begin() + offset, out.size(), out.begin());
    };
    areas_.push_back(std::move(inputs));
    areas_.push_back(plainArea("outputs", 0x0900, station.outputs(), true));

    Area slotList;
    slotList.name = "slot list";
    slotList.start = 0x1000;
    slotList.size = 14;
    slotList.read = [&l](uint16_t offset, std::span<uint16_t> out) {
        uint16_t regs[14] = {l.anaInCount, l.anaIn32Count, l.anaOutCount, l.digInCount, l.digOutCount};
        std::copy(l.slots.begin(), l.slots.end(), regs + 5);
        std::copy_n(regs + offset, out.size(), out.begin());
    };
    areas_.push_back(std::move(slotList));

    // Error word and alarm mask: writing 0xFFFF to the error word resets
    // every error of the station; no other value means anything there.
    Area diag;
    diag.name = "error word";
    diag.start = 0x1500;
    diag.size = 2;
    diag.read = [&station](uint16_t offset, std::span<uint16_t> out) {
        const uint16_t regs[2] = {station.errorWord, station.alarmMask};
        std::copy_n(regs + offset, out.size(), out.begin());
    };
    diag.accepts = [](uint16_t offset, uint16_t value) { return offset != 0 || value == 0xFFFF; };
    diag.write = [&station](uint16_t offset, std::span<const uint16_t> values) {
        for (size_t i = 0; i < values.size(); ++i) {
            if (offset + i == 0)
                station.resetErrors();
            else
                station.alarmMask = values[i];
        }
    };
    areas_.push_back(std::move(diag));

    areas_.push_back(plainArea("analog input status", 0x1510, station.anaInStatus, false));
    areas_.push_back(plainArea("compensation status", 0x1530, station.compStatus, false));
    areas_.push_back(plainArea("analog output status", 0x1550, station.anaOutStatus, false));
    areas_.push_back(plainArea("digital output status", 0x1570, station.digOutStatus, false));

    areas_.push_back(plainArea("analog input parameters", 0x2000, station.anaInParams, true));
    areas_.push_back(plainArea("32-bit input parameters", 0x2200, station.anaIn32Params, true));
    areas_.push_back(plainArea("analog output parameters", 0x2400, station.anaOutParams, true));
    areas_.push_back(plainArea("digital output parameters", 0x2600, station.digOutParams, true));
    areas_.push_back(plainArea("digital input parameters", 0x2800, station.digInParams, true));

    if (link == Link::Tcp)
        areas_.push_back(plainArea("network block", 0x3000, station.networkBlock, true));
    else
        areas_.push_back(singleArea("serial time", 0x3000, station.serialTime));
    areas_.push_back(
        commandArea("communication reset", 0x3027, [&station, link] { station.resetCommunication(link); }));
}

const Area *RegisterMap::find(uint16_t address, uint16_t quantity) const
{
    for (const Area &a : areas_) {
        if (address >= a.start && address + quantity <= a.start + a.size)
            return &a;
    }
    return nullptr;
}

uint8_t RegisterMap::checkRead(uint16_t address, uint16_t quantity) const
{
    return quantity == 0 || find(address, quantity) ? NoException : IllegalDataAddress;
}

uint8_t RegisterMap::checkWrite(uint16_t address, std::span<const uint16_t> values) const
{
    if (values.empty())
        return NoException;
    const Area *a = find(address, static_cast<uint16_t>(values.size()));
    if (!a || !a->write)
        return IllegalDataAddress;
    if (a->accepts) {
        for (size_t i = 0; i < values.size(); ++i)
            if (!a->accepts(static_cast<uint16_t>(address - a->start + i), values[i]))
                return IllegalDataValue;
    }
    return NoException;
}

std::vector<uint16_t> RegisterMap::read(uint16_t address, uint16_t quantity) const
{
    std::vector<uint16_t> out(quantity, 0);
    if (quantity == 0)
        return out;
    const Area *a = find(address, quantity);
    a->read(static_cast<uint16_t>(address - a->start), out);
    return out;
}

void RegisterMap::write(uint16_t address, std::span<const uint16_t> values)
{
    if (values.empty())
        return;
    const Area *a = find(address, static_cast<uint16_t>(values.size()));
    a->write(static_cast<uint16_t>(address - a->start), values);
}

} // namespace sim
