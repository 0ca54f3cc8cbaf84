#pragma once
// The parameter records of every station position with the defaults of the
// module description file, as the overview builds them after a configuration
// read.
#include "app/StationTypes.h"
#include "parameters/ParameterRecords.h"
#include "station/ModuleCatalogue.h"

class IniFile;

// How far a module moves the running analog input channel index (the place of
// the next analog input module's parameter block): its channel count for the
// analog input modules the program knows, 0 for any other id.
int AnalogInputAdvance(int moduleId);
// How far it moves the 32-bit channel index.
int AnalogInput32Advance(int moduleId);

// "DefaultValue" of section "Object_" + id: "0x" hex, anything unreadable 0,
// taken as a signed 32-bit number.
qint64 ObjectDefaultValue(const IniFile &descriptionFile, const QString &objectId);

// Rebuilds every position from the slot list (position 0 is the coupler):
// indices, records and their object entries. Indices of a position whose kind
// is none of the four keep their values.
void BuildDefaultData(StationPositionTable &positions, const StationConfiguration &config,
                      const ModuleCatalogueTable &catalogue, const IniFile &descriptionFile);
