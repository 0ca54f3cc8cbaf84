// vo3112ctl against the running simulator over loopback TCP and a socat pty
// pair: each verb's JSON checked against what the simulator's station holds,
// its text for a person, and the language of the texts.
#include "CtlProcess.h"
#include "CtlStation.h"

#include <QJsonArray>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace
{

class CtlVerbs : public ::testing::TestWithParam<CtlLink>
{
protected:
    void SetUp() override { ASSERT_TRUE(station.ready()); }

    CtlRun run(const QStringList &verb, const QStringList &options = {})
    {
        return RunCtl(station.linkOptions() + options + verb);
    }

    CtlStation station{GetParam()};
};

TEST_P(CtlVerbs, IdentifyGivesTheCouplersTexts)
{
    const CtlRun r = run({QStringLiteral("identify")}, {QStringLiteral("--json")});
    ASSERT_EQ(r.exit, 0) << r.err.constData();
    const QJsonObject j = r.json();
    EXPECT_EQ(j.value("manufacturer").toString(), "Test Works");
    EXPECT_EQ(j.value("product").toString(), "VO3112-T");
    EXPECT_EQ(j.value("version").toString(), "2.07");

    const CtlRun text = run({QStringLiteral("identify")});
    ASSERT_EQ(text.exit, 0);
    EXPECT_TRUE(text.text().contains("Hersteller: Test Works")) << text.out.constData();
    EXPECT_TRUE(text.text().contains("Produkt: VO3112-T"));
    const CtlRun en = run({QStringLiteral("identify")}, {QStringLiteral("--lang"), QStringLiteral("en")});
    EXPECT_TRUE(en.text().contains("Manufacturer: Test Works")) << en.out.constData();
}

TEST_P(CtlVerbs, ConfigMatchesTheSimulatorsStation)
{
    const std::vector<long> slotIds = station.numbersOf("slots");
    const std::vector<long> counts = station.numbersOf("counts");
    ASSERT_EQ(slotIds.size(), 9u);
    ASSERT_EQ(counts.size(), 5u);

    const CtlRun r = run({QStringLiteral("config")}, {QStringLiteral("--json")});
    ASSERT_EQ(r.exit, 0) << r.err.constData();
    const QJsonObject c = r.json().value("counts").toObject();
    const char *keys[] = {"AnaInCount", "AnaIn32Count", "AnaOutCount", "DigInCount", "DigOutCount"};
    for (size_t i = 0; i < 5; ++i) {
        ASSERT_TRUE(c.contains(keys[i])) << keys[i];
        EXPECT_EQ(c.value(keys[i]).toInt(-1), counts[i]) << keys[i];
    }
    const QJsonArray list = r.json().value("slots").toArray();
    ASSERT_EQ(list.size(), 9);
    for (int i = 0; i < 9; ++i) {
        const QJsonObject slot = list[i].toObject();
        EXPECT_EQ(slot.value("slot").toInt(), i + 1);
        EXPECT_EQ(slot.value("id").toInt(-1), slotIds[size_t(i)]) << "slot " << i + 1;
    }
    // Names from the description file beside the program.
    EXPECT_EQ(list[0].toObject().value("name").toString(), "NX 651");
    EXPECT_EQ(list[5].toObject().value("name").toString(), "NX 624-0");
    EXPECT_EQ(list[7].toObject().value("name").toString(), "Leer");
}

TEST_P(CtlVerbs, ConfigTextNamesCountsAndSlotsInEitherLanguage)
{
    struct Case {
        const char *lang;
        const char *count;
        const char *empty;
    };
    for (const Case &c : {Case{"de", "Anzahl Kanäle Analogausgänge: 4", "Leer"},
                          Case{"en", "Number of analog Output Channel: 4", "empty"}}) {
        const CtlRun r = run({QStringLiteral("config")}, {QStringLiteral("--lang"), QString::fromLatin1(c.lang)});
        ASSERT_EQ(r.exit, 0) << c.lang;
        EXPECT_TRUE(r.text().contains(QString::fromUtf8(c.count))) << c.lang << "\n" << r.out.constData();
        EXPECT_TRUE(r.text().contains(QRegularExpression(QStringLiteral("Slot 8 +0 +%1").arg(c.empty))))
            << c.lang << "\n"
            << r.out.constData();
        const CtlRun j = run({QStringLiteral("config")},
                             {QStringLiteral("--json"), QStringLiteral("--lang"), QString::fromLatin1(c.lang)});
        EXPECT_EQ(j.json().value("slots").toArray()[7].toObject().value("name").toString(), c.empty);
    }
}

TEST_P(CtlVerbs, ErrorsReadsTheSequenceAndNamesWhatIsSet)
{
    ASSERT_TRUE(station.command("error 0x8005"));
    ASSERT_TRUE(station.command("status do 1 0x0031"));
    ASSERT_TRUE(station.command("status ai 1 3"));
    ASSERT_TRUE(station.command("status comp 2 7"));
    ASSERT_TRUE(station.command("status ao 4 9"));
    struct Case {
        const char *lang;
        QStringList coupler;
        const char *digOut, *anaIn, *comp, *anaOut, *ok;
    };
    const Case cases[] = {
        {"de",
         {"Fehler digitale Eingänge", "Fehler analoge Eingänge", "neue Modulkonfiguration"},
         "Leerlauf Kanal 1/2, 3/4;  Kurzschluß Kanal 1/2",
         "Wert Überlauf",
         "Übertragungsfehler",
         "Übertragungsfehler",
         "Ok"},
        {"en",
         {"digital Input Error", "analog Input Error", "new Modul Configuration"},
         "Break Channel 1/2, 3/4;  Shortcut Channel 1/2",
         "Overflow Value",
         "Transmission Error",
         "Transmission Error",
         "Ok"},
    };
    const std::vector<long> counts = station.numbersOf("counts");
    ASSERT_EQ(counts.size(), 5u);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.lang);
        const CtlRun r = run({QStringLiteral("errors")}, {QStringLiteral("--json"), QStringLiteral("--lang"), c.lang});
        ASSERT_EQ(r.exit, 0) << r.err.constData();
        const QJsonObject j = r.json();
        EXPECT_EQ(j.value("error_word").toInt(), 0x8005);
        QStringList coupler;
        for (const QJsonValue &v : j.value("coupler").toArray())
            coupler << v.toString();
        EXPECT_EQ(coupler, c.coupler);
        const QJsonObject ch = j.value("channels").toObject();
        const QJsonArray anaIn = ch.value("analog_inputs").toArray();
        const QJsonArray comp = ch.value("compensation").toArray();
        const QJsonArray anaOut = ch.value("analog_outputs").toArray();
        const QJsonArray digOut = ch.value("digital_outputs").toArray();
        ASSERT_EQ(anaIn.size(), counts[0] + counts[1]);
        ASSERT_EQ(anaOut.size(), counts[2]);
        ASSERT_EQ(comp.size(), 6);   // module 8: 4, module 14: 2
        ASSERT_EQ(digOut.size(), 2); // modules 1 and 7
        EXPECT_EQ(anaIn[0].toObject().value("text").toString(), QString::fromUtf8(c.anaIn));
        EXPECT_EQ(anaIn[1].toObject().value("text").toString(), c.ok);
        EXPECT_EQ(comp[1].toObject().value("text").toString(), QString::fromUtf8(c.comp));
        EXPECT_EQ(comp[1].toObject().value("status").toInt(), 7);
        EXPECT_EQ(anaOut[3].toObject().value("text").toString(), QString::fromUtf8(c.anaOut));
        EXPECT_EQ(digOut[0].toObject().value("text").toString(), QString::fromUtf8(c.digOut));
        EXPECT_EQ(digOut[0].toObject().value("slot").toInt(), 1);
        EXPECT_EQ(digOut[1].toObject().value("slot").toInt(), 9);
        EXPECT_EQ(digOut[1].toObject().value("text").toString(), c.ok);
    }
    const CtlRun text = run({QStringLiteral("errors")});
    ASSERT_EQ(text.exit, 0);
    EXPECT_TRUE(text.text().startsWith("0x8005\n")) << text.out.constData();
    EXPECT_TRUE(text.text().contains(QString::fromUtf8("16  neue Modulkonfiguration")));
}

