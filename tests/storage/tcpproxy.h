// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_TESTS_TCPPROXY_H
#define TARVELO_TESTS_TCPPROXY_H

#include <QByteArray>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

// A TCP proxy on 127.0.0.1 in front of a server, in a thread of its own. Frozen, it passes
// nothing on and takes no new connection, as a server stopped with SIGSTOP (or a network that
// went away) behaves; it can also drop a connection right after passing on a statement that
// holds a given text, once the server has answered it: the reply is lost on the way.
class TcpProxy
{
public:
    explicit TcpProxy(int serverPort) : m_iServerPort(serverPort)
    {
        m_listen = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = loopback(0);
        socklen_t length = sizeof address;
        if (bind(m_listen, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
            listen(m_listen, 16) != 0)
            return;
        m_iPort = ntohs(address.sin_port);
        m_thread = std::thread([this]() { loop(); });
    }
    ~TcpProxy()
    {
        m_bStop = true;
        if (m_thread.joinable())
            m_thread.join();
        for (const Link& link : m_links) {
            close(link.client);
            close(link.server);
        }
        close(m_listen);
    }
    TcpProxy(const TcpProxy&) = delete;
    TcpProxy& operator=(const TcpProxy&) = delete;

    int port() const { return m_iPort; }
    void setFrozen(bool frozen) { m_bFrozen = frozen; }
    void dropAfter(const QByteArray& text)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_dropAfter = text;
    }

private:
    struct Link {
        int client;
        int server;
    };

    static sockaddr_in loopback(int port)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(uint16_t(port));
        return address;
    }

    void loop()
    {
        while (!m_bStop) {
            if (m_bFrozen) {
                usleep(20000);
                continue;
            }
            std::vector<pollfd> fds{{m_listen, POLLIN, 0}};
            for (const Link& link : m_links) {
                fds.push_back({link.client, POLLIN, 0});
                fds.push_back({link.server, POLLIN, 0});
            }
            if (poll(fds.data(), fds.size(), 20) <= 0)
                continue;
            std::vector<Link> kept;
            for (size_t i = 0; i < m_links.size(); ++i) {
                const Link link = m_links[i];
                const bool fromClient = fds[1 + 2 * i].revents != 0;
                const bool fromServer = fds[2 + 2 * i].revents != 0;
                if ((!fromClient || pass(link.client, link.server, true)) &&
                    (!fromServer || pass(link.server, link.client, false))) {
                    kept.push_back(link);
                } else {
                    close(link.client);
                    close(link.server);
                }
            }
            m_links = kept;
            if (fds[0].revents & POLLIN)
                accept();
        }
    }

    void accept()
    {
        const int client = ::accept(m_listen, nullptr, nullptr);
        const int server = socket(AF_INET, SOCK_STREAM, 0);
        const sockaddr_in address = loopback(m_iServerPort);
        if (client >= 0 && server >= 0 &&
            connect(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            m_links.push_back({client, server});
            return;
        }
        close(client);
        close(server);
    }

    // Passes what is waiting on `from`; false when the link is to be closed.
    bool pass(int from, int to, bool fromClient)
    {
        char buffer[65536];
        const ssize_t n = read(from, buffer, sizeof buffer);
        if (n <= 0 || write(to, buffer, size_t(n)) != n)
            return false;
        QByteArray drop;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            drop = m_dropAfter;
        }
        if (!fromClient || drop.isEmpty() || !QByteArray(buffer, int(n)).contains(drop))
            return true;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_dropAfter.clear();
        }
        // The server has done the work once it answers; the answer goes nowhere.
        pollfd answer{to, POLLIN, 0};
        if (poll(&answer, 1, 5000) > 0)
            (void)read(to, buffer, sizeof buffer);
        return false;
    }

    int m_iServerPort;
    int m_listen = -1;
    int m_iPort = 0;
    std::vector<Link> m_links; // the proxy thread's own
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bFrozen{false};
    std::mutex m_mutex;
    QByteArray m_dropAfter;
    std::thread m_thread;
};

#endif
