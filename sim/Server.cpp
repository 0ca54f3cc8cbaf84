#include "Server.h"

#include "SerialPort.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace sim
{

namespace
{

void setNonBlocking(int fd)
{
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

// Writes everything, waiting while a non-blocking descriptor is full.
bool writeAll(int fd, const uint8_t *data, size_t size, bool socket)
{
    while (size > 0) {
        const ssize_t n = socket ? send(fd, data, size, MSG_NOSIGNAL) : write(fd, data, size);
        if (n > 0) {
            data += n;
            size -= static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{fd, POLLOUT, 0};
            poll(&p, 1, 100);
            continue;
        }
        return false;
    }
    return true;
}

constexpr int NoiseGapMinMs = 5;

} // namespace

Server::Server(const Options &options, Station &station, Faults &faults)
    : options_(options), station_(station), faults_(faults), commands_(station, faults), random_(options.seed)
{
}

Server::~Server()
{
    for (auto &[id, c] : clients_)
        close(c.fd);
    if (listenFd_ >= 0)
        close(listenFd_);
    if (serialFd_ >= 0)
        close(serialFd_);
    if (signalFd_ >= 0)
        close(signalFd_);
}

double Server::seconds() const
{
    return std::chrono::duration<double>(Clock::now() - start_).count();
}

bool Server::open(std::string &error)
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigprocmask(SIG_BLOCK, &set, nullptr);
    signalFd_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);

    if (options_.tcpAddress) {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_PASSIVE;
        addrinfo *found = nullptr;
        const std::string port = std::to_string(options_.tcpPort);
        if (getaddrinfo(options_.tcpAddress->c_str(), port.c_str(), &hints, &found) != 0 || !found) {
            error = "cannot resolve " + *options_.tcpAddress;
            return false;
        }
        listenFd_ = socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int yes = 1;
        setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        const bool bound =
            listenFd_ >= 0 && bind(listenFd_, found->ai_addr, found->ai_addrlen) == 0 && listen(listenFd_, 8) == 0;
        freeaddrinfo(found);
        if (!bound) {
            error = "cannot listen on " + *options_.tcpAddress + ":" + port + ": " + std::strerror(errno);
            return false;
        }
        setNonBlocking(listenFd_);
        sockaddr_storage addr{};
        socklen_t len = sizeof addr;
        getsockname(listenFd_, reinterpret_cast<sockaddr *>(&addr), &len);
        boundPort_ = ntohs(addr.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6 *>(&addr)->sin6_port
                                                      : reinterpret_cast<sockaddr_in *>(&addr)->sin_port);
    }
    if (options_.rtu) {
        serialFd_ = openSerialPort(*options_.rtu, error);
        if (serialFd_ < 0)
            return false;
        silenceMs_ = rtuSilenceMs(options_.rtu->baud);
    }
    if (options_.readStdin) {
        stdinOpen_ = true;
        setNonBlocking(STDIN_FILENO);
    }
    return true;
}

std::string Server::listeningText() const
{
    std::string text = "listening on";
    if (listenFd_ >= 0)
        text += " tcp " + *options_.tcpAddress + ":" + std::to_string(boundPort_);
    if (serialFd_ >= 0) {
        if (listenFd_ >= 0)
            text += ",";
        text += " rtu " + options_.rtu->device + " " + std::to_string(options_.rtu->baud) + " " +
                frameName(options_.rtu->frame);
    }
    return text + " unit " + std::to_string(options_.unit);
}

bool Server::restarting() const
{
    return restartEnds_.has_value();
}

int Server::pollTimeoutMs() const
{
    std::optional<Clock::time_point> next;
    auto consider = [&next](Clock::time_point t) {
        if (!next || t < *next)
            next = t;
    };
    for (const Pending &p : pending_)
        consider(p.due);
    if (restartEnds_)
        consider(*restartEnds_);
    if (serialFd_ >= 0 && framer_.midFrame())
        consider(lastSerialByte_ + std::chrono::milliseconds(silenceMs_));
    if (!next)
        return -1;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(*next - Clock::now()).count();
    return static_cast<int>(std::max<long long>(0, ms));
}

