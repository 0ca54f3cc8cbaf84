#include "Options.h"

#include "Commands.h"

#include <charconv>

namespace sim
{

std::optional<long long> parseNumber(std::string_view text)
{
    int base = 10;
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return negative ? -value : value;
}

namespace
{

std::vector<std::string_view> splitCommas(std::string_view text)
{
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos)
            return parts;
        start = comma + 1;
    }
}

bool inRange(std::optional<long long> v, long long low, long long high)
{
    return v && *v >= low && *v <= high;
}

bool parseEndpoint(std::string_view text, Options &o)
{
    const size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon == 0)
        return false;
    const auto port = parseNumber(text.substr(colon + 1));
    if (!inRange(port, 0, 65535))
        return false;
    o.tcpAddress = std::string(text.substr(0, colon));
    o.tcpPort = static_cast<uint16_t>(*port);
    return true;
}

bool parseSlots(std::string_view text, SlotIds &slots)
{
    slots.fill(0);
    if (text.empty())
        return true;
    const auto parts = splitCommas(text);
    if (parts.size() > slots.size())
        return false;
    for (size_t i = 0; i < parts.size(); ++i) {
        const auto id = parseNumber(parts[i]);
        if (!inRange(id, 0, 0xFFFF))
            return false;
        slots[i] = static_cast<uint16_t>(*id);
    }
    return true;
}

bool parseIdentity(std::string_view text, Identity &identity)
{
    const auto parts = splitCommas(text);
    // Each text must fit its length byte and the version must not be empty:
    // the tool always reads at least one character of it.
    if (parts.size() != 3 || parts[2].empty())
        return false;
    for (auto p : parts)
        if (p.size() > 60)
            return false;
    identity = {std::string(parts[0]), std::string(parts[1]), std::string(parts[2])};
    return true;
}

bool parseException(std::string_view text, Faults &faults)
{
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return false;
    const auto function = parseNumber(text.substr(0, colon));
    const auto code = parseNumber(text.substr(colon + 1));
    if (!inRange(function, 1, 127) || !inRange(code, 1, 255))
        return false;
    faults.exceptions[static_cast<uint8_t>(*function)] = static_cast<uint8_t>(*code);
    return true;
}

} // namespace

std::optional<Options> parseOptions(const std::vector<std::string_view> &args, std::string &error)
{
    Options o;
    bool tcpGiven = false;
    std::optional<std::string> rtuDevice;
    SerialSettings serial;

    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view name = args[i];
        auto flag = [&](std::string_view n) { return name == n; };
        // Options with a value take it from the next argument.
        std::string_view value;
        auto takeValue = [&]() {
            if (i + 1 >= args.size())
                return false;
            value = args[++i];
            return true;
        };
        auto number = [&](long long low, long long high, long long &out) {
            if (!takeValue())
                return false;
            const auto v = parseNumber(value);
            if (!inRange(v, low, high))
                return false;
            out = *v;
            return true;
        };
        long long n = 0;
        bool ok = true;
        if (flag("--help") || flag("-h")) {
            o.help = true;
        } else if (flag("--tcp")) {
            ok = takeValue() && parseEndpoint(value, o);
            tcpGiven = true;
        } else if (flag("--rtu")) {
            ok = takeValue() && !value.empty();
            if (ok)
                rtuDevice = std::string(value);
        } else if (flag("--baud")) {
            ok = number(50, 4000000, n);
            serial.baud = static_cast<int>(n);
        } else if (flag("--frame")) {
            ok = number(1, 4, n);
            serial.frame = static_cast<int>(n);
        } else if (flag("--unit")) {
            ok = number(1, 247, n);
            o.unit = static_cast<uint8_t>(n);
        } else if (flag("--slots")) {
            ok = takeValue() && parseSlots(value, o.slots);
        } else if (flag("--identity")) {
            ok = takeValue() && parseIdentity(value, o.identity);
        } else if (flag("--seed")) {
            ok = number(0, 0xFFFFFFFFLL, n);
            o.seed = static_cast<uint32_t>(n);
        } else if (flag("--restart-ms")) {
            ok = number(0, 600000, n);
            o.restartMs = static_cast<int>(n);
        } else if (flag("--no-loopback")) {
            o.loopback = false;
        } else if (flag("--no-stdin")) {
            o.readStdin = false;
        } else if (flag("--drop")) {
            ok = number(0, 100, n);
            o.faults.dropPercent = static_cast<int>(n);
        } else if (flag("--delay")) {
            ok = number(0, 600000, n);
            o.faults.delayMs = static_cast<int>(n);
        } else if (flag("--exception")) {
            ok = takeValue() && parseException(value, o.faults);
        } else if (flag("--split")) {
            ok = number(0, 600000, n);
            o.faults.splitMs = static_cast<int>(n);
        } else if (flag("--bad-crc")) {
            o.faults.badCrc = true;
        } else if (flag("--bad-length")) {
            o.faults.badLength = true;
        } else if (flag("--reset-mid-reply")) {
            o.faults.resetMidReply = true;
        } else if (flag("--jitter")) {
            ok = number(0, 600000, n);
            o.faults.jitterMs = static_cast<int>(n);
        } else if (flag("--exception-share")) {
            ok = number(0, 100, n);
            o.faults.exceptionPercent = static_cast<int>(n);
        } else if (flag("--split-share")) {
            ok = number(0, 100, n);
            o.faults.splitPercent = static_cast<int>(n);
        } else if (flag("--bad-crc-share")) {
            ok = number(0, 100, n);
            o.faults.badCrc = true;
            o.faults.badCrcPercent = static_cast<int>(n);
        } else if (flag("--noise")) {
            ok = number(0, 200, n);
            o.faults.noiseBytes = static_cast<int>(n);
        } else {
            error = "unknown option " + std::string(name);
            return std::nullopt;
        }
        if (!ok) {
            error = "bad or missing value for " + std::string(name);
            return std::nullopt;
        }
    }

    if (rtuDevice) {
        serial.device = *rtuDevice;
        o.rtu = serial;
    }
    // TCP is served unless only the serial line was asked for.
    if (!tcpGiven && !o.rtu)
        o.tcpAddress = "127.0.0.1";
    return o;
}

