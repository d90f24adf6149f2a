#pragma once

// A TCP proxy on the loopback interface that holds every chunk of data 1 ms (or as set) before
// passing it on, in each direction: a database server on this machine then answers as one across
// a network link. Each direction of each connection has a reader, which stamps what it receives,
// and a writer, which sends it once its time has come, so that chunks overlap as on a real link.

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

class 延迟代理 {
  public:
    using 时钟 = std::chrono::steady_clock;

    延迟代理(int targetPort, std::chrono::microseconds delay) : 目标(targetPort), 延迟(delay) {
        监听 = ::socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        ::setsockopt(监听, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in a = 地址(0);
        ::bind(监听, reinterpret_cast<sockaddr *>(&a), sizeof a);
        ::listen(监听, 64);
        socklen_t len = sizeof a;
        ::getsockname(监听, reinterpret_cast<sockaddr *>(&a), &len);
        端口 = ntohs(a.sin_port);
        std::thread([this] { 接受(); }).detach();
    }
    int 端口号() const { return 端口; }

  private:
    struct 块 {
        时钟::time_point 到时;
        std::string 数据;
    };
    struct 方向 {
        std::mutex m;
        std::condition_variable cv;
        std::deque<块> 队列;
        bool 结束 = false;
    };

    static sockaddr_in 地址(int port) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return a;
    }

    void 接受() {
        for (;;) {
            const int client = ::accept(监听, nullptr, nullptr);
            if (client < 0)
                return;
            const int server = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in a = 地址(目标);
            if (::connect(server, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
                ::close(client);
                ::close(server);
                continue;
            }
            int one = 1;
            ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            ::setsockopt(server, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            转发(client, server);
            转发(server, client);
        }
    }

    void 转发(int from, int to) {
        auto d = std::make_shared<方向>();
        const auto delay = 延迟;
        std::thread([d, from, delay] {
            std::vector<char> buf(65536);
            for (;;) {
                const ssize_t n = ::recv(from, buf.data(), buf.size(), 0);
                std::lock_guard lock(d->m);
                if (n <= 0) {
                    d->结束 = true;
                    d->cv.notify_one();
                    return;
                }
                d->队列.push_back({时钟::now() + delay, std::string(buf.data(), size_t(n))});
                d->cv.notify_one();
            }
        }).detach();
        std::thread([d, from, to] {
            for (;;) {
                std::unique_lock lock(d->m);
                d->cv.wait(lock, [&] { return d->结束 || !d->队列.empty(); });
                if (d->队列.empty()) {
                    ::shutdown(to, SHUT_WR);
                    return;
                }
                块 c = std::move(d->队列.front());
                d->队列.pop_front();
                lock.unlock();
                std::this_thread::sleep_until(c.到时);
                for (size_t sent = 0; sent < c.数据.size();) {
                    const ssize_t n =
                        ::send(to, c.数据.data() + sent, c.数据.size() - sent, MSG_NOSIGNAL);
                    if (n <= 0)
                        break;
                    sent += size_t(n);
                }
            }
            (void)from;
        }).detach();
    }

    int 目标;
    std::chrono::microseconds 延迟;
    int 监听 = -1;
    int 端口 = 0;
};