int Server::run()
{
    std::printf("%s\n", listeningText().c_str());
    std::fflush(stdout);
    while (!stop_) {
        std::vector<pollfd> fds;
        fds.push_back({signalFd_, POLLIN, 0});
        fds.push_back({stdinOpen_ ? STDIN_FILENO : -1, POLLIN, 0});
        fds.push_back({listenFd_, POLLIN, 0});
        fds.push_back({serialFd_, POLLIN, 0});
        std::vector<int> ids;
        for (const auto &[id, c] : clients_) {
            fds.push_back({c.fd, POLLIN, 0});
            ids.push_back(id);
        }
        const int n = poll(fds.data(), fds.size(), pollTimeoutMs());
        if (n < 0 && errno != EINTR) {
            std::perror("vo3112sim: poll");
            return 1;
        }
        const auto now = Clock::now();
        if (restartEnds_ && now >= *restartEnds_) {
            restartEnds_.reset();
            std::fprintf(stderr, "vo3112sim: back after restart\n");
        }
        if (fds[0].revents & POLLIN) {
            signalfd_siginfo info;
            while (read(signalFd_, &info, sizeof info) == sizeof info)
                stop_ = true;
        }
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR))
            readStdin();
        if (fds[2].revents & POLLIN)
            acceptClient();
        if (fds[3].revents & POLLIN)
            readSerial();
        for (size_t i = 0; i < ids.size(); ++i)
            if (fds[4 + i].revents & (POLLIN | POLLHUP | POLLERR))
                readClient(ids[i]);
        if (serialFd_ >= 0 && framer_.midFrame() &&
            Clock::now() - lastSerialByte_ >= std::chrono::milliseconds(silenceMs_)) {
            framer_.silence();
            while (framer_.hasFrame())
                handleFrame(Link::Rtu, 0, framer_.takeFrame());
        }
        sendDue();
    }
    return 0;
}

void Server::readStdin()
{
    char buf[1024];
    const ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (n <= 0) {
        stdinOpen_ = false;
        stop_ = true;
        return;
    }
    stdinLine_.append(buf, static_cast<size_t>(n));
    size_t newline;
    while ((newline = stdinLine_.find('\n')) != std::string::npos) {
        const std::string line = stdinLine_.substr(0, newline);
        stdinLine_.erase(0, newline + 1);
        std::fputs(commands_.execute(line, seconds()).c_str(), stdout);
        std::fflush(stdout);
    }
}

void Server::acceptClient()
{
    const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0)
        return;
    // A restarting coupler has no server to talk to.
    if (restarting()) {
        close(fd);
        return;
    }
    const int yes = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    clients_[nextClientId_++] = Client{fd, {}};
}

void Server::closeClient(int id)
{
    auto it = clients_.find(id);
    if (it == clients_.end())
        return;
    close(it->second.fd);
    clients_.erase(it);
}

