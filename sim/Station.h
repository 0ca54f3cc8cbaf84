#pragma once

#include "StationLayout.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sim
{

enum class Link { Tcp, Rtu };

struct Identity {
    std::string manufacturer = "VO Simulation";
    std::string product = "VO3112";
    std::string version = "1.00";
};

// What the coupler holds: outputs, live inputs, diagnostics, parameters and
// communication settings. Register addressing lives in RegisterMap.
class Station
{
public:
    Station(StationLayout layout, Identity identity);

    const StationLayout &layout() const { return layout_; }
    const Identity &identity() const { return identity_; }

    // Output image as written at 0x0900: analog outputs, then the digital
    // output bytes two to a register, the even byte high.
    std::vector<uint16_t> &outputs() { return outputs_; }
    const std::vector<uint16_t> &outputs() const { return outputs_; }

    // Input image as read at 0x0100 at `seconds` since start.
    std::vector<uint16_t> inputImage(double seconds) const;

    int32_t analogInput(int channel, double seconds) const;
    bool digitalInput(int channel) const;
    bool digitalOutput(int channel) const;
    void forceAnalogInput(int channel, std::optional<int32_t> value);
    void forceDigitalInput(int channel, std::optional<bool> value);
    bool loopback = true;

    uint16_t errorWord = 0;
    // Requests received per function code, for `show` (tests watch them).
    std::map<uint8_t, uint64_t> requestCounts;
    uint16_t alarmMask = 0;
    std::vector<uint16_t> anaInStatus;  // per analog input channel
    std::vector<uint16_t> compStatus;   // per compensation channel
    std::vector<uint16_t> anaOutStatus; // per analog output channel
    std::vector<uint16_t> digOutStatus; // per digital output module
    void resetErrors();

    std::vector<uint16_t> anaInParams;
    std::vector<uint16_t> anaIn32Params;
    std::vector<uint16_t> anaOutParams;
    std::vector<uint16_t> digOutParams;
    std::vector<uint16_t> digInParams;

    // Ethernet: address, mask and five routes; serial: one time value.
    std::vector<uint16_t> networkBlock;
    uint16_t serialTime = 0;
    void resetCommunication(Link link);

    // What a restart leaves behind: every output off.
    void restart();

private:
    StationLayout layout_;
    Identity identity_;
    std::vector<uint16_t> outputs_;
    std::vector<std::optional<int32_t>> forcedAnalog_;
    std::vector<std::optional<bool>> forcedDigital_;
};

constexpr int NetworkBlockSize = 39;
constexpr uint16_t DefaultSerialTime = 20;
std::vector<uint16_t> defaultNetworkBlock();

} // namespace sim
