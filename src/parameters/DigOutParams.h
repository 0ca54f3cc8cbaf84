#pragma once
// Fail-state settings of the digital output channels: per output module one
// behaviour byte (bit set: the channel holds its last value) and one state
// byte (the value the channel takes otherwise), eight channels a module.
#include <QtGlobal>
#include <array>

constexpr int DigOutModules = 9;
constexpr int DigOutChannelsPerModule = 8;
constexpr int DigOutChannels = DigOutModules * DigOutChannelsPerModule;

// The choice of one channel, as the items of its radio group.
enum DigOutChoice { LastValue = 0, FailState0 = 1, FailState1 = 2 };

struct DigOutFailStates {
    std::array<quint8, DigOutModules> BehaviourBits{};
    std::array<quint8, DigOutModules> StateBits{};

    // Channel n (1..72): behaviour bit set gives LastValue, else the state
    // bit FailState1 or FailState0.
    DigOutChoice choiceOf(int channel) const;
    // LastValue sets the behaviour bit and keeps the state bit; FailState0
    // clears both; FailState1 clears the behaviour bit and sets the state bit.
    // Channels outside 1..72 change nothing.
    void choose(int channel, DigOutChoice choice);
};

// The modules a request carries: the station's count, at most the nine the
// arrays hold; 0 means there is nothing to ask for.
int DigOutModulesHandled(int moduleCount);

// Which channels the window shows for a digital output count: columns
// 1..columns and in them channels 1..channels. `changes` is false for counts
// that leave the window as it is (0, not a multiple of 4, above 72).
struct DigOutVisibility {
    bool changes = false;
    int columns = 0;
    int channels = 0;
};
DigOutVisibility DigOutVisibilityFor(int digOutCount);
