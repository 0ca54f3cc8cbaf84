#pragma once
// A TCP port on the loopback where no coupler answers: nothing listens (the
// connect is refused), or a listener whose backlog is full (the connect's SYN
// is never answered). Port 0 when the port could not be had.
#include <QtGlobal>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

class DeadEndpoint
{
public:
    explicit DeadEndpoint(bool refuse)
    {
        listen_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof a;
        if (bind(listen_, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 ||
            getsockname(listen_, reinterpret_cast<sockaddr *>(&a), &size) != 0)
            return;
        port_ = ntohs(a.sin_port);
        if (refuse) {
            close(listen_);
            listen_ = -1;
            return;
        }
        // A backlog of 0 holds one connection that nobody accepts.
        listen(listen_, 0);
        filler_ = socket(AF_INET, SOCK_STREAM, 0);
        connect(filler_, reinterpret_cast<sockaddr *>(&a), sizeof a);
    }
    ~DeadEndpoint()
    {
        for (int fd : {listen_, filler_})
            if (fd >= 0)
                close(fd);
    }
    DeadEndpoint(const DeadEndpoint &) = delete;
    DeadEndpoint &operator=(const DeadEndpoint &) = delete;

    quint16 port() const { return port_; }

private:
    int listen_ = -1;
    int filler_ = -1;
    quint16 port_ = 0;
};
