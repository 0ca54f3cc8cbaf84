#pragma once
// The parameter blocks of one module as the additional I/O editor reads and
// writes them: where each module kind keeps the objects of a channel or of the
// module, and the requests and replies that carry them (function code 4 to
// read, 16 to write).
#include "link/ModbusFrame.h"
#include "parameters/ParameterRecords.h"

#include <optional>
#include <vector>

// The strain gauge module keeps entries 3 to 6 of a channel in a second block.
constexpr quint8 StrainGaugeModuleId = 10;

struct ParameterBlock {
    quint16 Start = 0;
    int Registers = 0;
    // Second block of the strain gauge module: entry 3 in one register,
    // entries 4, 5, 6 in two registers each (most significant first).
    bool Wide = false;
    bool operator==(const ParameterBlock &) const = default;
};

// The block of channel c (0-based; analog modules) or of the module (digital
// modules) for a module of `kind` and `moduleId` whose position has FirstIndex
// t and First32Index t32. `second` asks for the strain gauge's second block.
// Nothing for a kind that has no block, or a second block of another module.
std::optional<ParameterBlock> ParameterBlockOf(quint8 kind, quint8 moduleId, int t, int t32, int c, bool second);

// The register values the block carries from the record's entries: the low 16
// bits of a one-register entry, the low 32 bits of a two-register one.
std::vector<quint16> ParameterBlockWords(const ParameterBlock &block, const ParameterRecord &record);

quint8 BuildParameterReadRequest(ModbusBuffer &tx, quint8 unit, const ParameterBlock &block);
quint8 BuildParameterWriteRequest(ModbusBuffer &tx, quint8 unit, const ParameterBlock &block,
                                  const ParameterRecord &record);

// The reply's registers into the record's entries (unsigned 16-bit values, and
// unsigned 32-bit ones for the two-register entries), each marked as read;
// false, with nothing changed, when the reply does not hold them all.
bool DecodeParameterReply(const ModbusBuffer &rx, quint16 rxCount, const ParameterBlock &block,
                          ParameterRecord &record);
