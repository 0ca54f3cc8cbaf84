// The station's parameter records as the overview builds them after a
// configuration read: indices per kind, records per channel or module, and
// the object entries with the defaults of the description file.
#include "ParameterFixture.h"

#include "parameters/DefaultData.h"
#include "parameters/TParameter.h"
#include "station/TDeviceConfigForm.h"

#include <gtest/gtest.h>

namespace
{

using parameterfixture::ParameterOverview;
using parameterfixture::ParameterStation;

struct Built : ParameterOverview {
    void build(std::initializer_list<quint16> slotIds)
    {
        configure(slotIds);
        overview->DefaultDataLaden();
    }
    const StationPosition &at(int p) const { return d.StationPositions[size_t(p)]; }
    const ParameterRecord &channel(int p, int n) const { return *at(p).ChannelParams[size_t(n)]; }
    const ObjectEntry &moduleEntry(int p, int e) const { return at(p).ModuleParams->ObjectEntries[size_t(e)]; }
};

TEST(DefaultData, IndicesPerKind)
{
    struct Case {
        const char *what;
        std::initializer_list<quint16> slotIds;
        std::vector<int> first;   // FirstIndex of slots 1..n
        std::vector<int> first32; // First32Index of slots 1..n
    };
    const Case cases[] = {
        {"inputs 4, 10, 14", {4, 10, 14}, {0, 4, 6}, {0, 0, 2}},
        {"two analog outputs", {5, 5}, {0, 4}, {0, 0}},
        {"digital in, out, in", {2, 1, 2}, {0, 0, 1}, {0, 0, 0}},
        {"kinds apart", {1, 4, 5, 2, 10, 5, 1, 10, 14}, {0, 0, 0, 0, 4, 4, 1, 6, 8}, {0, 0, 0, 0, 0, 0, 0, 2, 4}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Built b;
        b.build(c.slotIds);
        EXPECT_EQ(b.at(0).ModuleId, 245);
        for (size_t s = 0; s < c.first.size(); ++s) {
            EXPECT_EQ(b.at(int(s) + 1).FirstIndex, c.first[s]) << "slot " << s + 1;
            EXPECT_EQ(b.at(int(s) + 1).First32Index, c.first32[s]) << "slot " << s + 1;
        }
    }
}

TEST(DefaultData, RecordsPerKindWithTheirObjects)
{
    Built b;
    b.build({4, 1, 0, 5});
    // The coupler is no I/O module: no records.
    EXPECT_FALSE(b.at(0).HasRecords());
    EXPECT_FALSE(b.at(3).HasRecords());
    EXPECT_EQ(b.at(3).ModuleId, 0);

    // Analog input: four channel records, list 0 first, then the channel's list.
    for (int n = 1; n <= 4; ++n) {
        ASSERT_TRUE(b.at(1).ChannelParams[size_t(n)]) << n;
        const ParameterRecord &r = b.channel(1, n);
        EXPECT_EQ(r.FunctionWord, 0xFF50);
        EXPECT_EQ(r.Function(), 255);
        EXPECT_EQ(r.ObjectEntries[0], (ObjectEntry{"AiRange", 2, 1}));
        EXPECT_EQ(r.ObjectEntries[1], (ObjectEntry{"AiFilt", 1, 1}));
        EXPECT_EQ(r.ObjectEntries[2], (ObjectEntry{"AiDiag", 3, 1}));
        EXPECT_EQ(r.ObjectEntries[3], (ObjectEntry{"AiLimit", 32767, 1}));
        EXPECT_EQ(r.ObjectEntries[4], ObjectEntry{});
    }
    EXPECT_FALSE(b.at(1).ChannelParams[5]);
    EXPECT_FALSE(b.at(1).ModuleParams);

    // Digital output: one module record.
    ASSERT_TRUE(b.at(2).ModuleParams);
    EXPECT_EQ(b.at(2).ModuleParams->FunctionWord, 0xFF00);
    EXPECT_EQ(b.moduleEntry(2, 0), (ObjectEntry{"DoBits", 9, 1}));
    EXPECT_EQ(b.moduleEntry(2, 2), (ObjectEntry{"DoSign", 0xFB, 1}));
    EXPECT_EQ(b.moduleEntry(2, 3), (ObjectEntry{"DoOdd", 7, 1}));
    EXPECT_TRUE(b.moduleEntry(2, 4).ObjectId.isEmpty());

    ASSERT_TRUE(b.at(4).ChannelParams[4]);
    EXPECT_EQ(b.channel(4, 4).ObjectEntries[0], (ObjectEntry{"AoRange", 3, 1}));
}

TEST(DefaultData, DefaultValuesAndIdentifiers)
{
    Built b;
    b.build({6, 7});
    EXPECT_EQ(b.moduleEntry(1, 0), (ObjectEntry{"Hex", 65535, 1}));
    EXPECT_EQ(b.moduleEntry(1, 1), (ObjectEntry{"Neg", -5, 1}));
    EXPECT_EQ(b.moduleEntry(1, 2), (ObjectEntry{"Bad", 0, 1}));
    // Ten characters: kept and looked up as the first seven.
    EXPECT_EQ(b.moduleEntry(1, 3), (ObjectEntry{"0x7000A", 77, 1}));
    // Twelve objects listed: the record takes eleven.
    for (int e = 0; e < 11; ++e)
        EXPECT_EQ(b.moduleEntry(2, e).ObjectId, QStringLiteral("O%1").arg(e + 1));
}

TEST(DefaultData, DefaultValueIsASigned32BitNumber)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("d.cfg"));
    ASSERT_TRUE(parameterfixture::WriteFile(path,
                                            "[Object_A]\nDefaultValue=0xFFFFFFFF\n[Object_B]\nDefaultValue=0x80000000\n"
                                            "[Object_C]\nDefaultValue=4294967297\n[Object_D]\nDefaultValue= 12 \n"));
    const IniFile file(path);
    EXPECT_EQ(ObjectDefaultValue(file, QStringLiteral("A")), -1);
    EXPECT_EQ(ObjectDefaultValue(file, QStringLiteral("B")), -2147483648LL);
    EXPECT_EQ(ObjectDefaultValue(file, QStringLiteral("C")), 1);
    EXPECT_EQ(ObjectDefaultValue(file, QStringLiteral("D")), 12);
    EXPECT_EQ(ObjectDefaultValue(file, QStringLiteral("Missing")), 0);
}

