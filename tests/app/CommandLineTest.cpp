#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace
{

struct Case {
    const char *name;
    QStringList arguments;
    bool autoStart;
    bool valko;
    QString server;
    bool wait;
    bool dms;
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.name;
}

class CommandLineCases : public ::testing::TestWithParam<Case>
{
};

TEST_P(CommandLineCases, WordsAreRecognisedWhereTheyCount)
{
    const Case &c = GetParam();
    const CommandLineOptions o = ParseCommandLine(c.arguments);
    EXPECT_EQ(o.AutoStart, c.autoStart);
    EXPECT_EQ(o.Valko, c.valko);
    EXPECT_EQ(o.ServerName, c.server);
    EXPECT_EQ(o.WaitBeforeOpen, c.wait);
    EXPECT_EQ(o.ReadDmsParameters, c.dms);
}

const Case Cases[] = {
    {"none", {}, false, false, "", false, false},
    {"auto_first", {"AUTO"}, true, false, "", false, false},
    {"auto_third", {"x", "y", "AUTO"}, true, false, "", false, false},
    {"auto_fourth_ignored", {"x", "y", "z", "AUTO"}, false, false, "", false, false},
    {"auto_lower_case_ignored", {"auto"}, false, false, "", false, false},
    {"auto_as_prefix_ignored", {"AUTOSTART"}, false, false, "", false, false},
    {"valko", {"valko"}, false, true, "", false, false},
    {"valko_upper_ignored", {"VALKO"}, false, false, "", false, false},
    {"server_bare", {"SERVER"}, false, false, "SERVER", false, false},
    {"server_named", {"AUTO", "SERVER1"}, true, false, "SERVER1", false, false},
    {"server_lower_ignored", {"server1"}, false, false, "", false, false},
    {"server_fourth_ignored", {"a", "b", "c", "SERVERX"}, false, false, "", false, false},
    {"all_three", {"valko", "SERVERpipe", "AUTO"}, true, true, "SERVERpipe", false, false},
    {"wait_fourth", {"AUTO", "SERVER1", "valko", "WAIT"}, true, true, "SERVER1", true, false},
    {"dms_fourth", {"AUTO", "x", "y", "DMS"}, true, false, "", false, true},
    {"wait_not_fourth", {"WAIT", "AUTO"}, true, false, "", false, false},
    {"dms_third", {"AUTO", "x", "DMS"}, true, false, "", false, false},
    {"dms_fifth_ignored", {"AUTO", "x", "y", "z", "DMS"}, true, false, "", false, false},
};

INSTANTIATE_TEST_SUITE_P(Table, CommandLineCases, ::testing::ValuesIn(Cases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(CommandLineInfo, HelpAndVersionAreAskedOnlyByTheirExactWords)
{
    struct Case {
        QStringList arguments;
        InfoRequest expected;
    };
    const Case cases[] = {
        {{}, InfoRequest::None},
        {{"--help"}, InfoRequest::Help},
        {{"-h"}, InfoRequest::Help},
        {{"--version"}, InfoRequest::Version},
        {{"AUTO", "SERVER1", "valko", "--version"}, InfoRequest::Version},
        {{"AUTO", "SERVER1", "valko", "WAIT"}, InfoRequest::None},
        {{"SERVER--help"}, InfoRequest::None}, // a pipe name, not a question
        {{"--HELP"}, InfoRequest::None},
        {{"help"}, InfoRequest::None},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        EXPECT_EQ(InfoRequestOf(c.arguments), c.expected);
    }
    EXPECT_EQ(VersionText(QStringLiteral("1.0")), QStringLiteral("vo3112ccc 1.0\n"));
    // The usage names every word of the command line.
    for (const char *word : {"AUTO", "valko", "SERVER", "WAIT", "DMS", "--version"})
        EXPECT_TRUE(UsageText().contains(QLatin1String(word))) << word;
}

} // namespace