std::string usageText()
{
    return R"(Usage: vo3112sim [options]

Stands in for a VO3112 bus coupler with its modules: a Modbus/TCP server
and/or a Modbus RTU slave. Prints one line "listening on ..." when ready and
runs until SIGINT/SIGTERM or the end of its standard input.

Links:
  --tcp ADDR:PORT        serve Modbus/TCP (default 127.0.0.1:1502; port 0 picks
                         a free one, shown in the "listening on" line). Served
                         by default unless --rtu is given alone.
  --rtu DEVICE           serve Modbus RTU on a serial device (or pty)
  --baud N               baud rate of the serial line (default 38400)
  --frame K              1 no parity/2 stop bits, 2 even/1, 3 odd/1,
                         4 no parity/1 (default 4); always 8 data bits
  --unit N               unit identifier / slave address, 1..247 (default 8);
                         over RTU, address 0 is taken as broadcast (writes
                         are carried out, nothing is answered)

Station:
  --slots a,b,...        module ids of slots 1..9, missing ones empty (0);
                         decimal or 0x hex (default 2,6,7,1,4,10,14,5,0: digital
                         in 4 and 8, digital out 4 and 8, analog in 4 x 16 bit,
                         strain gauge, thermocouple, analog out)
  --identity M,P,V       manufacturer, product and version texts
                         (default "VO Simulation,VO3112,1.00")
  --no-loopback          hold the digital inputs at 0 instead of following
                         the digital outputs bit for bit
  --restart-ms N         time the coupler is away after a restart command
                         (function code 42), default 500
  --seed N               seed of the random choices (dropped requests, noise
                         bytes, the shares below), default 1
  --no-stdin             ignore standard input (for running in the background)

Faults:
  --drop PERCENT         ignore this share of the requests
  --delay MS             answer this much later
  --exception FC:CODE    answer function code FC with exception CODE (may be
                         given several times)
  --split MS             send TCP replies in two segments, MS apart
  --bad-crc              corrupt the CRC of every RTU reply
  --bad-length           make the MBAP length field of every TCP reply one
                         too high
  --noise N              send N random bytes ahead of every RTU reply, set off
                         by a silence of at least 3.5 characters on each side
  --reset-mid-reply      TCP: send half of each reply, then reset the
                         connection
  --jitter MS            delay each reply by a further random 0..MS
  --exception-share P    answer P % of the requests with a random exception
                         code 1..11
  --split-share P        split only P % of the TCP replies (with --split)
  --bad-crc-share P      corrupt the CRC of P % of the RTU replies

Register map (function codes 3 and 4 read, 6 and 16 write, 23 both):
  0x0100   inputs: analog channels in slot order (32-bit ones two registers,
           most significant first), then digital bytes, high byte first
  0x0900   outputs: analog channels, then digital bytes, high byte first
  0x1000   14 registers: counts of analog in 16/32 bit, analog out, digital
           in, digital out, then the module ids of slots 1..9
  0x1500   error word (writing 0xFFFF resets all errors); 0x1501 alarm mask
  0x1510 / 0x1530 / 0x1550 / 0x1570  status of analog input channels,
           compensation channels, analog output channels, digital output
           modules
  0x2000 / 0x2200 / 0x2400 / 0x2600 / 0x2800  parameters of analog inputs,
           32-bit inputs, analog outputs, digital outputs, digital inputs
  0x3000   TCP: network block of 39 registers; RTU: one time register
  0x3027   writing 0xFFFF resets the communication settings
  43/14    device identification; 42 restart (no reply, TCP connections
           dropped, outputs to 0). Other function codes: exception 1;
           addresses outside the map: exception 2; bad quantities: 3.

)" + commandHelp();
}

} // namespace sim