TEST(DefaultData, ModuleThreeMovesTheAnalogInputIndexLikeTheOthers)
{
    // Its four channels have their own parameter registers: the next module's
    // start behind them.
    StationConfiguration config;
    config.SlotModuleIds = {0, 3, 4, 8};
    ModuleCatalogueTable catalogue;
    for (int id : {3, 4, 8}) {
        catalogue[size_t(id)].ShortName = QStringLiteral("AI");
        catalogue[size_t(id)].Kind = ModuleKind::AnalogInput;
        catalogue[size_t(id)].Channel = 4;
    }
    StationPositionTable positions;
    BuildDefaultData(positions, config, catalogue, IniFile(QStringLiteral("/nonexistent/ModIO_NX.cfg")));
    EXPECT_EQ(positions[1].FirstIndex, 0);
    EXPECT_EQ(positions[2].FirstIndex, 4);
    EXPECT_EQ(positions[3].FirstIndex, 8);
    EXPECT_EQ(AnalogInputAdvance(3), 4);
    EXPECT_EQ(AnalogInputAdvance(99), 0);
}

TEST(DefaultData, IndicesOfOtherKindsAreLeftAsTheyWere)
{
    Built b;
    b.d.StationPositions[3].FirstIndex = 42;
    b.d.StationPositions[3].First32Index = 17;
    b.build({1, 4, 0});
    EXPECT_EQ(b.at(3).FirstIndex, 42);
    EXPECT_EQ(b.at(3).First32Index, 17);
}

