#include "Commands.h"

#include "Options.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <vector>

namespace sim
{

std::string commandHelp()
{
    return R"(Commands on standard input (one a line; each is answered by "ok" or
"error: ..."; channels and modules count from 1):
  error WORD                 set the error word (0x1500)
  mask WORD                  set the alarm mask (0x1501)
  status KIND N VALUE        set a status word; KIND is ai (analog input
                             channel), comp (compensation channel), ao (analog
                             output channel) or do (digital output module); N
                             may be "all". Writing 0xFFFF to the error word
                             clears the error word and every status word
  ai N VALUE|free            hold analog input channel N at VALUE, or let it
                             follow its waveform again
  di N 0|1|free              hold digital input channel N, or release it
  loopback on|off            digital inputs follow the outputs, or stay 0
  drop PERCENT               ignore this share of the requests
  delay MS                   answer this much later
  exception FC CODE          answer function code FC with exception CODE;
                             CODE 0 answers it normally again
  split MS                   TCP replies in two segments MS apart (0: one)
  bad-crc on|off             corrupt the CRC of RTU replies
  bad-length on|off          corrupt the MBAP length of TCP replies
  noise N                    N random bytes ahead of every RTU reply
  reset on|off               TCP: half of each reply, then a connection reset
  jitter MS                  a further random delay 0..MS per reply
  exception-share PERCENT    random exception codes for this share
  split-share PERCENT        split only this share of TCP replies
  bad-crc-share PERCENT      corrupt only this share of RTU CRCs
  faults off                 switch every fault off
  show                       print slots, counts, images, errors and faults
  help                       print this list
)";
}

namespace
{

std::vector<std::string_view> words(std::string_view line)
{
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        size_t j = i;
        while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r')
            ++j;
        if (j > i)
            out.push_back(line.substr(i, j - i));
        i = j;
    }
    return out;
}

std::optional<bool> onOff(std::string_view w)
{
    if (w == "on")
        return true;
    if (w == "off")
        return false;
    return std::nullopt;
}

std::optional<long long> numberIn(std::string_view w, long long low, long long high)
{
    const auto v = parseNumber(w);
    if (!v || *v < low || *v > high)
        return std::nullopt;
    return v;
}

std::string hex(uint16_t v)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", v);
    return buf;
}

std::string joinHex(const std::vector<uint16_t> &values)
{
    std::string s;
    for (uint16_t v : values)
        s += (s.empty() ? "" : " ") + hex(v);
    return s.empty() ? "-" : s;
}

const std::string Ok = "ok\n";

std::string failure(const std::string &why)
{
    return "error: " + why + "\n";
}

} // namespace

std::string CommandInterpreter::show(double seconds) const
{
    const StationLayout &l = station_.layout();
    std::ostringstream out;
    out << "slots";
    for (uint16_t id : l.slots)
        out << ' ' << id;
    out << "\ncounts ai16 " << l.anaInCount << " ai32 " << l.anaIn32Count << " ao " << l.anaOutCount << " di "
        << l.digInCount << " do " << l.digOutCount << "\n";
    out << "outputs " << joinHex(station_.outputs()) << "\n";
    out << "inputs " << joinHex(station_.inputImage(seconds)) << "\n";
    out << "error word " << hex(station_.errorWord) << " alarm mask " << hex(station_.alarmMask) << " loopback "
        << (station_.loopback ? "on" : "off") << "\n";
    out << "status ai " << joinHex(station_.anaInStatus) << " comp " << joinHex(station_.compStatus) << " ao "
        << joinHex(station_.anaOutStatus) << " do " << joinHex(station_.digOutStatus) << "\n";
    out << "faults drop " << faults_.dropPercent << " delay " << faults_.delayMs << " split " << faults_.splitMs
        << " bad-crc " << (faults_.badCrc ? "on" : "off") << " bad-length " << (faults_.badLength ? "on" : "off")
        << " noise " << faults_.noiseBytes << " jitter " << faults_.jitterMs << " exception-share "
        << faults_.exceptionPercent << " split-share " << faults_.splitPercent << " bad-crc-share "
        << faults_.badCrcPercent << " reset " << (faults_.resetMidReply ? "on" : "off");
    for (auto [function, code] : faults_.exceptions)
        out << " exception " << int(function) << ":" << int(code);
    out << "\n";
    out << "requests";
    for (auto [function, count] : station_.requestCounts)
        out << ' ' << int(function) << ':' << count;
    out << "\n";
    return out.str();
}

