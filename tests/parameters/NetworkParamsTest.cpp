#include "parameters/NetworkParams.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

std::vector<int> bytes(const ModbusBuffer &frame, int from, int count)
{
    return std::vector<int>(frame.begin() + from, frame.begin() + from + count);
}

const QLocale German(QLocale::German, QLocale::Germany);
const QLocale English(QLocale::English, QLocale::UnitedStates);

TEST(NetworkAddress, TextToOctetsAndBack)
{
    struct Case {
        const char *text;
        const char *normalised;
    };
    const Case cases[] = {
        {"192.168.000.010", "192.168.0.10"},
        {"300.1.2.3", "44.1.2.3"},
        {"10.1", "10.0.0.1"},
        {"10", "0.0.0.10"},
        {"", "0.0.0.0"},
        {"a.b.c.d", "0.0.0.0"},
        {"1..3.4", "1.0.3.4"},
        {"1.2.3.4.5", "1.2.3.0"},     // the rest "4.5" is no number
        {" 7 .8. 9.10 ", "7.8.9.10"}, // blanks around a number are allowed
        {"-1.256.0x10.$FF", "255.0.16.255"},
        {"99999999999.1.1.1", "0.1.1.1"}, // beyond an integer counts as no number
    };
    for (const Case &c : cases)
        EXPECT_EQ(AddressText(AddressOctets(QString::fromLatin1(c.text))), QLatin1String(c.normalised)) << c.text;
}

TEST(NetworkBlock, RegistersInTheCouplersOrder)
{
    NetworkBlock b;
    b.localAddress = {192, 168, 0, 10};
    b.localMask = {255, 255, 255, 0};
    for (int r = 0; r < NetworkRoutes; ++r) {
        NetworkRoute &route = b.routes[size_t(r)];
        route.destination = {10, quint8(r + 1), 0, 0};
        route.mask = {255, 255, 0, quint8(r)};
        route.gateway = {192, 168, 0, quint8(200 + r)};
        route.metric = quint16(0x0100 + r);
    }
    b.routes[1].metric = 7;
    const std::vector<quint16> words = NetworkBlockWords(b);
    ASSERT_EQ(words.size(), 39u);
    EXPECT_EQ(words[0], 0xC0A8);
    EXPECT_EQ(words[1], 0x000A);
    EXPECT_EQ(words[2], 0xFFFF);
    EXPECT_EQ(words[3], 0xFF00);
    for (int r = 1; r <= NetworkRoutes; ++r) {
        SCOPED_TRACE(r);
        const size_t at = size_t(4 + 7 * (r - 1)); // 0x3004 + 7(r - 1)
        EXPECT_EQ(words[at], 0x0A00 + r);
        EXPECT_EQ(words[at + 3], 0x0000 + (r - 1));              // mask, second register
        EXPECT_EQ(words[at + 5], 0x00C8 + (r - 1));              // gateway, second register
        EXPECT_EQ(words[at + 6], r == 2 ? 7 : 0x0100 + (r - 1)); // metric at 0x300A + 7(r - 1)
    }
    const NetworkBlock back = NetworkBlockOfWords(words);
    EXPECT_EQ(NetworkBlockWords(back), words);
}

TEST(NetworkFrames, RequestsAsTabled)
{
    ModbusBuffer tx{};
    EXPECT_EQ(BuildNetworkReadRequest(tx, 8), 12);
    EXPECT_EQ(bytes(tx, 6, 6), (std::vector<int>{8, 4, 0x30, 0x00, 0, 39}));
    EXPECT_EQ(BuildSerialTimeReadRequest(tx, 8), 12);
    EXPECT_EQ(bytes(tx, 6, 6), (std::vector<int>{8, 4, 0x30, 0x00, 0, 1}));
    EXPECT_EQ(BuildSerialTimeWriteRequest(tx, 8, 1919), 12);
    EXPECT_EQ(bytes(tx, 6, 6), (std::vector<int>{8, 6, 0x30, 0x00, 0x07, 0x7F}));
    EXPECT_EQ(BuildCommResetRequest(tx, 3), 12);
    EXPECT_EQ(bytes(tx, 6, 6), (std::vector<int>{3, 6, 0x30, 0x27, 0xFF, 0xFF}));

    NetworkBlock b;
    b.localAddress = {192, 168, 0, 10};
    b.routes[4].metric = 0xBEEF;
    ModbusBuffer w{};
    EXPECT_EQ(BuildNetworkWriteRequest(w, 8, b), 91);
    EXPECT_EQ(bytes(w, 6, 7), (std::vector<int>{8, 0x10, 0x30, 0x00, 0, 39, 78}));
    EXPECT_EQ(bytes(w, 13, 4), (std::vector<int>{0xC0, 0xA8, 0x00, 0x0A}));
    EXPECT_EQ(bytes(w, 13 + 2 * (4 + 7 * 4 + 6), 2), (std::vector<int>{0xBE, 0xEF}));
    EXPECT_EQ(w[91], 0);
}

