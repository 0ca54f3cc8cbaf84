#pragma once

#include "Commands.h"
#include "Faults.h"
#include "Options.h"
#include "ReplyEncoder.h"
#include "RtuFramer.h"
#include "Station.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace sim
{

// The simulator's event loop: TCP clients, the serial line, standard input,
// signals, and replies that faults hold back for later.
class Server
{
public:
    Server(const Options &options, Station &station, Faults &faults);
    ~Server();
    Server(const Server &) = delete;
    Server &operator=(const Server &) = delete;

    // Opens the links; false with the reason in `error`.
    bool open(std::string &error);
    // The "listening on ..." text, valid after open().
    std::string listeningText() const;
    // Runs until a signal or the end of standard input; returns the exit code.
    int run();

private:
    using Clock = std::chrono::steady_clock;
    struct Client {
        int fd;
        std::vector<uint8_t> buffer;
    };
    struct Pending {
        Clock::time_point due;
        Link link;
        int clientId; // TCP only
        std::vector<uint8_t> bytes;
        bool resetAfter = false; // TCP: the connection is reset once these are out
    };

    double seconds() const;
    int pollTimeoutMs() const;
    void acceptClient();
    void readClient(int id);
    void closeClient(int id);
    void readSerial();
    void readStdin();
    void handleFrame(Link link, int clientId, const std::vector<uint8_t> &adu);
    void schedule(Link link, int clientId, std::vector<uint8_t> reply);
    void sendDue();
    void sendNow(const Pending &p);
    void beginRestart();
    bool restarting() const;

    const Options &options_;
    Station &station_;
    Faults &faults_;
    CommandInterpreter commands_;
    ReplyEncoder tcpEncoder_{Link::Tcp};
    ReplyEncoder rtuEncoder_{Link::Rtu};
    std::mt19937 random_;
    Clock::time_point start_ = Clock::now();

    int signalFd_ = -1;
    int listenFd_ = -1;
    uint16_t boundPort_ = 0;
    std::map<int, Client> clients_;
    int nextClientId_ = 1;

    int serialFd_ = -1;
    RtuFramer framer_;
    Clock::time_point lastSerialByte_;
    int silenceMs_ = 2;

    bool stdinOpen_ = false;
    std::string stdinLine_;
    bool stop_ = false;

    std::vector<Pending> pending_;
    std::optional<Clock::time_point> restartEnds_;
};

} // namespace sim