std::string CommandInterpreter::execute(std::string_view line, double seconds)
{
    const auto w = words(line);
    if (w.empty())
        return Ok;
    const std::string_view cmd = w[0];
    const size_t argc = w.size() - 1;
    const StationLayout &l = station_.layout();

    if (cmd == "help" && argc == 0)
        return commandHelp() + Ok;
    if (cmd == "show" && argc == 0)
        return show(seconds) + Ok;

    if (cmd == "error" && argc == 1) {
        const auto v = numberIn(w[1], 0, 0xFFFF);
        if (!v)
            return failure("error word must be 0..0xFFFF");
        station_.errorWord = static_cast<uint16_t>(*v);
        return Ok;
    }
    if (cmd == "mask" && argc == 1) {
        const auto v = numberIn(w[1], 0, 0xFFFF);
        if (!v)
            return failure("alarm mask must be 0..0xFFFF");
        station_.alarmMask = static_cast<uint16_t>(*v);
        return Ok;
    }
    if (cmd == "status" && argc == 3) {
        std::vector<uint16_t> *block = nullptr;
        if (w[1] == "ai")
            block = &station_.anaInStatus;
        if (w[1] == "comp")
            block = &station_.compStatus;
        if (w[1] == "ao")
            block = &station_.anaOutStatus;
        if (w[1] == "do")
            block = &station_.digOutStatus;
        if (!block)
            return failure("status kind must be ai, comp, ao or do");
        const bool all = w[2] == "all";
        const auto n = numberIn(w[2], 1, static_cast<long long>(block->size()));
        if (!all && !n)
            return failure("this station has " + std::to_string(block->size()) + " of those");
        const auto v = numberIn(w[3], 0, 0xFFFF);
        if (!v)
            return failure("status must be 0..0xFFFF");
        if (all)
            std::fill(block->begin(), block->end(), static_cast<uint16_t>(*v));
        else
            (*block)[*n - 1] = static_cast<uint16_t>(*v);
        return Ok;
    }
    if (cmd == "ai" && argc == 2) {
        const auto n = numberIn(w[1], 1, l.analogInputChannels());
        if (!n)
            return failure("no such analog input channel");
        if (w[2] == "free") {
            station_.forceAnalogInput(static_cast<int>(*n - 1), std::nullopt);
            return Ok;
        }
        const bool is32 = l.anaInIs32[*n - 1];
        const auto v = is32 ? numberIn(w[2], INT32_MIN, INT32_MAX) : numberIn(w[2], -32768, 65535);
        if (!v)
            return failure("value out of range for this channel");
        // A 16-bit channel keeps the register's bit pattern, signed or not.
        const int32_t value = is32 ? static_cast<int32_t>(*v) : static_cast<int16_t>(*v);
        station_.forceAnalogInput(static_cast<int>(*n - 1), value);
        return Ok;
    }
    if (cmd == "di" && argc == 2) {
        const auto n = numberIn(w[1], 1, l.digInCount);
        if (!n)
            return failure("no such digital input channel");
        std::optional<bool> value;
        if (w[2] == "1")
            value = true;
        else if (w[2] == "0")
            value = false;
        else if (w[2] != "free")
            return failure("value must be 0, 1 or free");
        station_.forceDigitalInput(static_cast<int>(*n - 1), value);
        return Ok;
    }
    if (cmd == "loopback" && argc == 1) {
        const auto on = onOff(w[1]);
        if (!on)
            return failure("say on or off");
        station_.loopback = *on;
        return Ok;
    }
    if ((cmd == "bad-crc" || cmd == "bad-length" || cmd == "reset") && argc == 1) {
        const auto on = onOff(w[1]);
        if (!on)
            return failure("say on or off");
        (cmd == "bad-crc" ? faults_.badCrc : cmd == "reset" ? faults_.resetMidReply : faults_.badLength) = *on;
        return Ok;
    }
    struct Setting {
        std::string_view name;
        int *field;
        long long high;
    };
    const Setting settings[] = {
        {"drop", &faults_.dropPercent, 100},         {"delay", &faults_.delayMs, 600000},
        {"split", &faults_.splitMs, 600000},         {"noise", &faults_.noiseBytes, 200},
        {"jitter", &faults_.jitterMs, 600000},       {"exception-share", &faults_.exceptionPercent, 100},
        {"split-share", &faults_.splitPercent, 100}, {"bad-crc-share", &faults_.badCrcPercent, 100}};
    for (const Setting &s : settings) {
        if (cmd != s.name || argc != 1)
            continue;
        const auto v = numberIn(w[1], 0, s.high);
        if (!v)
            return failure(std::string(s.name) + " must be 0.." + std::to_string(s.high));
        *s.field = static_cast<int>(*v);
        return Ok;
    }
    if (cmd == "exception" && argc == 2) {
        const auto function = numberIn(w[1], 1, 127);
        const auto code = numberIn(w[2], 0, 255);
        if (!function || !code)
            return failure("say exception FC CODE");
        if (*code == 0)
            faults_.exceptions.erase(static_cast<uint8_t>(*function));
        else
            faults_.exceptions[static_cast<uint8_t>(*function)] = static_cast<uint8_t>(*code);
        return Ok;
    }
    if (cmd == "faults" && argc == 1 && w[1] == "off") {
        faults_.clear();
        return Ok;
    }
    return failure("unknown command '" + std::string(line) + "' (try help)");
}

} // namespace sim