void Server::readClient(int id)
{
    uint8_t buf[1024];
    const ssize_t n = recv(clients_.at(id).fd, buf, sizeof buf, 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (n <= 0) {
        closeClient(id);
        return;
    }
    std::vector<uint8_t> &b = clients_.at(id).buffer;
    b.insert(b.end(), buf, buf + n);
    // Frames are cut by the MBAP length; a header that cannot be one ends the
    // connection, since nothing after it can be trusted.
    while (b.size() >= 7) {
        const int protocol = (b[2] << 8) | b[3];
        const int length = (b[4] << 8) | b[5];
        if (protocol != 0 || length < 2 || length > 254) {
            closeClient(id);
            return;
        }
        const size_t total = 6 + static_cast<size_t>(length);
        if (b.size() < total)
            return;
        const std::vector<uint8_t> frame(b.begin(), b.begin() + total);
        b.erase(b.begin(), b.begin() + total);
        handleFrame(Link::Tcp, id, frame);
        if (!clients_.count(id))
            return; // a restart closed it
    }
}

void Server::readSerial()
{
    uint8_t buf[512];
    ssize_t n;
    while ((n = read(serialFd_, buf, sizeof buf)) > 0) {
        lastSerialByte_ = Clock::now();
        if (restarting())
            continue;
        framer_.feed(std::span<const uint8_t>(buf, static_cast<size_t>(n)));
        while (framer_.hasFrame())
            handleFrame(Link::Rtu, 0, framer_.takeFrame());
    }
}

void Server::handleFrame(Link link, int clientId, const std::vector<uint8_t> &adu)
{
    if (restarting())
        return;
    const size_t unitAt = link == Link::Tcp ? 6 : 0;
    const uint8_t unit = adu[unitAt];
    const bool broadcast = link == Link::Rtu && unit == 0;
    if (unit != options_.unit && !broadcast)
        return;
    if (faults_.dropPercent > 0 && static_cast<int>(random_() % 100) < faults_.dropPercent)
        return;
    const bool randomException = chance(random_, faults_.exceptionPercent);

    const std::span<const uint8_t> pdu = link == Link::Tcp ? std::span<const uint8_t>(adu).subspan(7)
                                                           : std::span<const uint8_t>(adu).subspan(1, adu.size() - 3);
    const Outcome outcome = randomException ? Outcome::exceptionReply(static_cast<uint8_t>(1 + random_() % 11))
                                            : handleRequest(station_, link, pdu, seconds(), faults_);
    if (outcome.kind == Outcome::Kind::Restart) {
        beginRestart();
        return;
    }
    if (broadcast)
        return;
    std::vector<uint8_t> reply = (link == Link::Tcp ? tcpEncoder_ : rtuEncoder_).encode(adu, outcome);
    if (reply.empty())
        return;
    Faults thisReply = faults_;
    thisReply.badCrc = faults_.badCrc && chance(random_, faults_.badCrcPercent);
    corruptReply(link, thisReply, reply);
    schedule(link, clientId, std::move(reply));
}

void Server::schedule(Link link, int clientId, std::vector<uint8_t> reply)
{
    int delayMs = faults_.delayMs;
    if (faults_.jitterMs > 0)
        delayMs += static_cast<int>(random_() % (faults_.jitterMs + 1u));
    auto due = Clock::now() + std::chrono::milliseconds(delayMs);
    if (link == Link::Rtu && faults_.noiseBytes > 0) {
        std::vector<uint8_t> noise(faults_.noiseBytes);
        for (uint8_t &b : noise)
            b = static_cast<uint8_t>(random_() & 0xFF);
        const auto gap = std::chrono::milliseconds(std::max(silenceMs_, NoiseGapMinMs));
        // Silence on both sides, so that the noise is a frame of its own.
        pending_.push_back({due + gap, link, clientId, std::move(noise)});
        due += 2 * gap;
    }
    if (link == Link::Tcp && faults_.resetMidReply && reply.size() > 1) {
        reply.resize(reply.size() / 2);
        pending_.push_back({due, link, clientId, std::move(reply), true});
        return;
    }
    if (link == Link::Tcp && faults_.splitMs > 0 && reply.size() > 1 && chance(random_, faults_.splitPercent)) {
        const auto half = static_cast<std::ptrdiff_t>(reply.size() / 2);
        pending_.push_back({due, link, clientId, {reply.begin(), reply.begin() + half}});
        pending_.push_back(
            {due + std::chrono::milliseconds(faults_.splitMs), link, clientId, {reply.begin() + half, reply.end()}});
        return;
    }
    pending_.push_back({due, link, clientId, std::move(reply)});
}

void Server::sendDue()
{
    const auto now = Clock::now();
    // Earliest first, and in the order scheduled among equals.
    std::stable_sort(pending_.begin(), pending_.end(),
                     [](const Pending &a, const Pending &b) { return a.due < b.due; });
    size_t done = 0;
    while (done < pending_.size() && pending_[done].due <= now)
        sendNow(pending_[done++]);
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(done));
}

void Server::sendNow(const Pending &p)
{
    if (p.link == Link::Rtu) {
        writeAll(serialFd_, p.bytes.data(), p.bytes.size(), false);
        return;
    }
    auto it = clients_.find(p.clientId);
    if (it == clients_.end())
        return;
    if (!writeAll(it->second.fd, p.bytes.data(), p.bytes.size(), true)) {
        closeClient(p.clientId);
        return;
    }
    if (p.resetAfter) {
        // Closing with a zero linger time sends a reset instead of a FIN.
        const linger hard{1, 0};
        setsockopt(it->second.fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        closeClient(p.clientId);
    }
}

void Server::beginRestart()
{
    std::fprintf(stderr, "vo3112sim: restart, away for %d ms\n", options_.restartMs);
    pending_.clear();
    while (!clients_.empty())
        closeClient(clients_.begin()->first);
    framer_ = RtuFramer{};
    station_.restart();
    restartEnds_ = Clock::now() + std::chrono::milliseconds(options_.restartMs);
}

} // namespace sim