TEST_P(CtlVerbs, ReadGivesTheRegistersAsTheSimulatorHoldsThem)
{
    ASSERT_TRUE(station.command("error 0x1234"));
    ASSERT_TRUE(station.command("mask 0x00FF"));
    const CtlRun r =
        run({QStringLiteral("read"), QStringLiteral("0x1500"), QStringLiteral("2")}, {QStringLiteral("--json")});
    ASSERT_EQ(r.exit, 0) << r.err.constData();
    EXPECT_EQ(r.json().value("register").toInt(), 0x1500);
    EXPECT_EQ(r.json().value("words").toArray(), (QJsonArray{0x1234, 0x00FF}));

    // The slot list, in decimal: counts then the nine identifiers.
    std::vector<long> expected = station.numbersOf("counts");
    for (long id : station.numbersOf("slots"))
        expected.push_back(id);
    const CtlRun list =
        run({QStringLiteral("read"), QStringLiteral("4096"), QStringLiteral("14")}, {QStringLiteral("--json")});
    ASSERT_EQ(list.exit, 0);
    const QJsonArray words = list.json().value("words").toArray();
    ASSERT_EQ(words.size(), 14);
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(words[i].toInt(), expected[size_t(i)]) << "register " << 0x1000 + i;

    const CtlRun text = run({QStringLiteral("read"), QStringLiteral("0x1500"), QStringLiteral("2")});
    ASSERT_EQ(text.exit, 0);
    EXPECT_EQ(text.text(), "0x1500   4660  0x1234\n0x1501    255  0x00FF\n");
}