TEST(DefaultData, WithoutConfigurationNothingChanges)
{
    Built b;
    b.build({1});
    b.d.StationPositions[1].ModuleParams->ObjectEntries[0].Value = 123;
    b.d.StationConfig.SlotModuleIds[1] = 2;
    b.d.StationConfig.ConfigValid = 0;
    b.overview->DefaultDataLaden();
    EXPECT_EQ(b.at(1).ModuleId, 1);
    EXPECT_EQ(b.moduleEntry(1, 0).Value, 123);
}

TEST(DefaultData, WithoutDescriptionFileNoRecordsAreMade)
{
    OneWindow<TParameter> t; // its folder holds no description file
    t.d.StationConfig.SlotModuleIds = {0, 1, 4};
    t.d.StationConfig.ConfigValid = 1;
    t.w->DefaultDataLaden();
    EXPECT_EQ(t.d.StationPositions[0].ModuleId, 245);
    EXPECT_EQ(t.d.StationPositions[1].ModuleId, 1);
    for (const StationPosition &p : t.d.StationPositions)
        EXPECT_FALSE(p.HasRecords());
}

// Each configuration read rebuilds the records: what an editor changed is back
// at the defaults, and a slot with another module gets that module's records.
struct ConfigRead : ParameterStation {
    void read(std::initializer_list<quint8> slotIds)
    {
        TDeviceConfigForm &config = *d.DeviceConfigForm;
        config.BReadConfigClick();
        HandReply(d, {8, 0x2B, 0x0E, 1, 1, 0, 0, 3, 0, 0, 1, 'A', 1, 1, 'B', 2, 1, '1'});
        config.TimerIdentityTimer();
        std::vector<quint8> pdu = {8, 4, 28};
        for (int i = 0; i < 5; ++i)
            pdu.insert(pdu.end(), {0, 0});
        std::vector<quint8> ids(slotIds);
        ids.resize(9, 0);
        for (quint8 id : ids)
            pdu.insert(pdu.end(), {0, id});
        HandReply(d, pdu);
        config.TimerSlotListTimer();
    }
};

TEST(DefaultData, EveryConfigurationReadRebuildsTheRecords)
{
    ConfigRead f;
    f.read({4, 1, 5});
    ASSERT_EQ(f.d.StationConfig.ConfigValid, 1);
    ASSERT_EQ(f.d.StationPositions[2].ModuleId, 1);
    f.d.StationPositions[1].ChannelParams[2]->ObjectEntries[0] = {"AiRange", 0, 0};
    f.d.StationPositions[3].ChannelParams[1]->ObjectEntries[0].Value = 0;

    f.read({4, 2, 5});
    EXPECT_EQ(f.d.StationPositions[2].ModuleId, 2);
    ASSERT_TRUE(f.d.StationPositions[2].ModuleParams);
    EXPECT_EQ(f.d.StationPositions[2].ModuleParams->ObjectEntries[0], (ObjectEntry{"DiRows", 0x12, 1}));
    EXPECT_EQ(f.d.StationPositions[1].ChannelParams[2]->ObjectEntries[0], (ObjectEntry{"AiRange", 2, 1}));
    EXPECT_EQ(f.d.StationPositions[3].ChannelParams[1]->ObjectEntries[0].Value, 3);

    // A read that fails leaves the records as they are.
    f.d.StationPositions[2].ModuleParams->ObjectEntries[0].Value = 5;
    f.d.DeviceConfigForm->BReadConfigClick();
    HandReply(f.d, {8, 0xAB, 1});
    f.d.DeviceConfigForm->TimerIdentityTimer();
    EXPECT_EQ(f.d.StationPositions[2].ModuleParams->ObjectEntries[0].Value, 5);
}

} // namespace
