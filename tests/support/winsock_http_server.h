#pragma once

// A loopback HTTP server on port 0 for the Windows tests: one thread per connection, one
// request per connection, the answer picked by a handler from the request path. The
// transfer tests reach it through tests/support/loopback_http_server.h.

#include <winsock2.h>
#include <ws2tcpip.h>

#include <array>
#include <chrono>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/gate.h"
#include "tests/support/loopback_http_record.h"

namespace stratocue::tests {

struct HttpAnswer {
    int status = 200;
    std::string body;
    std::string extraHeaders;  // each line ending in CR LF
    // Sends `body` again and again, without a length, until the client goes away (or a
    // give-up size is out).
    bool endless = false;
};

// Where an endless answer gives up should the client never go away.
inline constexpr std::size_t kEndlessAnswerGiveUpBytes = 64 * 1024 * 1024;

// Server handlers wait at a gate until the test, or the tear-down, opens it.
using Gate = test_support::Gate;

// Winsock for the lifetime of the object.
class WinsockSession {
public:
    WinsockSession() {
        WSADATA data{};
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("WSAStartup failed");
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
    ~WinsockSession() { WSACleanup(); }
};

// A listening loopback socket on a port of the system's choice.
inline SOCKET listenOnLoopback(int& port) {
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET) throw std::runtime_error("socket failed");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0 || listen(listener, 16) != 0) {
        closesocket(listener);
        throw std::runtime_error("could not listen on the loopback interface");
    }
    port = ntohs(address.sin_port);
    return listener;
}

class WinsockHttpServer {
public:
    using Handler = std::function<HttpAnswer(const std::string& path)>;

    // Notes what it serves in `record`, or in a record of its own.
    explicit WinsockHttpServer(Handler handler, test_support::LoopbackRecord* record = nullptr)
        : handler_(std::move(handler)), record_(record != nullptr ? record : &ownRecord_) {
        listener_ = listenOnLoopback(port_);
        acceptor_ = std::thread([this] { acceptConnections(); });
    }
    WinsockHttpServer(const WinsockHttpServer&) = delete;
    WinsockHttpServer& operator=(const WinsockHttpServer&) = delete;
    ~WinsockHttpServer() {
        closesocket(listener_);  // ends the accept loop
        acceptor_.join();
        for (std::thread& connection : connections_) connection.join();
    }

    [[nodiscard]] int port() const { return port_; }
    [[nodiscard]] std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    // The User-Agent header of the last request.
    [[nodiscard]] std::string lastUserAgent() const { return record_->lastUserAgent(); }

private:
    void acceptConnections() {
        for (;;) {
            const SOCKET connection = accept(listener_, nullptr, nullptr);
            if (connection == INVALID_SOCKET) return;
            connections_.emplace_back([this, connection] { serve(connection); });
        }
    }

    void serve(SOCKET connection) {
        std::string request;
        std::array<char, 4096> buffer{};
        while (request.find("\r\n\r\n") == std::string::npos) {
            const int received = recv(connection, buffer.data(), static_cast<int>(buffer.size()), 0);
            if (received <= 0) break;
            request.append(buffer.data(), static_cast<std::size_t>(received));
        }
        const std::size_t pathStart = request.find(' ') + 1;
        const std::string path = request.substr(pathStart, request.find(' ', pathStart) - pathStart);
        record_->noteUserAgent(headerValue(request, "User-Agent"));
        const HttpAnswer answer = handler_(path);
        const std::string length =
            answer.endless ? "" : "Content-Length: " + std::to_string(answer.body.size()) + "\r\n";
        const std::string head = "HTTP/1.1 " + std::to_string(answer.status) + " Answer\r\n" + length +
                                 "Connection: close\r\n" + answer.extraHeaders + "\r\n";
        if (!answer.endless) {
            sendAll(connection, head + answer.body);
        } else if (sendAll(connection, head)) {
            while (record_->endlessBytesSent() < kEndlessAnswerGiveUpBytes && sendAll(connection, answer.body)) {
                record_->noteEndlessBytes(answer.body.size());
            }
            record_->noteEndlessEnded();
        }
        shutdown(connection, SD_SEND);
        closesocket(connection);
    }

    // False when the client went away.
    static bool sendAll(SOCKET connection, const std::string& bytes) {
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            const int chunk = send(connection, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
            if (chunk <= 0) return false;
            sent += static_cast<std::size_t>(chunk);
        }
        return true;
    }

    static std::string headerValue(const std::string& request, const std::string& name) {
        const std::string key = "\r\n" + name + ": ";
        const std::size_t start = request.find(key);
        if (start == std::string::npos) return {};
        const std::size_t valueStart = start + key.size();
        return request.substr(valueStart, request.find("\r\n", valueStart) - valueStart);
    }

    WinsockSession winsock_;
    Handler handler_;
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::thread acceptor_;
    std::vector<std::thread> connections_;
    test_support::LoopbackRecord ownRecord_;
    test_support::LoopbackRecord* record_;
};

}  // namespace stratocue::tests
