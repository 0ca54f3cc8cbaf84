#pragma once

#include "Faults.h"
#include "Station.h"
#include "StationLayout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim
{

struct SerialSettings {
    std::string device;
    int baud = 38400;
    int frame = 4; // the tool's list: 1 N/2, 2 E/1, 3 O/1, 4 N/1
};

struct Options {
    bool help = false;
    std::optional<std::string> tcpAddress; // set when TCP is served
    uint16_t tcpPort = 1502;
    std::optional<SerialSettings> rtu;
    uint8_t unit = 8;
    SlotIds slots = demoSlots();
    Identity identity;
    uint32_t seed = 1;
    int restartMs = 500;
    bool loopback = true;
    bool readStdin = true;
    Faults faults;
};

// Parses the command line (without the program name). On failure returns
// nothing and puts the reason into `error`.
std::optional<Options> parseOptions(const std::vector<std::string_view> &args, std::string &error);

// Number as the options and commands take it: decimal or "0x" hexadecimal.
std::optional<long long> parseNumber(std::string_view text);

std::string usageText();

} // namespace sim