TEST_P(CtlVerbs, ExceptionRepliesExitFourAndNameTheException)
{
    struct Case {
        const char *simCommand; // empty: none
        QStringList verb;
        int code;
        const char *text;
    };
    const Case cases[] = {
        {"", {"read", "0x0000", "1"}, 2, "Illegal Data Adress"},
        {"exception 43 1", {"identify"}, 1, "Illegal Function"},
        {"exception 4 3", {"config"}, 3, "Illegal Data Value"},
        {"exception 4 2", {"errors"}, 2, "Illegal Data Adress"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.verb.join(' ').toStdString());
        ASSERT_TRUE(station.command("faults off"));
        if (*c.simCommand) {
            ASSERT_TRUE(station.command(c.simCommand));
        }
        const CtlRun r = run(c.verb, {QStringLiteral("--json")});
        EXPECT_EQ(r.exit, 4) << r.err.constData();
        EXPECT_EQ(r.json().value("exit").toInt(), 4);
        EXPECT_EQ(r.json().value("exception").toInt(), c.code);
        EXPECT_EQ(r.json().value("error").toString(), QStringLiteral("Fehler ") + c.text);
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(c.text)) << r.err.constData();
        const CtlRun en = run(c.verb, {QStringLiteral("--json"), QStringLiteral("--lang"), QStringLiteral("en")});
        EXPECT_EQ(en.json().value("error").toString(), QStringLiteral("Error ") + c.text);
    }
}

INSTANTIATE_TEST_SUITE_P(Links, CtlVerbs, ::testing::Values(CtlLink::Tcp, CtlLink::Rtu),
                         [](const auto &info) { return info.param == CtlLink::Tcp ? "Tcp" : "Rtu"; });

} // namespace
