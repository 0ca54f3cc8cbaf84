// Compensation channels and digital output modules as the configuration read
// derives them, for every module the program knows: the identifiers of both
// description files and of the built-in name tables.
#include "station/ModuleCatalogue.h"
#include "station/ModuleNames.h"
#include "station/StationConfigDecode.h"

#include <QString>
#include <gtest/gtest.h>

#include <set>

namespace
{

// The description files as delivered, from the source tree (the folder comes
// from the build: a compiler cache may hand __FILE__ over as a relative path).
QString dataFolder()
{
    return QStringLiteral(VO_SOURCE_DATA_DIR "/");
}

struct Expected {
    int compensation = 0;
    bool digitalOutput = false;
};

// By module: thermal modules bring compensation channels (4-channel
// temperature 4, thermocouple 2, voltage/temperature 1); the 8-channel
// transistor and the 4-channel relay module are the digital output modules.
Expected expectedFor(int id)
{
    switch (id) {
    case 8:
        return {4, false};
    case 14:
        return {2, false};
    case 15:
        return {1, false};
    case 1:
    case 7:
        return {0, true};
    default:
        return {};
    }
}

StationConfiguration station(int id, int filled)
{
    StationConfiguration c;
    for (int s = 1; s <= filled; ++s)
        c.SlotModuleIds[static_cast<size_t>(s)] = static_cast<quint16>(id);
    DeriveAnalogTables(c);
    c.DigOutModuleCount = CountDigitalOutputModules(c);
    return c;
}

TEST(DerivedCounts, EveryModuleOfTheCatalogues)
{
    std::set<int> ids;
    for (quint8 brand : {0, 1}) {
        const ModuleCatalogueTable catalogue = LoadModuleCatalogue(dataFolder(), brand);
        int described = 0;
        for (int id = 0; id < 256; ++id) {
            const CatalogueEntry &e = catalogue[static_cast<size_t>(id)];
            if (e.ShortName.isEmpty() || id == 245)
                continue;
            ++described;
            ids.insert(id);
            SCOPED_TRACE(testing::Message() << "brand " << int(brand) << " module " << id);
            const Expected x = expectedFor(id);
            // The catalogue's kind agrees with what the counts take a module for.
            EXPECT_EQ(e.Kind == 8, x.digitalOutput);
            if (x.compensation > 0) {
                EXPECT_EQ(e.Kind, 1);
                EXPECT_LE(x.compensation, e.Channel);
            }
        }
        EXPECT_GE(described, 20) << "brand " << int(brand) << ": description file not found in "
                                 << dataFolder().toStdString();
    }
    const std::array<QString, 256> builtIn = BuiltInShortNames(1);
    for (int id = 0; id < 256; ++id)
        if (!builtIn[static_cast<size_t>(id)].isEmpty())
            ids.insert(id);

    for (int id : ids) {
        SCOPED_TRACE(testing::Message() << "module " << id);
        const Expected x = expectedFor(id);
        for (int filled : {1, 9}) {
            const StationConfiguration c = station(id, filled);
            EXPECT_EQ(c.TempChannelCount, x.compensation * filled);
            EXPECT_EQ(c.DigOutModuleCount, x.digitalOutput ? filled : 0);
        }
    }
}

TEST(DerivedCounts, MixedStationsAndSlotOrder)
{
    struct Case {
        std::array<quint16, SlotCount> ids;
        quint16 compensation;
        quint16 digitalOutputModules;
    };
    const Case cases[] = {
        {{1, 7, 4, 10, 8, 14, 15, 5, 2}, 7, 2},
        {{15, 15, 15, 15, 15, 15, 15, 15, 15}, 9, 0},
        {{0, 0, 0, 0, 0, 0, 0, 0, 8}, 4, 0},
        {{7, 0, 7, 0, 7, 0, 7, 0, 1}, 0, 5},
        {{3, 4, 11, 68, 75, 132, 139, 10, 5}, 0, 0}, // analog modules without compensation
        {{}, 0, 0},
    };
    for (const Case &c : cases) {
        StationConfiguration config;
        std::copy(c.ids.begin(), c.ids.end(), config.SlotModuleIds.begin() + 1);
        config.TempChannelCount = 99; // what an earlier station left
        DeriveAnalogTables(config);
        EXPECT_EQ(config.TempChannelCount, c.compensation) << c.ids[0];
        EXPECT_EQ(CountDigitalOutputModules(config), c.digitalOutputModules) << c.ids[0];
    }
}

} // namespace
