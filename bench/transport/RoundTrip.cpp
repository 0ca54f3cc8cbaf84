#include "RoundTrip.h"

#include "app/Deklarat.h"
#include "link/Transport.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>
#include <modbus/modbus.h>

#include <functional>
#include <memory>

namespace
{

constexpr quint8 Request[] = {0x08, 0x04, 0x10, 0x00, 0x00, 0x0E};
constexpr int ReplyLength = 6 + 3 + 28;
constexpr auto Patience = std::chrono::seconds(2);

qint64 Since(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count();
}

// Runs the event loop until `done`; blocks in the dispatcher, never sleeps.
bool RunUntil(const std::function<bool()> &done, Clock::duration patience = Patience)
{
    const Clock::time_point start = Clock::now();
    while (!done()) {
        if (Clock::now() - start > patience)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

class Client
{
public:
    virtual ~Client() = default;
    // One read; false on a wrong or missing reply.
    virtual bool roundTrip(qint64 &ns) = 0;
    std::vector<qint64> samples;
};

// The tool's own path: Daten_Transfer until RxCount holds the whole reply.
class TransportClient : public Client
{
public:
    explicit TransportClient(quint16 port)
    {
        transport.ClientSocket->connectToHost(QHostAddress::LocalHost, port);
        connected = RunUntil([&] { return transport.tcpOpen(); }, std::chrono::seconds(5));
        // As the interface window does on connect.
        transport.ClientSocket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    }
    bool roundTrip(qint64 &ns) override
    {
        std::copy(std::begin(Request), std::end(Request), d.TxFrame.begin() + 6);
        ++d.TransactionId;
        const Clock::time_point start = Clock::now();
        transport.Daten_Transfer(12);
        const bool arrived = RunUntil([&] { return d.RxCount != 0; });
        ns = Since(start);
        return arrived && d.RxCount == ReplyLength && d.RxFrame[7] == 0x04 && d.RxFrame[8] == 28 &&
               (d.RxFrame[0] << 8 | d.RxFrame[1]) == d.TransactionId;
    }
    Deklarat d;
    Transport transport{d};
    bool connected = false;
};

// The same bytes through a plain QTcpSocket on the same event loop: what the
// loop and the socket cost without the transport.
class BareQtClient : public Client
{
public:
    explicit BareQtClient(quint16 port)
    {
        socket.connectToHost(QHostAddress::LocalHost, port);
        connected =
            RunUntil([&] { return socket.state() == QAbstractSocket::ConnectedState; }, std::chrono::seconds(5));
        socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    }
    bool roundTrip(qint64 &ns) override
    {
        ++transaction;
        const char frame[] = {char(transaction >> 8),
                              char(transaction),
                              0,
                              0,
                              0,
                              6,
                              char(Request[0]),
                              char(Request[1]),
                              char(Request[2]),
                              char(Request[3]),
                              char(Request[4]),
                              char(Request[5])};
        const Clock::time_point start = Clock::now();
        socket.write(frame, sizeof frame);
        const bool arrived = RunUntil([&] { return socket.bytesAvailable() >= ReplyLength; });
        ns = Since(start);
        const QByteArray reply = socket.readAll();
        return arrived && reply.size() == ReplyLength && quint8(reply[7]) == 0x04;
    }
    QTcpSocket socket;
    quint16 transaction = 0;
    bool connected = false;
};

class LibmodbusClient : public Client
{
public:
    explicit LibmodbusClient(quint16 port) : ctx(modbus_new_tcp("127.0.0.1", port))
    {
        connected = ctx && modbus_set_slave(ctx, 8) == 0 && modbus_connect(ctx) == 0;
    }
    ~LibmodbusClient() override
    {
        if (ctx) {
            modbus_close(ctx);
            modbus_free(ctx);
        }
    }
    bool roundTrip(qint64 &ns) override
    {
        uint16_t registers[14] = {};
        const Clock::time_point start = Clock::now();
        const int rc = modbus_read_input_registers(ctx, 0x1000, 14, registers);
        ns = Since(start);
        return rc == 14;
    }
    modbus_t *ctx;
    bool connected = false;
};

} // namespace

RoundTripFigures MeasureRoundTrips(quint16 port, int reads)
{
    RoundTripFigures figures;
    figures.reads = reads;
    auto transport = std::make_unique<TransportClient>(port);
    auto bare = std::make_unique<BareQtClient>(port);
    auto libmodbus = std::make_unique<LibmodbusClient>(port);
    if (!transport->connected || !bare->connected || !libmodbus->connected) {
        figures.error = QStringLiteral("could not connect to the simulator on port %1").arg(port);
        return figures;
    }
    Client *clients[] = {transport.get(), bare.get(), libmodbus.get()};
    // Warm up, then alternate in blocks so that drift in the machine's load
    // spreads over all three alike.
    const int warmUp = std::min(200, reads / 10 + 1);
    const int block = std::max(1, std::min(500, reads / 10));
    qint64 ns = 0;
    for (Client *client : clients)
        for (int i = 0; i < warmUp; ++i)
            figures.failures += client->roundTrip(ns) ? 0 : 1;
    for (int done = 0; done < reads; done += block) {
        const int n = std::min(block, reads - done);
        for (Client *client : clients)
            for (int i = 0; i < n; ++i) {
                if (!client->roundTrip(ns))
                    ++figures.failures;
                client->samples.push_back(ns);
            }
    }
    figures.transport = Summarize(transport->samples);
    figures.bareQt = Summarize(bare->samples);
    figures.libmodbus = Summarize(libmodbus->samples);
    return figures;
}
