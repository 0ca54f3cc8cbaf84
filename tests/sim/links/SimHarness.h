#pragma once
// Runs vo3112sim and its counterparts (socat, mbpoll, libmodbus, raw
// sockets) for the link tests. Every process started here is ended here.

#include <modbus/modbus.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace simtest
{

using Bytes = std::vector<uint8_t>;

// The simulator with a pipe on its standard input and output.
class SimProcess
{
public:
    explicit SimProcess(const std::vector<std::string> &args);
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    bool ready() const { return !listening_.empty(); }
    const std::string &listening() const { return listening_; }
    uint16_t port() const; // of the TCP link
    // Sends a command line; returns the answer up to "ok" or "error: ...".
    std::string command(const std::string &line);
    void closeStdin();
    void sendSignal(int signal);
    // Exit code, or nothing if it has not ended within the time.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);

private:
    std::optional<std::string> readLine(std::chrono::milliseconds timeout);

    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::string buffer_;
    std::string listening_;
    std::optional<int> exitCode_;
};

// A socat pty pair: the simulator opens simSide(), the master masterSide().
class PtyPair
{
public:
    PtyPair();
    // The pair in a given folder (made if missing): a pair closed and made
    // again there comes back under the same names, as a replugged adapter.
    explicit PtyPair(const std::string &dir);
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;
    bool ready() const { return ready_; }
    std::string simSide() const { return dir_ + "/sim"; }
    std::string masterSide() const { return dir_ + "/master"; }

private:
    void start();
    std::string dir_;
    pid_t pid_ = -1;
    bool ready_ = false;
};

// libmodbus master, closed and freed on destruction.
class Master
{
public:
    static Master tcp(uint16_t port);
    static Master rtu(const std::string &device, char parity = 'N', int stopBits = 1);
    Master(Master &&other) noexcept : ctx_(other.ctx_), connected_(other.connected_) { other.ctx_ = nullptr; }
    ~Master();
    modbus_t *get() const { return ctx_; }
    bool connected() const { return connected_; }
    void setTimeout(std::chrono::milliseconds timeout);

private:
    explicit Master(modbus_t *ctx);
    modbus_t *ctx_ = nullptr;
    bool connected_ = false;
};

// A plain TCP connection for looking at the bytes themselves.
class RawTcp
{
public:
    explicit RawTcp(uint16_t port);
    ~RawTcp();
    bool connected() const { return fd_ >= 0; }
    bool send(const Bytes &bytes);
    // One read: what arrived within the timeout, empty on timeout, nothing
    // when the peer closed the connection.
    std::optional<Bytes> receiveOnce(std::chrono::milliseconds timeout);
    // Reads until `count` bytes arrived or the time is up.
    Bytes receive(size_t count, std::chrono::milliseconds timeout);

private:
    int fd_ = -1;
};

// Reads whatever arrives on a serial device until it has been quiet for
// `quiet`, at most `total`.
Bytes readSerialUntilQuiet(int fd, std::chrono::milliseconds quiet, std::chrono::milliseconds total);
int openRawSerial(const std::string &device);

// Runs mbpoll with the arguments; its output and exit code.
struct MbpollResult {
    int exitCode = -1;
    std::string output;
    std::map<int, long> values; // reference -> value, from lines "[ref]: value"
};
MbpollResult runMbpoll(const std::vector<std::string> &args);

// The frame with its RTU CRC appended.
Bytes withCrc(Bytes frame);

} // namespace simtest