TEST(NetworkFrames, ReplyDecoding)
{
    ModbusBuffer rx{};
    rx[6] = 8;
    rx[7] = 4;
    rx[8] = 78;
    const std::vector<int> head = {0xC0, 0xA8, 0x00, 0x0A, 0xFF, 0xFF, 0xFF, 0x00};
    for (size_t i = 0; i < head.size(); ++i)
        rx[9 + i] = quint8(head[i]);
    rx[9 + 2 * 10] = 0x01; // route 1 metric, register 0x300A
    rx[9 + 2 * 10 + 1] = 0x05;
    NetworkBlock b;
    ASSERT_TRUE(DecodeNetworkReply(rx, 6 + 3 + 78, b));
    EXPECT_EQ(AddressText(b.localAddress), QStringLiteral("192.168.0.10"));
    EXPECT_EQ(AddressText(b.localMask), QStringLiteral("255.255.255.0"));
    EXPECT_EQ(b.routes[0].metric, 261);
    EXPECT_EQ(b.routes[1].metric, 0);

    NetworkBlock untouched;
    untouched.routes[0].metric = 9;
    EXPECT_FALSE(DecodeNetworkReply(rx, 6 + 3 + 77, untouched)) << "one byte short";
    EXPECT_EQ(untouched.routes[0].metric, 9);

    ModbusBuffer s{};
    s[6] = 8;
    s[7] = 4;
    s[8] = 2;
    s[9] = 0x07;
    s[10] = 0x7F;
    quint16 raw = 0;
    ASSERT_TRUE(DecodeSerialTimeReply(s, 11, raw));
    EXPECT_EQ(raw, 1919);
    EXPECT_FALSE(DecodeSerialTimeReply(s, 10, raw));
}

TEST(SerialTime, SecondsTypedIntoSteps)
{
    struct Case {
        const char *text;
        const QLocale &locale;
        SerialSeconds::Kind kind;
        int raw;
    };
    const Case cases[] = {
        {"1", English, SerialSeconds::Taken, 1919},
        {"34.143735", English, SerialSeconds::Taken, 65535},
        {"34,143735", German, SerialSeconds::Taken, 65535},
        {"34.2", English, SerialSeconds::TooLarge, 0},
        {"34.143736", English, SerialSeconds::TooLarge, 0},
        {"1e3", English, SerialSeconds::TooLarge, 0},
        {"1e999", English, SerialSeconds::TooLarge, 0},
        {"0", English, SerialSeconds::Taken, 0},
        {" 0.5 ", English, SerialSeconds::Taken, 960},
        {"1,5", German, SerialSeconds::Taken, 2879},
        {".5", English, SerialSeconds::Taken, 960},
        {"5.", English, SerialSeconds::Taken, 9597},
        {"1e1", English, SerialSeconds::Taken, 19194},
        {"-0.0001", English, SerialSeconds::Taken, 0},
        {"-1", English, SerialSeconds::Negative, 0},
        {"1.5", German, SerialSeconds::NotANumber, 0}, // the separator of another locale
        {"1,5", English, SerialSeconds::NotANumber, 0},
        {"", English, SerialSeconds::NotANumber, 0},
        {".", English, SerialSeconds::NotANumber, 0},
        {"abc", English, SerialSeconds::NotANumber, 0},
        {"nan", English, SerialSeconds::NotANumber, 0},
        {"1 000", English, SerialSeconds::NotANumber, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " " + c.locale.name().toStdString());
        const SerialSeconds s = SerialSecondsOf(QString::fromLatin1(c.text), c.locale);
        EXPECT_EQ(s.kind, c.kind);
        if (c.kind == SerialSeconds::Taken) {
            EXPECT_EQ(s.raw, c.raw);
        }
    }
    EXPECT_EQ(InvalidFloatText(QStringLiteral("abc")), QStringLiteral("'abc' is not a valid floating point value"));
}

TEST(SerialTime, EveryCountShownInSecondsReadsBackAsItself)
{
    EXPECT_EQ(SerialSecondsText(1919, English), QStringLiteral("0.999799"));
    EXPECT_EQ(SerialSecondsText(1919, German), QStringLiteral("0,999799"));
    EXPECT_EQ(SerialSecondsText(65535, English), QStringLiteral("34.143735"));
    EXPECT_EQ(SerialSecondsText(0, English), QStringLiteral("0"));
    for (const QLocale *locale : {&English, &German}) {
        for (int raw = 0; raw <= 65535; ++raw) {
            const SerialSeconds s = SerialSecondsOf(SerialSecondsText(quint16(raw), *locale), *locale);
            if (s.kind != SerialSeconds::Taken || s.raw != raw) {
                ADD_FAILURE() << "count " << raw << " shown as "
                              << SerialSecondsText(quint16(raw), *locale).toStdString();
                break;
            }
        }
    }
}

} // namespace
