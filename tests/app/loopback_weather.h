#pragma once

#include <httplib.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace stratocue::app::testing {

// A weather server on a free port of 127.0.0.1 that answers each request target (path and
// query as sent) from a table, 404 for any other, and records every target and User-Agent.
class LoopbackWeather {
public:
    struct Answer {
        int status = 200;
        std::string body;
    };

    LoopbackWeather() {
        server_.Get(R"(.*)", [this](const httplib::Request& request, httplib::Response& response) {
            const std::lock_guard lock(mutex_);
            targets_.push_back(request.target);
            userAgents_.push_back(request.get_header_value("User-Agent"));
            const auto answer = answers_.find(request.target);
            if (answer == answers_.end()) {
                response.status = 404;
                response.set_content("<html><body>Not Found</body></html>", "text/html");
                return;
            }
            response.status = answer->second.status;
            if (!answer->second.body.empty()) response.set_content(answer->second.body, "text/plain");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        listener_ = std::thread([this] {
            server_.listen_after_bind();
            listenEnded_ = true;
        });
        while (!server_.is_running() && !listenEnded_) std::this_thread::yield();
    }
    LoopbackWeather(const LoopbackWeather&) = delete;
    LoopbackWeather& operator=(const LoopbackWeather&) = delete;
    ~LoopbackWeather() {
        server_.stop();
        if (listener_.joinable()) listener_.join();
    }

    [[nodiscard]] bool running() const { return port_ > 0 && server_.is_running(); }
    // "http://127.0.0.1:<port>", without a trailing "/".
    [[nodiscard]] std::string base() const { return "http://127.0.0.1:" + std::to_string(port_); }

    void answer(const std::string& target, Answer answer) {
        const std::lock_guard lock(mutex_);
        answers_[target] = std::move(answer);
    }
    [[nodiscard]] std::vector<std::string> targets() const {
        const std::lock_guard lock(mutex_);
        return targets_;
    }
    [[nodiscard]] std::vector<std::string> userAgents() const {
        const std::lock_guard lock(mutex_);
        return userAgents_;
    }
    void forgetRequests() {
        const std::lock_guard lock(mutex_);
        targets_.clear();
        userAgents_.clear();
    }

private:
    mutable std::mutex mutex_;
    std::map<std::string, Answer> answers_;
    std::vector<std::string> targets_;
    std::vector<std::string> userAgents_;
    httplib::Server server_;
    std::thread listener_;
    std::atomic<bool> listenEnded_ = false;
    int port_ = 0;
};

}  // namespace stratocue::app::testing
