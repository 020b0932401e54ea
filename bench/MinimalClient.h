// The least a poller can do, to set the agent's cost per site against: one non-blocking socket
// per site in one epoll set, the same poll request written every period and its reply read whole,
// nothing decoded, no time-outs. Runs on the calling thread and reports that thread's CPU.
#pragma once

#include "core/link/LinkCodec.h"
#include "core/monitor/RegisterMap.h"
#include "core/monitor/ReplyDecoding.h"

#include <QtGlobal>
#include <arpa/inet.h>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace quma::bench {

struct MinimalRun {
    double cpuSeconds = 0;
    qint64 replies = 0;
};

inline MinimalRun RunMinimalClient(quint16 base, int sites, double period, double seconds) {
    TcpCodec codec;
    const FramedRequest poll =
        codec.frame(Request::readRegisters(kPollFirstRegister, kRegisterCount), 1);
    const int epoll = ::epoll_create1(0);
    std::vector<int> fds;
    std::vector<int> pending(std::size_t(sites), 0);
    for (int i = 0; i < sites; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(quint16(base + i));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            ::close(fd);
            continue;
        }
        ::fcntl(fd, F_SETFL, O_NONBLOCK);
        epoll_event e{};
        e.events = EPOLLIN;
        e.data.u32 = std::uint32_t(fds.size());
        ::epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &e);
        fds.push_back(fd);
    }
    const auto cpu = [] {
        rusage u{};
        getrusage(RUSAGE_THREAD, &u);
        return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
               double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
    };
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto end = start + std::chrono::duration<double>(seconds);
    auto next = start;
    const double cpuStart = cpu();
    MinimalRun run;
    char buffer[4096];
    epoll_event events[256];
    while (Clock::now() < end) {
        if (Clock::now() >= next) {
            for (std::size_t i = 0; i < fds.size(); ++i) {
                if (::write(fds[i], poll.frame.constData(), std::size_t(poll.frame.size())) > 0)
                    pending[i] += poll.replyBytes;
            }
            next +=
                std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(period));
        }
        const auto wait =
            std::chrono::duration_cast<std::chrono::milliseconds>(next - Clock::now());
        const int n = ::epoll_wait(epoll, events, 256, int(std::max<qint64>(0, wait.count())));
        for (int k = 0; k < n; ++k) {
            const std::uint32_t i = events[k].data.u32;
            const ssize_t got = ::read(fds[i], buffer, sizeof buffer);
            if (got <= 0) continue;
            const int rb = poll.replyBytes, before = pending[i];
            pending[i] = std::max(0, pending[i] - int(got));
            run.replies += (before + rb - 1) / rb - (pending[i] + rb - 1) / rb;
        }
    }
    run.cpuSeconds = cpu() - cpuStart;
    for (int fd : fds)
        ::close(fd);
    ::close(epoll);
    return run;
}

} // namespace quma::bench
