#include "SimHarness.h"

#include "Crc.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <regex>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace simtest
{

using namespace std::chrono;
using Clock = steady_clock;

namespace
{

pid_t spawn(const std::string &program, const std::vector<std::string> &args, int in, int out, int err)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (in >= 0)
        posix_spawn_file_actions_adddup2(&actions, in, 0);
    if (out >= 0)
        posix_spawn_file_actions_adddup2(&actions, out, 1);
    if (err >= 0)
        posix_spawn_file_actions_adddup2(&actions, err, 2);
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

std::optional<int> waitPid(pid_t pid, milliseconds timeout)
{
    const auto end = Clock::now() + timeout;
    do {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(milliseconds(10));
    } while (Clock::now() < end);
    return std::nullopt;
}

// Ends a child of this test: politely first, then for sure.
void endChild(pid_t pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    if (!waitPid(pid, seconds(3))) {
        kill(pid, SIGKILL);
        waitPid(pid, seconds(3));
    }
}

} // namespace

SimProcess::SimProcess(const std::vector<std::string> &args)
{
    int toSim[2], fromSim[2];
    if (pipe2(toSim, O_CLOEXEC) != 0 || pipe2(fromSim, O_CLOEXEC) != 0)
        return;
    pid_ = spawn(VO_SIM_BINARY, args, toSim[0], fromSim[1], -1);
    close(toSim[0]);
    close(fromSim[1]);
    in_ = toSim[1];
    out_ = fromSim[0];
    if (pid_ < 0)
        return;
    if (auto line = readLine(seconds(10)); line && line->rfind("listening on", 0) == 0)
        listening_ = *line;
}

SimProcess::~SimProcess()
{
    closeStdin();
    if (pid_ > 0 && !exitCode_ && !waitForExit(seconds(3)))
        endChild(pid_);
    if (out_ >= 0)
        close(out_);
}

uint16_t SimProcess::port() const
{
    std::smatch m;
    static const std::regex tcp(R"(tcp [^ ]+:(\d+))");
    return std::regex_search(listening_, m, tcp) ? static_cast<uint16_t>(std::stoi(m[1])) : 0;
}

std::optional<std::string> SimProcess::readLine(milliseconds timeout)
{
    const auto end = Clock::now() + timeout;
    while (true) {
        const size_t newline = buffer_.find('\n');
        if (newline != std::string::npos) {
            std::string line = buffer_.substr(0, newline);
            buffer_.erase(0, newline + 1);
            return line;
        }
        const auto left = duration_cast<milliseconds>(end - Clock::now()).count();
        if (left <= 0)
            return std::nullopt;
        pollfd p{out_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0)
            continue;
        char buf[512];
        const ssize_t n = read(out_, buf, sizeof buf);
        if (n <= 0)
            return std::nullopt;
        buffer_.append(buf, static_cast<size_t>(n));
    }
}

std::string SimProcess::command(const std::string &line)
{
    const std::string text = line + "\n";
    if (write(in_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        return "";
    std::string answer;
    while (auto l = readLine(seconds(5))) {
        answer += *l + "\n";
        if (*l == "ok" || l->rfind("error: ", 0) == 0)
            break;
    }
    return answer;
}

void SimProcess::closeStdin()
{
    if (in_ >= 0)
        close(in_);
    in_ = -1;
}

void SimProcess::sendSignal(int signal)
{
    if (pid_ > 0)
        kill(pid_, signal);
}

std::optional<int> SimProcess::waitForExit(milliseconds timeout)
{
    if (!exitCode_ && pid_ > 0)
        exitCode_ = waitPid(pid_, timeout);
    return exitCode_;
}

PtyPair::PtyPair()
{
    char tmpl[] = "/tmp/vo3112sim-pty-XXXXXX";
    if (!mkdtemp(tmpl))
        return;
    dir_ = tmpl;
    start();
}

PtyPair::PtyPair(const std::string &dir) : dir_(dir)
{
    if (mkdir(dir_.c_str(), 0700) != 0 && errno != EEXIST) {
        dir_.clear();
        return;
    }
    start();
}

void PtyPair::start()
{
    const int devnull = open("/dev/null", O_WRONLY | O_CLOEXEC);
    pid_ = spawn(VO_SOCAT, {"pty,raw,echo=0,link=" + simSide(), "pty,raw,echo=0,link=" + masterSide()}, -1, devnull,
                 devnull);
    close(devnull);
    const auto end = Clock::now() + seconds(10);
    struct stat st;
    while (pid_ > 0 && Clock::now() < end) {
        if (stat(simSide().c_str(), &st) == 0 && stat(masterSide().c_str(), &st) == 0) {
            ready_ = true;
            break;
        }
        std::this_thread::sleep_for(milliseconds(10));
    }
}

PtyPair::~PtyPair()
{
    endChild(pid_);
    if (!dir_.empty()) {
        unlink(simSide().c_str());
        unlink(masterSide().c_str());
        rmdir(dir_.c_str());
    }
}

Master::Master(modbus_t *ctx) : ctx_(ctx)
{
    if (!ctx_)
        return;
    modbus_set_slave(ctx_, 8);
    connected_ = modbus_connect(ctx_) == 0;
    setTimeout(milliseconds(1000));
}

Master Master::tcp(uint16_t port)
{
    return Master(modbus_new_tcp("127.0.0.1", port));
}

Master Master::rtu(const std::string &device, char parity, int stopBits)
{
    return Master(modbus_new_rtu(device.c_str(), 38400, parity, 8, stopBits));
}

Master::~Master()
{
    if (!ctx_)
        return;
    modbus_close(ctx_);
    modbus_free(ctx_);
}

void Master::setTimeout(milliseconds timeout)
{
    const auto us = duration_cast<microseconds>(timeout).count();
    modbus_set_response_timeout(ctx_, static_cast<uint32_t>(us / 1000000), static_cast<uint32_t>(us % 1000000));
}

RawTcp::RawTcp(uint16_t port)
{
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd_, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        close(fd_);
        fd_ = -1;
        return;
    }
    const int yes = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
}

RawTcp::~RawTcp()
{
    if (fd_ >= 0)
        close(fd_);
}

bool RawTcp::send(const Bytes &bytes)
{
    return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

std::optional<Bytes> RawTcp::receiveOnce(milliseconds timeout)
{
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(timeout.count())) <= 0)
        return Bytes{};
    uint8_t buf[600];
    const ssize_t n = recv(fd_, buf, sizeof buf, 0);
    if (n <= 0)
        return std::nullopt;
    return Bytes(buf, buf + n);
}

Bytes RawTcp::receive(size_t count, milliseconds timeout)
{
    Bytes all;
    const auto end = Clock::now() + timeout;
    while (all.size() < count && Clock::now() < end) {
        const auto part = receiveOnce(duration_cast<milliseconds>(end - Clock::now()));
        if (!part)
            break;
        all.insert(all.end(), part->begin(), part->end());
    }
    return all;
}

int openRawSerial(const std::string &device)
{
    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    cfsetspeed(&tio, B38400);
    tcsetattr(fd, TCSANOW, &tio);
    return fd;
}

Bytes readSerialUntilQuiet(int fd, milliseconds quiet, milliseconds total)
{
    Bytes all;
    const auto end = Clock::now() + total;
    while (Clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(quiet.count())) <= 0) {
            if (!all.empty())
                break;
            continue;
        }
        uint8_t buf[512];
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n > 0)
            all.insert(all.end(), buf, buf + n);
    }
    return all;
}

MbpollResult runMbpoll(const std::vector<std::string> &args)
{
    MbpollResult result;
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return result;
    const int devnull = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const pid_t pid = spawn(VO_MBPOLL, args, devnull, out[1], out[1]);
    close(devnull);
    close(out[1]);
    char buf[1024];
    ssize_t n;
    while ((n = read(out[0], buf, sizeof buf)) > 0)
        result.output.append(buf, static_cast<size_t>(n));
    close(out[0]);
    if (pid > 0) {
        auto code = waitPid(pid, seconds(20));
        if (!code)
            endChild(pid);
        result.exitCode = code.value_or(-1);
    }
    static const std::regex line(R"(\[(\d+)\]:\s+(-?\d+))");
    for (auto it = std::sregex_iterator(result.output.begin(), result.output.end(), line); it != std::sregex_iterator();
         ++it)
        result.values[std::stoi((*it)[1])] = std::stol((*it)[2]);
    return result;
}

Bytes withCrc(Bytes frame)
{
    return sim::withCrc(std::move(frame));
}

} // namespace simtest
