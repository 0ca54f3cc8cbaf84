#include "Station.h"

#include "Waveform.h"

#include <algorithm>

namespace sim
{

namespace
{

// The status blocks sit 0x20 registers apart.
constexpr int StatusBlockLimit = 0x20;

int capped(int n)
{
    return std::min(n, StatusBlockLimit);
}

} // namespace

std::vector<uint16_t> defaultNetworkBlock()
{
    std::vector<uint16_t> block(NetworkBlockSize, 0);
    block[0] = 0xC0A8; // 192.168.0.10
    block[1] = 0x000A;
    block[2] = 0xFFFF; // 255.255.255.0
    block[3] = 0xFF00;
    return block;
}

Station::Station(StationLayout layout, Identity identity)
    : layout_(std::move(layout)), identity_(std::move(identity)), outputs_(layout_.outputRegisters(), 0),
      forcedAnalog_(layout_.analogInputChannels()), forcedDigital_(layout_.digInCount)
{
    anaInStatus.assign(capped(layout_.analogInputChannels()), 0);
    compStatus.assign(capped(layout_.tempChannelCount), 0);
    anaOutStatus.assign(capped(layout_.anaOutCount), 0);
    digOutStatus.assign(capped(layout_.digOutModuleCount), 0);
    // Sized for the largest block any parameter window asks of this station.
    anaInParams.assign(6 * layout_.analogInputChannels(), 0);
    anaIn32Params.assign(8 * layout_.anaIn32Count, 0);
    anaOutParams.assign(layout_.anaOutCount, 0);
    digOutParams.assign(4 * layout_.digOutModuleCount, 0);
    digInParams.assign(layout_.digInModuleCount, 0);
    networkBlock = defaultNetworkBlock();
    serialTime = DefaultSerialTime;
}

bool Station::digitalOutput(int channel) const
{
    if (channel < 0 || channel >= layout_.digOutCount)
        return false;
    const uint16_t reg = outputs_[layout_.anaOutCount + channel / 16];
    const int byte = (channel / 8) % 2; // even byte is the high one
    const int bit = channel % 8 + (byte == 0 ? 8 : 0);
    return (reg >> bit) & 1;
}

bool Station::digitalInput(int channel) const
{
    if (channel < 0 || channel >= layout_.digInCount)
        return false;
    if (forcedDigital_[channel])
        return *forcedDigital_[channel];
    return loopback && digitalOutput(channel);
}

int32_t Station::analogInput(int channel, double seconds) const
{
    if (channel < 0 || channel >= layout_.analogInputChannels())
        return 0;
    if (forcedAnalog_[channel])
        return *forcedAnalog_[channel];
    return analogWaveform(channel, layout_.anaInIs32[channel], seconds);
}

void Station::forceAnalogInput(int channel, std::optional<int32_t> value)
{
    if (channel >= 0 && channel < static_cast<int>(forcedAnalog_.size()))
        forcedAnalog_[channel] = value;
}

void Station::forceDigitalInput(int channel, std::optional<bool> value)
{
    if (channel >= 0 && channel < static_cast<int>(forcedDigital_.size()))
        forcedDigital_[channel] = value;
}

std::vector<uint16_t> Station::inputImage(double seconds) const
{
    std::vector<uint16_t> image;
    image.reserve(layout_.inputRegisters());
    for (int ch = 0; ch < layout_.analogInputChannels(); ++ch) {
        const int32_t v = analogInput(ch, seconds);
        if (layout_.anaInIs32[ch]) {
            const auto u = static_cast<uint32_t>(v);
            image.push_back(static_cast<uint16_t>(u >> 16));
            image.push_back(static_cast<uint16_t>(u & 0xFFFF));
        } else {
            image.push_back(static_cast<uint16_t>(v));
        }
    }
    const size_t digitalStart = image.size();
    image.resize(digitalStart + layout_.digitalInputRegisters(), 0);
    for (int ch = 0; ch < layout_.digInCount; ++ch) {
        if (!digitalInput(ch))
            continue;
        const int byte = (ch / 8) % 2;
        const int bit = ch % 8 + (byte == 0 ? 8 : 0);
        image[digitalStart + ch / 16] |= static_cast<uint16_t>(1u << bit);
    }
    return image;
}

void Station::resetErrors()
{
    errorWord = 0;
    std::fill(anaInStatus.begin(), anaInStatus.end(), 0);
    std::fill(compStatus.begin(), compStatus.end(), 0);
    std::fill(anaOutStatus.begin(), anaOutStatus.end(), 0);
    std::fill(digOutStatus.begin(), digOutStatus.end(), 0);
}

void Station::resetCommunication(Link link)
{
    if (link == Link::Tcp)
        networkBlock = defaultNetworkBlock();
    else
        serialTime = DefaultSerialTime;
}

void Station::restart()
{
    std::fill(outputs_.begin(), outputs_.end(), 0);
}

} // namespace sim
